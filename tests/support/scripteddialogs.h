// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs.h"

#include <QList>
#include <QStringList>
#include <atomic>
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
    [[nodiscard]] QString problems() const
    {
        QStringList all = m_unexpected;
        for (const Prepared& p : m_prepared)
            all << "the answer \"" + p.answer + "\" for a " + p.kind + " dialog was never used";
        return all.join("; ");
    }

    // Each dialog: "text|title|icon|buttons", "input:prompt|title|default",
    // "folder:title", "open:" or "save:" "title|filter|name".
    QStringList shown;
    // Every progress update as "done/total", and "end" where it was closed.
    QStringList progressShown;
    // Its Cancel pressed: the progress dialog's next update says so.
    std::atomic<bool> progressCancelled = false;

    Answer messageBox(QWidget*, const QString& text, const QString& title, Icon icon,
                      Buttons buttons) override
    {
        static const char* const icons[] = {"none", "information", "question", "exclamation",
                                            "critical"};
        static const char* const kinds[] = {"ok", "okcancel", "yesnocancel"};
        const QString line =
            QStringList{text, title, icons[int(icon)], kinds[int(buttons)]}.join('|');
        return Answer(
            qMax(0, QStringList{"ok", "cancel", "yes", "no"}.indexOf(next("message", line))));
    }
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
        return !progressCancelled;
    }
    void endProgress() override { progressShown << "end"; }

private:
    struct Prepared {
        QString kind, answer;
        std::function<void()> whileOpen;
    };
    // Records the dialog and gives its prepared answer, "cancel" or "" if none.
    QString next(const QString& kind, const QString& line)
    {
        shown << line;
        if (m_prepared.isEmpty() || m_prepared.constFirst().kind != kind) {
            m_unexpected << "unexpected " + line;
            return kind == "message" ? "cancel" : "";
        }
        const Prepared p = m_prepared.takeFirst();
        p.whileOpen();
        return p.answer;
    }
    FileChoice file(const QString& kind, const QStringList& parts)
    {
        const QString path = next(kind, kind + ':' + parts.join('|'));
        return path.isEmpty() ? FileChoice{FileChoice::Status::Cancelled, {}}
               : path == "!"  ? FileChoice{FileChoice::Status::Failed, {}}
                              : FileChoice{FileChoice::Status::Chosen, path};
    }

    QList<Prepared> m_prepared;
    QStringList m_unexpected;
};
