// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "scripteddialogs.h"
#include "twkplugin.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

// The moment every window test lives in, unless it brings a clock of its own.
inline const QDateTime TestNow(QDate(2026, 1, 9), QTime(19, 5, 3));

// A fresh main window (image wizard off), scripted dialogs, driven by its controls.
struct WindowFixture {
    explicit WindowFixture(TWKPLUGIN::Clock clock = [] { return TestNow; });

    template <typename T = QWidget> [[nodiscard]] T* control(const QString& name) const
    {
        return window.findChild<T*>(name);
    }
    // Runs steps, "; " apart: "add NAME" ("add" alone cancels), "pick N", "down" (arrow
    // key in the list), "type N TEXT" (field N), "click BUTTON", "menu MENU ITEM" (if
    // enabled on opening), "show", "close", "wait" (timers run). Answers for the dialogs
    // of the action before: "ok", "cancel", "yes", "no", "input TEXT", "file PATH" (image
    // chooser), "folder DIR", "open FILE", "save FILE" (these two also run the command);
    // DIR, FILE under `folder`; none cancels, "!" fails. Actions end once previews decode.
    void run(const QString& steps);
    void settle() const;
    // "state" ("A,[B] 1 unsaved": list, [selected], current index, saved?), an index
    // ("Name|Url|Target|Alt|Prefix|MouseOut|MouseOver|Description"), "fields", "default",
    // "file", "dialog", "dialog:N" (the last, the Nth; paths relative to `folder`),
    // "choosers" (titles), "changes" (exchange fields: name=6 characters), "closed"
    // (closing sequences ended; "?" if shown after, or hidden before), "off" (disabled;
    // "editing": those needing a current button), "script" (SCRIPT is the "page"/"preview"
    // of the set), "title" (SCRIPTTYPE), "menu:MENU/ITEM" (enabled on opening).
    [[nodiscard]] QString probe(const QString& what) const;

    ScriptedDialogs dialogs;
    TWKPLUGIN window;
    QStringList changes;
    int closed = 0;
    QDir folder = QDir::home();
};

// A fresh fixture per test; after it, every answer used and no dialog unasked.
class WindowTest : public QObject {
    Q_OBJECT
protected slots:
    void init() { fresh(); }
    void cleanup() { finish(); }

protected:
    WindowFixture& f() { return *m_f; }
    void fresh(TWKPLUGIN::Clock clock = [] { return TestNow; })
    {
        finish();
        m_f.emplace(std::move(clock));
        m_f->folder.setPath(m_dir.path());
    }
    void finish()
    {
        const QString problems = m_f ? m_f->dialogs.problems() : QString();
        m_f.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }
    // Runs the row's `steps`, compares each "probe=value" of `expected` ("; " apart).
    void check()
    {
        QFETCH(QString, steps);
        QFETCH(QString, expected);
        f().run(steps);
        for (const QString& e : expected.split("; ", Qt::SkipEmptyParts))
            QCOMPARE(e.section('=', 0, 0) + '=' + f().probe(e.section('=', 0, 0)), e);
    }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    std::optional<WindowFixture> m_f;
    QTemporaryDir m_dir; // the files a test writes and the window reads
};
