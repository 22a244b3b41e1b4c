#include "settings.h"
#include "windowdriver.h"

#include <QApplication>
#include <QSignalSpy>
#include <QtTest>

using Answer = Dialogs::Answer;
using Exchange = TWKPLUGIN::Exchange;

class TestEditing : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void listReportsOnlyRealSelections();
    void startsEmptyAndDisabled();
    void editsGoBackToTheirOwnButton();
    void showingAnotherButtonIsNoChange();
    void defaultDescriptionFollowsField7();
    void prefixBelongsToEachButton();
    void wizardSettingAtStart_data();
    void wizardSettingAtStart();
    void closing_data();
    void closing();
    void closeAsksTwice();

private:
    ScriptedDialogs m_dialogs;
    std::unique_ptr<TWKPLUGIN> m_window;
    std::unique_ptr<WindowDriver> m_ui;
};

void TestEditing::init()
{
    writeAutoImage(false);
    m_dialogs.reset();
    m_window = std::make_unique<TWKPLUGIN>(m_dialogs);
    m_ui = std::make_unique<WindowDriver>(*m_window);
}

void TestEditing::cleanup()
{
    QVERIFY2(m_dialogs.problems().isEmpty(), qPrintable(m_dialogs.problems()));
    m_ui.reset();
    m_window.reset();
}

void TestEditing::listReportsOnlyRealSelections()
{
    ButtonList list;
    QSignalSpy selected(&list, &ButtonList::entrySelected);
    list.appendEntry(QStringLiteral("A"));
    list.appendEntry(QStringLiteral("B"));
    QCOMPARE(selected.count(), 0);
    QCOMPARE(list.selectedIndex(), -1);

    bool ranBeforeReturn = false;
    connect(&list, &ButtonList::entrySelected, this,
            [&] { ranBeforeReturn = list.selectedIndex() == 1; });
    list.selectEntry(1);
    QVERIFY(ranBeforeReturn);
    QCOMPARE(selected.count(), 1);

    list.setEntryText(1, QStringLiteral("C"));
    list.appendEntry(QStringLiteral("D"));
    QCOMPARE(list.selectedIndex(), 1);
    QCOMPARE(selected.count(), 1);

    // A user moving through the list with the keyboard.
    list.show();
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(list.selectedIndex(), 2);
    QCOMPARE(selected.count(), 2);

    list.clearEntries();
    QCOMPARE(selected.count(), 2);
}

void TestEditing::startsEmptyAndDisabled()
{
    const ButtonSet& set = m_window->buttonSet();
    QVERIFY(set.Saved);
    QCOMPARE(set.CurrentIndex, -1);
    for (const char* name : {"Command5", "Command6", "Command1", "Command2", "Command7_0",
                             "Command7_1", "Command7_2", "Command7_7"})
        QVERIFY2(!m_ui->control(QLatin1String(name))->isEnabled(), name);
    for (int i = 0; i < 8; ++i)
        QVERIFY(!m_ui->field(i)->isEnabled());
    for (const char* name : {"Command4", "Command3", "Command8", "Combo1"})
        QVERIFY2(m_ui->control(QLatin1String(name))->isEnabled(), name);
    QCOMPARE(m_window->exchangeText(Exchange::SCRIPT), QString());
    QCOMPARE(m_window->exchangeText(Exchange::SCRIPTTYPE), QString());
    QCOMPARE(m_window->exchangeText(Exchange::PREVIEW), QStringLiteral("Prev"));
}

void TestEditing::editsGoBackToTheirOwnButton()
{
    m_ui->addButton(m_dialogs, QStringLiteral("A"));
    m_ui->addButton(m_dialogs, QStringLiteral("B"));
    m_ui->pick(0);
    m_ui->type(3, QStringLiteral("a.htm"));
    QCOMPARE(m_window->buttonSet().Buttons[0].Url, QString()); // not stored yet
    m_ui->pick(1);
    QCOMPARE(m_window->buttonSet().Buttons[0].Url, QStringLiteral("a.htm"));
    QCOMPARE(m_window->buttonSet().Buttons[1].Url, QString());
    QCOMPARE(m_ui->field(3)->text(), QString());
    QCOMPARE(m_ui->field(5)->text(), QStringLiteral("B"));
    QCOMPARE(m_window->buttonSet().CurrentIndex, 1);
    m_ui->pick(0);
    QCOMPARE(m_ui->field(3)->text(), QStringLiteral("a.htm"));
    QCOMPARE(m_window->buttonSet().Buttons[0].Name, QStringLiteral("A"));
}

void TestEditing::showingAnotherButtonIsNoChange()
{
    m_ui->addButton(m_dialogs, QStringLiteral("A"));
    m_ui->type(3, QStringLiteral("a.htm"));
    m_ui->addButton(m_dialogs, QStringLiteral("B"));
    m_dialogs.saveFile(QDir::home().filePath(QStringLiteral("two.rk2")));
    QVERIFY(m_ui->menuCommand(QStringLiteral("File"), QStringLiteral("SaveData")));
    QVERIFY(m_window->buttonSet().Saved);
    m_ui->pick(0);
    m_ui->pick(1);
    m_ui->pick(1); // the entry already selected
    QVERIFY(m_window->buttonSet().Saved);
    m_ui->type(4, QStringLiteral("_top"));
    QVERIFY(!m_window->buttonSet().Saved);
}

