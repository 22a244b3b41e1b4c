#include "windowdriver.h"

#include <QtTest>
#include <optional>

using Answer = Dialogs::Answer;
using Icon = Dialogs::Icon;
using Kind = ScriptedDialogs::Kind;

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void init() { m_f.emplace(); }
    void cleanup();

    void addToEmptySet();
    void addInheritsPrefixOfButtonAbove();
    void addCancelledAddsNothing();
    void addRefusesTheHundredAndFirst();
    void renameSetsAltOnlyWhenEmpty();
    void removeMiddleOfThree();
    void removeOnlyButton();
    void removeCancelled();
    void removeStopsAtAnEmptyName();
    void clearAll_data();
    void clearAll();
    void prefixForAll_data();
    void prefixForAll();
    void menusFollowTheSet();

private:
    ButtonSet set() const { return m_f->window.buttonSet(); }
    void addThree();
    std::optional<WindowFixture> m_f;
};

void TestCommands::cleanup()
{
    QVERIFY2(m_f->dialogs.problems().isEmpty(), qPrintable(m_f->dialogs.problems()));
    m_f.reset();
}

void TestCommands::addThree()
{
    for (const char* name : {"A", "B", "C"})
        m_f->ui.addButton(m_f->dialogs, QLatin1String(name));
}

void TestCommands::addToEmptySet()
{
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("Home"));
    const ScriptedDialogs::Shown& asked = m_f->dialogs.last();
    QCOMPARE(asked.kind, Kind::Input);
    QCOMPARE(asked.text, QStringLiteral("Button name : "));
    QCOMPARE(asked.title, QStringLiteral("Add button"));
    QCOMPARE(asked.initial, QStringLiteral("Button1"));

    QCOMPARE(m_f->ui.entries(), QStringList{"Home"});
    QCOMPARE(m_f->ui.list()->selectedIndex(), 0);
    QCOMPARE(set().CurrentIndex, 0);
    QCOMPARE(m_f->ui.field(5)->text(), QStringLiteral("Home"));
    QCOMPARE(m_f->ui.field(6)->text(), QString());
    QCOMPARE(set().Buttons[0].Name, QStringLiteral("Home"));
    QVERIFY(!set().Saved);
    for (const char* name :
         {"Command5", "Command6", "Command1", "Command2", "Command7_0", "Text1_7"})
        QVERIFY2(m_f->ui.control(QLatin1String(name))->isEnabled(), name);

    m_f->ui.addButton(m_f->dialogs, QStringLiteral("Next"));
    QCOMPARE(m_f->dialogs.last().initial, QStringLiteral("Button2"));
}

void TestCommands::addInheritsPrefixOfButtonAbove()
{
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("A"));
    m_f->ui.type(6, QStringLiteral("img/"));
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("B"));
    QCOMPARE(set().Buttons[0].ImagePathPrefix, QStringLiteral("img/"));
    QCOMPARE(m_f->ui.field(6)->text(), QStringLiteral("img/"));
    QCOMPARE(m_f->ui.field(5)->text(), QStringLiteral("B"));
}

void TestCommands::addCancelledAddsNothing()
{
    m_f->ui.addButton(m_f->dialogs, QString());
    QCOMPARE(m_f->ui.list()->count(), 0);
    QVERIFY(set().Saved);
    QVERIFY(!m_f->ui.field(0)->isEnabled());
}

void TestCommands::addRefusesTheHundredAndFirst()
{
    for (int i = 1; i <= MaxButtons; ++i)
        m_f->ui.addButton(m_f->dialogs, QStringLiteral("B%1").arg(i));
    m_f->ui.type(3, QStringLiteral("last.htm"));
    m_f->dialogs.message(Answer::Ok);
    m_f->ui.click(QStringLiteral("Command4"));
    const ScriptedDialogs::Shown& refused = m_f->dialogs.last();
    QCOMPARE(refused.kind, Kind::Message);
    QCOMPARE(refused.text, QStringLiteral("You already have 100 buttons !"));
    QCOMPARE(refused.icon, Icon::Exclamation);
    QCOMPARE(refused.buttons, Dialogs::Buttons::Ok);
    QCOMPARE(m_f->ui.list()->count(), MaxButtons);
    QCOMPARE(set().Buttons[99].Url, QStringLiteral("last.htm")); // stored before refusing
}

