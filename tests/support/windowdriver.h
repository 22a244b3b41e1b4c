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

// A fresh main window (image wizard off) with scripted dialogs, driven
// through its real controls as a user would.
struct WindowFixture {
    explicit WindowFixture(TWKPLUGIN::Clock clock = [] { return TestNow; });

    template <typename T = QWidget> [[nodiscard]] T* control(const QString& name) const
    {
        return window.findChild<T*>(name);
    }
    // Runs user steps separated by "; ": "add NAME" ("add" alone cancels the
    // name), "pick N" (in the list), "down" (the arrow key in the list),
    // "type N TEXT" (into field N), "click BUTTON", "menu MENU ITEM" (picked
    // if enabled when the menu opens), "show", "close" (the close box),
    // "wait" (till the timers have run); answers: "ok", "cancel", "yes", "no" (a
    // message box), "input TEXT", "file PATH" (an image chooser), "folder
    // DIR", and "open FILE", "save FILE", which also run the command. DIR and
    // FILE are under `folder`; none cancels the dialog, "!" makes it fail.
    // Answers may follow the action they answer. Each action ends when the
    // previews show what their fields name.
    void run(const QString& steps);
    void settle() const;
    // What a test looks at, by name: "state" ("A,[B] 1 unsaved": the list,
    // the selected entry in brackets, the current index, whether saved), a
    // record's index ("Name|Url|Target|Alt|Prefix|MouseOut|MouseOver|
    // Description"), "fields" (the eight edit fields), "default", "file",
    // "dialog" and "dialog:N" (the last, the Nth; paths under `folder`
    // relative), "choosers" (the image choosers' titles), "changes" (of the
    // exchange fields, a name and six characters each), "closed" (times the
    // closing sequence ended; "?" if the window is shown after that, or
    // hidden before), "off" (the
    // disabled controls; "editing" for those that need a current button),
    // "script" ("page" or "preview" if SCRIPT holds that page of the set as
    // it is), "title" (SCRIPTTYPE) and "menu:MENU/ITEM" (enabled on opening).
    [[nodiscard]] QString probe(const QString& what) const;

    ScriptedDialogs dialogs;
    TWKPLUGIN window;
    QStringList changes;
    int closed = 0;
    QDir folder = QDir::home();
};

// Window tests get a fresh fixture for each test function; afterwards every
// prepared answer must have been used and no dialog may have come unasked.
class WindowTest : public QObject {
    Q_OBJECT
protected slots:
    void init() { fresh(); }
    void cleanup() { finish(); }

protected:
    WindowFixture& f() { return *m_f; }
    // Ends the fixture, if any, and starts a fresh one.
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
    // Runs `steps` and compares each "probe=value" of `expected` ("; " apart).
    void check(const QString& steps, const QString& expected)
    {
        f().run(steps);
        for (const QString& e : expected.split("; ", Qt::SkipEmptyParts))
            QCOMPARE(e.section('=', 0, 0) + '=' + f().probe(e.section('=', 0, 0)), e);
    }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    std::optional<WindowFixture> m_f;
    QTemporaryDir m_dir; // the files a test writes and the window reads
};