void TestEditing::defaultDescriptionFollowsField7()
{
    m_ui->addButton(m_dialogs, QStringLiteral("A"));
    const ButtonRecord before = m_window->buttonSet().Buttons[0];
    m_ui->type(7, QStringLiteral("C:\\d.gif"));
    QCOMPARE(m_window->buttonSet().DefaultDescriptionImage, QStringLiteral("C:\\d.gif"));
    QVERIFY(!m_window->buttonSet().Saved);
    m_ui->pick(0);
    QCOMPARE(m_window->buttonSet().Buttons[0], before);
    QCOMPARE(m_ui->field(7)->text(), QStringLiteral("C:\\d.gif"));
}

void TestEditing::prefixBelongsToEachButton()
{
    m_ui->addButton(m_dialogs, QStringLiteral("A"));
    m_ui->type(6, QStringLiteral("img"));
    m_ui->addButton(m_dialogs, QStringLiteral("B"));
    QCOMPARE(m_ui->field(6)->text(), QStringLiteral("img")); // inherited from A
    m_ui->type(6, QStringLiteral("pics"));
    m_ui->pick(0);
    QCOMPARE(m_window->buttonSet().Buttons[0].ImagePathPrefix, QStringLiteral("img"));
    QCOMPARE(m_window->buttonSet().Buttons[1].ImagePathPrefix, QStringLiteral("pics"));
}

void TestEditing::wizardSettingAtStart_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("checked");
    QTest::newRow("no value") << QString() << true;
    QTest::newRow("True") << "True" << true;
    QTest::newRow("False") << "False" << false;
    QTest::newRow("not a Boolean") << "maybe" << true;
}

void TestEditing::wizardSettingAtStart()
{
    QFETCH(QString, stored);
    QFETCH(bool, checked);
    const QString folder = QDir::home().filePath(QStringLiteral(".config/RollcraftII"));
    QVERIFY(QDir().mkpath(folder));
    QFile file(folder + QStringLiteral("/RollcraftII.conf"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    if (!stored.isEmpty())
        file.write("[General]\nAutoImage=" + stored.toUtf8() + "\n");
    file.close();
    TWKPLUGIN window(m_dialogs);
    QCOMPARE(window.findChild<QAction*>(QStringLiteral("AutoImage"))->isChecked(), checked);
}

// How each way of closing treats unsaved data and the exchange fields.
void TestEditing::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("closes");
    QTest::newRow("exit, saved") << "Exit" << false << Answer::Ok << true;
    QTest::newRow("exit, unsaved, OK") << "Exit" << true << Answer::Ok << true;
    QTest::newRow("exit, unsaved, Cancel") << "Exit" << true << Answer::Cancel << false;
    QTest::newRow("close box, unsaved, OK") << "box" << true << Answer::Ok << true;
    QTest::newRow("close box, unsaved, Cancel") << "box" << true << Answer::Cancel << false;
    QTest::newRow("Close, saved") << "Close" << false << Answer::Ok << true;
    QTest::newRow("Close, unsaved, Cancel") << "Close" << true << Answer::Cancel << false;
}

void TestEditing::closing()
{
    QFETCH(QString, how);
    QFETCH(bool, unsaved);
    QFETCH(Answer, answer);
    QFETCH(bool, closes);
    m_window->show();
    if (unsaved) {
        m_ui->addButton(m_dialogs, QStringLiteral("A"));
        m_dialogs.message(answer);
        if (how == QLatin1String("Close") && answer == Answer::Ok)
            m_dialogs.message(Answer::Ok);
    }
    QSignalSpy closed(m_window.get(), &TWKPLUGIN::closed);
    if (how == QLatin1String("Exit"))
        m_ui->menuCommand(QStringLiteral("File"), QStringLiteral("Exit"));
    else if (how == QLatin1String("box"))
        m_window->close();
    else
        m_ui->click(QStringLiteral("Command3"));

    QCOMPARE(closed.count(), closes ? 1 : 0);
    QCOMPARE(m_window->isVisible(), !closes);
    if (unsaved) {
        const ScriptedDialogs::Shown& asked = m_dialogs.shown().constLast();
        QCOMPARE(asked.text,
                 QStringLiteral("Current data is not saved, are you sure that you want to quit ?"));
        QCOMPARE(asked.title, QStringLiteral("TWKPLUGIN"));
        QCOMPARE(asked.icon, Dialogs::Icon::Exclamation);
        QCOMPARE(asked.buttons, Dialogs::Buttons::OkCancel);
    }
    if (closes)
        QCOMPARE(m_window->exchangeText(Exchange::SCRIPT), QString());
}

void TestEditing::closeAsksTwice()
{
    m_window->show();
    m_ui->addButton(m_dialogs, QStringLiteral("A"));
    m_ui->click(QStringLiteral("Command1")); // Insert script fills both fields
    QVERIFY(!m_window->exchangeText(Exchange::SCRIPT).isEmpty());
    m_dialogs.message(Answer::Ok).message(Answer::Cancel);
    m_ui->click(QStringLiteral("Command3"));
    QCOMPARE(m_dialogs.shown().size(), 3);
    QVERIFY(m_window->isVisible());
    // The Close command emptied the fields before the second question.
    QCOMPARE(m_window->exchangeText(Exchange::SCRIPT), QString());
    QCOMPARE(m_window->exchangeText(Exchange::SCRIPTTYPE), QString());
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