void TestCommands::renameSetsAltOnlyWhenEmpty()
{
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("A"));
    m_f->ui.type(5, QStringLiteral("Alternative"));
    m_f->dialogs.input(QStringLiteral("Renamed"));
    m_f->ui.click(QStringLiteral("Command5"));
    QCOMPARE(m_f->dialogs.last().text, QStringLiteral("Enter new name:"));
    QCOMPARE(m_f->dialogs.last().title, QStringLiteral("Edit button name"));
    QCOMPARE(m_f->dialogs.last().initial, QStringLiteral("A"));
    QCOMPARE(m_f->ui.entries(), QStringList{"Renamed"});
    QCOMPARE(m_f->ui.field(5)->text(), QStringLiteral("Alternative"));
    m_f->ui.pick(0);
    QCOMPARE(set().Buttons[0].Alt, QStringLiteral("Alternative"));
    QCOMPARE(set().Buttons[0].Name, QStringLiteral("Renamed"));

    m_f->ui.type(5, QString());
    m_f->dialogs.input(QStringLiteral("Again"));
    m_f->ui.click(QStringLiteral("Command5"));
    QCOMPARE(m_f->ui.field(5)->text(), QStringLiteral("Again"));

    m_f->dialogs.input(QString());
    m_f->ui.click(QStringLiteral("Command5"));
    QCOMPARE(m_f->ui.entries(), QStringList{"Again"});
}

void TestCommands::removeMiddleOfThree()
{
    addThree();
    m_f->ui.pick(1);
    m_f->ui.type(3, QStringLiteral("b.htm"));
    m_f->dialogs.message(Answer::Ok);
    m_f->ui.click(QStringLiteral("Command6"));
    const ScriptedDialogs::Shown& asked = m_f->dialogs.last();
    QCOMPARE(asked.text, QStringLiteral("Are you sure you want to clear \"B\" ?"));
    QCOMPARE(asked.title, QStringLiteral("Clear all data ?"));
    QCOMPARE(asked.icon, Icon::Exclamation);
    QCOMPARE(asked.buttons, Dialogs::Buttons::OkCancel);

    QCOMPARE(m_f->ui.entries(), (QStringList{"A", "C"}));
    QCOMPARE(m_f->ui.list()->selectedIndex(), 1);
    QCOMPARE(set().CurrentIndex, 1);
    QCOMPARE(m_f->ui.field(5)->text(), QStringLiteral("C"));
    QCOMPARE(set().Buttons[0].Name, QStringLiteral("A"));
    QCOMPARE(set().Buttons[1].Name, QStringLiteral("C"));
    QCOMPARE(set().Buttons[2], ButtonRecord{});
    QVERIFY(!set().Saved);
    QVERIFY(m_f->ui.field(0)->isEnabled());
}

void TestCommands::removeOnlyButton()
{
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("A"));
    m_f->ui.type(7, QStringLiteral("C:\\d.gif"));
    m_f->ui.type(3, QStringLiteral("a.htm"));
    m_f->dialogs.message(Answer::Ok);
    m_f->ui.click(QStringLiteral("Command6"));
    QCOMPARE(m_f->ui.list()->count(), 0);
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(m_f->ui.field(i)->text(), QString());
        QVERIFY(!m_f->ui.field(i)->isEnabled());
    }
    QCOMPARE(set().DefaultDescriptionImage, QString());
    QCOMPARE(set().CurrentIndex, -1);
    QCOMPARE(set().Buttons[0], ButtonRecord{});
    QVERIFY(set().Saved);
}

void TestCommands::removeCancelled()
{
    addThree();
    const ButtonSet before = set();
    m_f->dialogs.message(Answer::Cancel);
    m_f->ui.click(QStringLiteral("Command6"));
    QCOMPARE(m_f->ui.entries(), (QStringList{"A", "B", "C"}));
    QCOMPARE(set().Buttons, before.Buttons);
}

void TestCommands::removeStopsAtAnEmptyName()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gap.rk2"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[COMMON]\r\n#\r\n");
    for (const char* name : {"A", "B", "", "D"})
        file.write(QByteArray("[Button]\r\n") + name + "\r\n#\r\n#\r\n#\r\n#\r\n#\r\n#\r\n#\r\n");
    file.close();
    m_f->dialogs.openFile(path);
    m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("OpenData"));
    QCOMPARE(m_f->ui.list()->count(), 4);

    m_f->dialogs.message(Answer::Ok);
    m_f->ui.click(QStringLiteral("Command6")); // removes A
    QCOMPARE(m_f->ui.entries(), QStringList{"B"});
    QCOMPARE(set().Buttons[1].Name, QString());
    QCOMPARE(set().Buttons[2].Name, QStringLiteral("D"));
}

