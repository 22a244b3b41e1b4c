#pragma once

#include "dialogs.h"

#include <QList>
#include <QStringList>

// Dialogs for tests: each dialog the program shows is recorded and answered
// from a prepared queue. A dialog of another kind than the next prepared
// answer, or one with no answer left, is recorded as unexpected and gets
// Cancel.
class ScriptedDialogs final : public Dialogs {
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Folder };

    struct Shown {
        Kind kind;
        QString text; // message text or prompt; for file dialogs the filter
        QString title;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        QString initial; // default text or initial file name
    };

    ScriptedDialogs& message(Answer answer);
    ScriptedDialogs& input(const QString& answer);
    ScriptedDialogs& openFile(const QString& path);
    ScriptedDialogs& saveFile(const QString& path);
    ScriptedDialogs& fileCancelled(Kind kind);
    ScriptedDialogs& fileFailed(Kind kind);
    ScriptedDialogs& folder(const QString& path);
    // The progress dialog's Cancel counts as pressed from the update that
    // reports `done` images on.
    ScriptedDialogs& cancelProgressAt(int done);

    [[nodiscard]] const QList<Shown>& shown() const { return m_shown; }
    [[nodiscard]] const Shown& last() const { return m_shown.constLast(); }
    // Every progress update as "done/total", and "end" where it was closed.
    [[nodiscard]] const QStringList& progressShown() const { return m_progress; }
    // Empty when every prepared answer was used and nothing unexpected came.
    [[nodiscard]] QString problems() const;
    void reset();

    Answer messageBox(QWidget* owner, const QString& text, const QString& title, Icon icon,
                      Buttons buttons) override;
    QString inputBox(QWidget* owner, const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    FileChoice openFile(QWidget* owner, const QString& title, const QString& filter,
                        const QString& initialFileName) override;
    FileChoice saveFile(QWidget* owner, const QString& title, const QString& filter,
                        const QString& initialFileName) override;
    QString chooseFolder(QWidget* owner, const QString& title) override;
    bool progress(QWidget* owner, const QString& text, int done, int total) override;
    void endProgress() override;

private:
    struct Prepared {
        Kind kind;
        Answer answer = Answer::Cancel;
        QString text;
        FileChoice file;
    };
    bool next(Kind kind, Prepared& out);
    FileChoice file(Kind kind, const QString& title, const QString& filter,
                    const QString& initialFileName);

    QList<Prepared> m_prepared;
    QList<Shown> m_shown;
    QStringList m_unexpected;
    QStringList m_progress;
    int m_cancelProgressAt = -1;
};
