// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagegenerator.h"
#include "testfiles.h"
#include "windowdriver.h"

#include <QAction>
#include <QtTest>

Q_DECLARE_METATYPE(PageMode)

using Exchange = TWKPLUGIN::Exchange;

// The start state, what the window hands the host and in which order, and
// how each way of closing treats unsaved data and the exchange fields.
class TestDelivery : public WindowTest {
    Q_OBJECT
private slots:
    void startsEmptyAndDisabled();
    void wizardSettingAtStart_data();
    void wizardSettingAtStart();
    void steps_data();
    void steps();
    void storesThenPublishesThePage_data();
    void storesThenPublishesThePage();
};

void TestDelivery::startsEmptyAndDisabled()
{
    QString expected = "state= -1 saved; changes=";
    for (const char* name : {"Command5", "Command6", "Command1", "Command2", "Command7_0",
                             "Command7_1", "Command7_2", "Command7_7"})
        expected += QStringLiteral("; on:%1=no").arg(name);
    for (int i = 0; i < 8; ++i)
        expected += QStringLiteral("; on:Text1_%1=no").arg(i);
    check("", expected + "; on:Command4=yes; on:Command3=yes; on:Command8=yes; on:Combo1=yes");
    QCOMPARE(f().window.exchangeText(Exchange::PREVIEW), "Prev");
}

void TestDelivery::wizardSettingAtStart_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("checked");
    QTest::newRow("no value") << QByteArray() << true;
    QTest::newRow("True") << QByteArray("[General]\nAutoImage=True\n") << true;
    QTest::newRow("False") << QByteArray("[General]\nAutoImage=False\n") << false;
    QTest::newRow("not a Boolean") << QByteArray("[General]\nAutoImage=maybe\n") << true;
}

void TestDelivery::wizardSettingAtStart()
{
    QFETCH(QByteArray, stored);
    writeSettings(stored);
    TWKPLUGIN window(f().dialogs);
    QTEST(window.findChild<QAction*>("AutoImage")->isChecked(), "checked");
}

// Each row: what the user does, every change of an exchange field on the way
// (a field's name and the first six characters of its text), and whether the
// closing sequence ran to its end.
void TestDelivery::steps_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("closed");
    const QString emptied = "SCRIPT=,SCRIPTTYPE=";
    const QString preview = "SCRIPT=,SCRIPT=<html>,PREVIEW=PREVIE,PREVIEW=";
    const QString insert = "SCRIPTTYPE=Rollcr,SCRIPT=,SCRIPT=<html>";
    const auto row = [](const char* name, const QString& steps, const QString& changes,
                        const char* closed) { QTest::newRow(name) << steps << changes << closed; };
    row("Exit, saved", "menu File Exit", emptied, "1");
    row("Exit, unsaved, Cancel", "add A; menu File Exit; cancel", "", "0");
    row("close box after a preview", "add A; click Command2; wait; close; ok",
        preview + ',' + emptied, "1");
    row("Exit after a preview", "add A; click Command2; wait; menu File Exit; ok",
        preview + ',' + emptied, "1");
    row("closing drops a pending preview", "add A; click Command2; close; ok; wait",
        "SCRIPT=,SCRIPT=<html>," + emptied, "1");
    row("Close, saved", "click Command3", emptied + ',' + emptied, "1");
    row("Close asks, then the closing asks again", "add A; click Command3; ok; cancel", emptied,
        "0");
    row("Close, unsaved, Cancel", "add A; click Command3; cancel", "", "0");
    row("insert closes a timer's tick later", "add A; click Command1; ok; wait", insert, "1");
    row("a refused close keeps the page", "add A; click Command1; cancel; wait", insert, "0");
    row("and Exit after it, too",
        "add A; click Command1; cancel; wait; click Command2; wait; menu File Exit; ok",
        insert + ',' + preview, "1");
    row("Close after it empties the fields",
        "add A; click Command1; cancel; wait; click Command3; ok; ok", insert + ',' + emptied, "1");
    row("preview stays open", "add A; click Command2; wait", preview, "0");
}

void TestDelivery::steps()
{
    QFETCH(QString, steps);
    f().window.show();
    f().run(steps);
    QTEST(f().probe("changes"), "changes");
    QTEST(f().probe("closed"), "closed");
    QCOMPARE(f().window.isVisible(), f().closed == 0);
}

// Both commands store the current button's edits first.
void TestDelivery::storesThenPublishesThePage_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<PageMode>("mode");
    QTest::addColumn<QString>("title");
    QTest::newRow("Insert script")
        << "Command1" << PageMode::Page << "Rollcraft II 04-12-26 - 17-58-35";
    QTest::newRow("Instant preview") << "Command2" << PageMode::Preview << "";
}

void TestDelivery::storesThenPublishesThePage()
{
    QFETCH(QString, command);
    QFETCH(PageMode, mode);
    f().run("add Home; type 3 index.htm; click " + command +
            (mode == PageMode::Page ? "; ok; wait" : ""));
    QCOMPARE(f().probe("0"), "Home|index.htm||Home||||");
    QCOMPARE(f().window.exchangeText(Exchange::SCRIPT), buildPage(f().window.buttonSet(), mode));
    QTEST(f().window.exchangeText(Exchange::SCRIPTTYPE), "title");
    QCOMPARE(f().window.scriptInserted(), mode == PageMode::Page);
}

QTEST_MAIN(TestDelivery)
#include "tst_delivery.moc"