void TestCommands::clearAll_data()
{
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("saved: no question") << false << Answer::Ok << true;
    QTest::newRow("unsaved, OK") << true << Answer::Ok << true;
    QTest::newRow("unsaved, Cancel") << true << Answer::Cancel << false;
}

void TestCommands::clearAll()
{
    QFETCH(bool, unsaved);
    QFETCH(Answer, answer);
    QFETCH(bool, cleared);
    QTemporaryDir dir;
    addThree();
    m_f->ui.type(7, QStringLiteral("C:\\d.gif"));
    m_f->dialogs.saveFile(dir.filePath(QStringLiteral("menu.rk2")));
    m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("SaveData"));
    if (unsaved) {
        m_f->ui.type(3, QStringLiteral("x.htm"));
        m_f->dialogs.message(answer);
    }
    m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("ClearAllData"));
    if (unsaved) {
        QCOMPARE(m_f->dialogs.last().text, QStringLiteral("Do you want to clear all data ?"));
        QCOMPARE(m_f->dialogs.last().title, QStringLiteral("Clear all data ?"));
    }
    QCOMPARE(m_f->ui.list()->count(), cleared ? 0 : 3);
    QCOMPARE(set().DataFileName.isEmpty(), cleared);
    QCOMPARE(set().Saved, cleared);
    if (cleared) {
        QCOMPARE(set().DefaultDescriptionImage, QString());
        QCOMPARE(set().CurrentIndex, -1);
        QVERIFY(!m_f->ui.field(7)->isEnabled());
    }
}

void TestCommands::prefixForAll_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("expected");
    QTest::newRow("img/") << "img/"
                          << "img/";
    QTest::newRow("empty answer") << ""
                                  << "old";
    QTest::newRow("starts with CR") << "\rimg"
                                    << "old";
}

void TestCommands::prefixForAll()
{
    QFETCH(QString, answer);
    QFETCH(QString, expected);
    addThree();
    for (int i : {0, 1, 2}) {
        m_f->ui.pick(i);
        m_f->ui.type(6, QStringLiteral("old"));
    }
    m_f->ui.pick(1);
    m_f->ui.type(6, QStringLiteral("typed")); // not stored: the default offered is the record's
    m_f->dialogs.input(answer);
    m_f->ui.menuCommand(QStringLiteral("EditSet"), QStringLiteral("ChangeImgPrefix"));
    QCOMPARE(m_f->dialogs.last().text, QStringLiteral("New prefix : "));
    QCOMPARE(m_f->dialogs.last().title, QStringLiteral("Change prefix on all buttons to:"));
    QCOMPARE(m_f->dialogs.last().initial, QStringLiteral("old"));
    QCOMPARE(set().Buttons[0].ImagePathPrefix, expected);
    QCOMPARE(set().Buttons[2].ImagePathPrefix, expected);
    QCOMPARE(m_f->ui.field(6)->text(),
             answer.isEmpty() || answer.startsWith(u'\r') ? QStringLiteral("typed") : expected);
}

void TestCommands::menusFollowTheSet()
{
    const auto enabled = [this](const char* menu, const char* item) {
        QMenu* m = m_f->ui.control<QMenu>(QLatin1String(menu));
        m->popup(QPoint());
        const bool on = m_f->window.findChild<QAction*>(QLatin1String(item))->isEnabled();
        m->hide();
        return on;
    };
    QVERIFY(!enabled("File", "SaveData"));
    QVERIFY(!enabled("File", "ClearAllData"));
    QVERIFY(enabled("File", "OpenData"));
    QVERIFY(!enabled("EditSet", "ChangeImgPrefix"));
    m_f->ui.type(7, QString()); // disabled field: typing does nothing
    QVERIFY(!enabled("Special", "CopyImagesToPath"));

    m_f->ui.addButton(m_f->dialogs, QStringLiteral("A"));
    QVERIFY(enabled("File", "SaveData"));
    QVERIFY(enabled("File", "ClearAllData"));
    QVERIFY(enabled("EditSet", "ChangeImgPrefix"));
    QVERIFY(!enabled("Special", "CopyImagesToPath")); // no image anywhere
    m_f->ui.type(0, QStringLiteral("C:\\a.gif"));
    QVERIFY(!enabled("Special", "CopyImagesToPath")); // not stored yet
    m_f->ui.pick(0);
    QVERIFY(enabled("Special", "CopyImagesToPath"));

    // Opening the File menu stores the current button's edits.
    m_f->ui.type(3, QStringLiteral("a.htm"));
    QVERIFY(enabled("File", "SaveData"));
    QCOMPARE(set().Buttons[0].Url, QStringLiteral("a.htm"));
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
