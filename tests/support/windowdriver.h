#pragma once

#include "buttonlist.h"
#include "scripteddialogs.h"
#include "settings.h"
#include "twkplugin.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

// Drives a main window through its real controls, as a user would.
class WindowDriver {
public:
    explicit WindowDriver(TWKPLUGIN& window) : m_w(window) {}

    template <typename T = QWidget> [[nodiscard]] T* control(const QString& name) const
    {
        return m_w.findChild<T*>(name);
    }
    [[nodiscard]] ButtonList* list() const { return control<ButtonList>(QStringLiteral("Combo1")); }
    [[nodiscard]] QLineEdit* field(int index) const { return m_w.Text1(index); }
    [[nodiscard]] QStringList entries() const
    {
        QStringList names;
        for (int i = 0; i < list()->count(); ++i)
            names << list()->itemText(i);
        return names;
    }

    void click(const QString& button) const
    {
        QPushButton* b = control<QPushButton>(button);
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // Replaces a field's text by typing it.
    void type(int index, const QString& text) const
    {
        QLineEdit* f = field(index);
        f->selectAll();
        if (text.isEmpty())
            QTest::keyClick(f, Qt::Key_Delete);
        else
            QTest::keyClicks(f, text);
    }

    // Picks a list entry as the user does (the list reports the pick even
    // when the entry was already selected).
    void pick(int index) const
    {
        list()->setCurrentIndex(index);
        emit list()->activated(index);
    }

    // Opens `menu` (its opening handler runs) and, if the item is enabled then,
    // picks `item`. Returns whether the item was enabled.
    bool menuCommand(const QString& menu, const QString& item) const
    {
        QMenu* m = control<QMenu>(menu);
        m->popup(QPoint(0, 0));
        QAction* action = m_w.findChild<QAction*>(item);
        const bool enabled = action->isEnabled();
        m->hide();
        if (enabled)
            action->trigger();
        return enabled;
    }

    // Adds a button through "Add" with the wizard off.
    void addButton(ScriptedDialogs& dialogs, const QString& name) const
    {
        dialogs.input(name);
        click(QStringLiteral("Command4"));
    }

private:
    TWKPLUGIN& m_w;
};

// A fresh main window with scripted dialogs; the wizard setting is written
// before the window reads it.
struct WindowFixture {
    explicit WindowFixture(bool wizard = false,
                           TWKPLUGIN::Clock clock = &QDateTime::currentDateTime)
        : wizardSet((writeAutoImage(wizard), wizard)), window(dialogs, std::move(clock)), ui(window)
    {}

    bool wizardSet;
    ScriptedDialogs dialogs;
    TWKPLUGIN window;
    WindowDriver ui;
};
