// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "buttonlist.h"
#include "scripteddialogs.h"
#include "settings.h"
#include "twkplugin.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

inline const QString ImageFilter =
    "All images|*.gif;*.jpg|Gif file|*.gif|Jpg file|*.jpg|All files|*.*";

// The moment every window test lives in, unless it brings a clock of its own.
inline const QDateTime TestNow(QDate(2026, 12, 4), QTime(17, 58, 35));

// A fresh main window with scripted dialogs, driven through its real controls
// as a user would. The wizard setting is written before the window reads it.
struct WindowFixture {
    explicit WindowFixture(
        bool wizard = false, TWKPLUGIN::Clock clock = [] { return TestNow; })
        : wizardSet((writeAutoImage(wizard), wizard)), window(dialogs, std::move(clock))
    {
        QObject::connect(&window, &TWKPLUGIN::exchangeChanged,
                         [this](const QString& item, const QString& value) {
                             changes << item + '=' + value.left(6);
                         });
        QObject::connect(&window, &TWKPLUGIN::closed, [this] { ++closed; });
    }

    template <typename T = QWidget> [[nodiscard]] T* control(const QString& name) const
    {
        return window.findChild<T*>(name);
    }
    [[nodiscard]] ButtonList* list() const { return control<ButtonList>("Combo1"); }
    [[nodiscard]] QLineEdit* field(int index) const { return window.Text1(index); }
    [[nodiscard]] const ButtonSet& set() const { return window.buttonSet(); }

    // The list as the user sees it, the selected entry in brackets, then the
    // current index and whether the set counts as saved: "A,[B] 1 unsaved".
    [[nodiscard]] QString state() const
    {
        QStringList names;
        for (int i = 0; i < list()->count(); ++i)
            names << (i == list()->selectedIndex() ? '[' + list()->itemText(i) + ']'
                                                   : list()->itemText(i));
        return names.join(',') + QStringLiteral(" %1 ").arg(set().CurrentIndex) +
               (set().Saved ? "saved" : "unsaved");
    }
    // A record as "Name|Url|Target|Alt|ImagePathPrefix|MouseOut|MouseOver|Description".
    [[nodiscard]] QString record(int i) const
    {
        const ButtonRecord& b = set().Buttons[i];
        return QStringList{b.Name,
                           b.Url,
                           b.Target,
                           b.Alt,
                           b.ImagePathPrefix,
                           b.MouseOutImage,
                           b.MouseOverImage,
                           b.DescriptionImage}
            .join('|');
    }
    // The eight edit fields' texts joined by "|".
    [[nodiscard]] QString fields() const
    {
        QStringList texts;
        for (int i = 0; i < 8; ++i)
            texts << field(i)->text();
        return texts.join('|');
    }

    void click(const QString& button) const
    {
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    }
    // Replaces a field's text by typing it.
    void type(int index, const QString& text) const
    {
        field(index)->selectAll();
        if (text.isEmpty())
            QTest::keyClick(field(index), Qt::Key_Delete);
        else
            QTest::keyClicks(field(index), text);
    }
    // Picks a list entry as the user does (the list reports the pick even
    // when the entry was already selected).
    void pick(int index) const
    {
        list()->setCurrentIndex(index);
        emit list()->activated(index);
    }
    // Opens `menu` (its opening handler runs) and tells whether `item` is
    // enabled then.
    [[nodiscard]] bool enabled(const QString& menu, const QString& item) const
    {
        control<QMenu>(menu)->popup(QPoint(0, 0));
        const bool on = control<QAction>(item)->isEnabled();
        control<QMenu>(menu)->hide();
        return on;
    }
    // Opens `menu` and picks `item` if it is enabled then.
    void menu(const QString& menu, const QString& item) const
    {
        if (enabled(menu, item))
            control<QAction>(item)->trigger();
    }
    // Adds a button through "Add" (with the wizard on, script its choosers first).
    void add(const QString& name)
    {
        dialogs.input(name);
        click("Command4");
    }
    void open(const QString& path)
    {
        dialogs.openFile(path);
        menu("File", "OpenData");
    }
    void save(const QString& path)
    {
        dialogs.saveFile(path);
        menu("File", "SaveData");
    }

    // Runs user steps separated by "; ": "add NAME" ("add" alone cancels the
    // name), "pick N", "down" (in the list), "type N TEXT", "click BUTTON",
    // "menu MENU ITEM", "close" (the close box), "wait" (past the timers),
    // "ok"/"cancel"/"yes"/"no" (the next message box's answer), "input TEXT",
    // "file PATH" (an image chooser's), "folder DIR" (the folder browser's),
    // "open FILE", "save FILE" (FILE and DIR under `folder`; none cancels the
    // dialog, "!" makes it fail). Answers may follow the action they answer.
    void run(const QString& steps);
    // What a test looks at, by name: "state", "fields", a record's index,
    // "default", "file" (the data file's name under `folder`), "initial" (the
    // last dialog's default text), "on:NAME" (a control is enabled),
    // "menu:MENU/ITEM" (the item is enabled when the menu opens), "changes"
    // (of the exchange fields, comma-separated), "closed" (how often),
    // "dialog" (the last one shown, see ScriptedDialogs::describe()), "dialog:N" (the Nth),
    // "dialogs" (how many), "choosers" (the image choosers' titles).
    [[nodiscard]] QString probe(const QString& what) const;

    bool wizardSet;
    ScriptedDialogs dialogs;
    TWKPLUGIN window;
    QStringList changes; // of the exchange fields since the window loaded: "NAME=" and 6 characters
    int closed = 0;      // times the closing sequence ran to its end
    QDir folder = QDir::home();
};

// Window tests get a fresh fixture for each test function; afterwards every
// prepared answer must have been used and no dialog may have come unasked.
class WindowTest : public QObject {
    Q_OBJECT
protected slots:
    void init()
    {
        m_f.emplace();
        m_f->folder.setPath(m_dir.path());
    }
    void cleanup()
    {
        const QString problems = m_f->dialogs.problems();
        m_f.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

protected:
    WindowFixture& f() { return *m_f; }
    // Runs `steps` and compares each "probe=value" of `expected`.
    void check(const QString& steps, const QStringList& expected)
    {
        f().run(steps);
        for (const QString& e : expected)
            QCOMPARE(e.section('=', 0, 0) + '=' + f().probe(e.section('=', 0, 0)), e);
    }
    std::optional<WindowFixture> m_f;
    QTemporaryDir m_dir; // the files a test writes and the window reads
    QString file(const QString& name) const { return m_dir.filePath(name); }
};
