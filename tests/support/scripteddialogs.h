// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs.h"

#include <QList>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <functional>

// Dialogs for tests: each dialog shown is recorded in one line and answered with the next answer queued for its
// kind; one with none left is recorded as unexpected and cancelled.
class ScriptedDialogs final : public Dialogs {
public:
    enum class Kind { Message, Input, Open, Save, Folder };

    // The next message box gets `answer`; `whileOpen` runs while it is open.
    void answer(Answer answer, std::function<void()> whileOpen = {}) { m_queued.append({{}, answer, {}, whileOpen}); }
    // The next dialog of `kind` (not a message box) gets `text`: the text entered, the path chosen; "" cancels, and
    // "!" fails a file dialog.
    void answer(Kind kind, const QString& text) { m_queued.append({kind, {}, text, {}}); }
    // Empty when every answer was used and nothing unexpected came.
    [[nodiscard]] QString problems() const
    {
        static const char* const kinds[] = {"message box", "input box", "open dialog", "save dialog", "folder dialog"};
        static const char* const answers[] = {"Ok", "Cancel", "Yes", "No"};
        QStringList all = m_unexpected;
        for (const Queued& q : m_queued)
            all << QStringLiteral("the answer \"%1\" for a %2 was never used")
                       .arg(q.kind == Kind::Message ? answers[int(q.answer)] : q.text, kinds[int(q.kind)]);
        return all.join("; ");
    }

    // Each dialog: "text|title|icon|buttons", "input:prompt|title|default", "folder:title", "open:" or "save:"
    // "title|filter|name".
    QStringList shown;
    // Every progress update as "done/total", and "end" where it was closed.
    QStringList progressShown;
    // Its Cancel pressed: the progress dialog's next update says so.
    std::atomic<bool> progressCancelled = false;

    Answer messageBox(QWidget*, const QString& text, const QString& title, Icon icon, Buttons buttons) override
    {
        static const char* const icons[] = {"none", "information", "question", "exclamation", "critical"};
        static const char* const kinds[] = {"ok", "okcancel", "yesnocancel"};
        return next(Kind::Message, QStringList{text, title, icons[int(icon)], kinds[int(buttons)]}.join('|')).answer;
    }
    QString inputBox(QWidget*, const QString& prompt, const QString& title, const QString& defaultText) override
    {
        return next(Kind::Input, "input:" + QStringList{prompt, title, defaultText}.join('|')).text;
    }
    FileChoice openFile(QWidget*, const QString& title, const QString& filter, const QString& name) override
    {
        return file(Kind::Open, "open:" + QStringList{title, filter, name}.join('|'));
    }
    FileChoice saveFile(QWidget*, const QString& title, const QString& filter, const QString& name) override
    {
        return file(Kind::Save, "save:" + QStringList{title, filter, name}.join('|'));
    }
    QString chooseFolder(QWidget*, const QString& title) override { return next(Kind::Folder, "folder:" + title).text; }
    bool progress(QWidget*, const QString&, int done, int total) override
    {
        progressShown << QStringLiteral("%1/%2").arg(done).arg(total);
        return !progressCancelled;
    }
    void endProgress() override { progressShown << "end"; }

private:
    struct Queued {
        Kind kind = Kind::Message;
        Answer answer = Answer::Cancel;
        QString text;
        std::function<void()> whileOpen;
    };
    // Records the dialog and gives its answer: Cancel, "" if none is queued for it.
    Queued next(Kind kind, const QString& line)
    {
        shown << line;
        const auto it = std::ranges::find(m_queued, kind, &Queued::kind);
        if (it == m_queued.end()) {
            m_unexpected << "unexpected " + line;
            return {kind, Answer::Cancel, {}, {}};
        }
        const Queued q = *it;
        m_queued.erase(it);
        if (q.whileOpen)
            q.whileOpen();
        return q;
    }
    FileChoice file(Kind kind, const QString& line)
    {
        const QString path = next(kind, line).text;
        return path.isEmpty() ? FileChoice{FileChoice::Status::Cancelled, {}}
               : path == "!"  ? FileChoice{FileChoice::Status::Failed, {}}
                              : FileChoice{FileChoice::Status::Chosen, path};
    }

    QList<Queued> m_queued;
    QStringList m_unexpected;
};
