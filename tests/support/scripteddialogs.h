// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs.h"

#include <QList>
#include <QStringList>
#include <functional>

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
        Buttons buttons = Buttons::OkCancel;
        QString initial; // default text or initial file name
    };
    // The next dialog of `kind` gets `answer` (a message box), `text` (an
    // input box or folder browser) or `file` (a file dialog).
    ScriptedDialogs& prepare(Kind kind, Answer answer, const QString& text = {},
                             const FileChoice& file = {})
    {
        m_prepared.append({kind, answer, text, file, {}});
        return *this;
    }
    ScriptedDialogs& message(Answer answer) { return prepare(Kind::Message, answer); }
    // Runs `action` while the dialog last prepared is open, as what happens
    // while a user takes time over it.
    ScriptedDialogs& whileOpen(std::function<void()> action)
    {
        m_prepared.last().action = std::move(action);
        return *this;
    }
    // The progress dialog's Cancel counts as pressed from the update that
    // reports `done` images on.
    void cancelProgressAt(int done) { m_cancelProgressAt = done; }

    [[nodiscard]] const QList<Shown>& shown() const { return m_shown; }
    // Every progress update as "done/total", and "end" where it was closed.
    [[nodiscard]] const QStringList& progressShown() const { return m_progress; }
    // Empty when every prepared answer was used and nothing unexpected came.
    [[nodiscard]] QString problems() const;
    // A dialog in one line: "text|title|icon|buttons" for a message box,
    // "input:prompt|title|default", "folder:title", and "open:" or "save:"
    // "title|filter|name".
    [[nodiscard]] static QString describe(const Shown& s);

    Answer messageBox(QWidget*, const QString& text, const QString& title, Icon icon,
                      Buttons buttons) override;
    QString inputBox(QWidget*, const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    FileChoice openFile(QWidget*, const QString& title, const QString& filter,
                        const QString& initialFileName) override;
    FileChoice saveFile(QWidget*, const QString& title, const QString& filter,
                        const QString& initialFileName) override;
    QString chooseFolder(QWidget*, const QString& title) override;
    bool progress(QWidget*, const QString& text, int done, int total) override;
    void endProgress() override { m_progress << "end"; }

private:
    struct Prepared {
        Kind kind;
        Answer answer;
        QString text;
        FileChoice file;
        std::function<void()> action;
    };
    // Records `shown` and takes the answer prepared for it, if any.
    Prepared next(const Shown& shown);

    QList<Prepared> m_prepared;
    QList<Shown> m_shown;
    QStringList m_unexpected;
    QStringList m_progress;
    int m_cancelProgressAt = -1;
};
