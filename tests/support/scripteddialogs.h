// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs.h"

#include <QList>
#include <QStringList>
#include <functional>

// Dialogs for tests: each dialog shown is recorded in one line and answered
// from a prepared queue. A dialog of another kind than the next prepared
// answer, or one with no answer left, is recorded as unexpected and cancelled.
class ScriptedDialogs final : public Dialogs {
public:
    // The next dialog of `kind` ("message", "input", "open", "save", "folder")
    // gets `answer` ("ok", "cancel", "yes", "no"; a text or path, where "" cancels
    // and "!" fails a file dialog); `whileOpen` runs while it is open.
    void prepare(
        const QString& kind, const QString& answer, std::function<void()> whileOpen = [] {})
    {
        m_prepared.append({kind, answer, std::move(whileOpen)});
    }
    // Empty when every prepared answer was used and nothing unexpected came.
    [[nodiscard]] QString problems() const;

    // Each dialog: "text|title|icon|buttons", "input:prompt|title|default",
    // "folder:title", "open:" or "save:" "title|filter|name".
    QStringList shown;
    // Every progress update as "done/total", and "end" where it was closed.
    QStringList progressShown;

    Answer messageBox(QWidget*, const QString& text, const QString& title, Icon icon,
                      Buttons buttons) override;
    QString inputBox(QWidget*, const QString& prompt, const QString& title,
                     const QString& defaultText) override
    {
        return next("input", "input:" + QStringList{prompt, title, defaultText}.join('|'));
    }
    FileChoice openFile(QWidget*, const QString& title, const QString& filter,
                        const QString& name) override
    {
        return file("open", {title, filter, name});
    }
    FileChoice saveFile(QWidget*, const QString& title, const QString& filter,
                        const QString& name) override
    {
        return file("save", {title, filter, name});
    }
    QString chooseFolder(QWidget*, const QString& title) override
    {
        return next("folder", "folder:" + title);
    }
    bool progress(QWidget*, const QString&, int done, int total) override
    {
        progressShown << QStringLiteral("%1/%2").arg(done).arg(total);
        return true;
    }
    void endProgress() override { progressShown << "end"; }

private:
    struct Prepared {
        QString kind, answer;
        std::function<void()> whileOpen;
    };
    // Records the dialog and gives its prepared answer, "cancel" or "" if none.
    QString next(const QString& kind, const QString& line);
    FileChoice file(const QString& kind, const QStringList& parts);

    QList<Prepared> m_prepared;
    QStringList m_unexpected;
};
