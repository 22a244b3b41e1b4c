// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagegenerator.h"
#include "testfiles.h"
#include "windowdriver.h"

#include <QtTest>

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
    void insertStoresThenPublishesTitleAndPage();
    void previewStoresThenPublishesThePreviewPage();
};

void TestDelivery::startsEmptyAndDisabled()
{
    QCOMPARE(f().state(), " -1 saved");
    for (const char* name : {"Command5", "Command6", "Command1", "Command2", "Command7_0",
                             "Command7_1", "Command7_2", "Command7_7", "Text1_0", "Text1_1",
                             "Text1_2", "Text1_3", "Text1_4", "Text1_5", "Text1_6", "Text1_7"})
        QVERIFY2(!f().control(name)->isEnabled(), name);
    for (const char* name : {"Command4", "Command3", "Command8", "Combo1"})
        QVERIFY2(f().control(name)->isEnabled(), name);
    QCOMPARE(f().window.exchangeText(Exchange::SCRIPT), QString());
    QCOMPARE(f().window.exchangeText(Exchange::SCRIPTTYPE), QString());
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
    QTest::newRow("Exit, saved") << "menu File Exit" << emptied << "1";
    QTest::newRow("Exit, unsaved, Cancel") << "add A; menu File Exit; cancel"
                                           << ""
                                           << "0";
    QTest::newRow("close box after a preview")
        << "add A; click Command2; wait; close; ok" << preview + ',' + emptied << "1";
    QTest::newRow("Exit after a preview")
        << "add A; click Command2; wait; menu File Exit; ok" << preview + ',' + emptied << "1";
    QTest::newRow("closing drops a pending preview") << "add A; click Command2; close; ok; wait"
                                                     << "SCRIPT=,SCRIPT=<html>," + emptied << "1";
    QTest::newRow("Close, saved") << "click Command3" << emptied + ',' + emptied << "1";
    QTest::newRow("Close asks, then the closing asks again")
        << "add A; click Command3; ok; cancel" << emptied << "0";
    QTest::newRow("Close, unsaved, Cancel") << "add A; click Command3; cancel"
                                            << ""
                                            << "0";
    QTest::newRow("insert closes a timer's tick later")
        << "add A; click Command1; ok; wait" << insert << "1";
    QTest::newRow("a refused close keeps the page")
        << "add A; click Command1; cancel; wait" << insert << "0";
    QTest::newRow("and Exit after it, too")
        << "add A; click Command1; cancel; wait; click Command2; wait; menu File Exit; ok"
        << insert + ',' + preview << "1";
    QTest::newRow("Close after it empties the fields")
        << "add A; click Command1; cancel; wait; click Command3; ok; ok" << insert + ',' + emptied
        << "1";
    QTest::newRow("preview stays open") << "add A; click Command2; wait" << preview << "0";
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

void TestDelivery::insertStoresThenPublishesTitleAndPage()
{
    f().run("add Home; type 3 index.htm; click Command1; ok");
    QCOMPARE(f().record(0), "Home|index.htm||Home||||");
    QCOMPARE(f().window.exchangeText(Exchange::SCRIPTTYPE), "Rollcraft II 04-12-26 - 17-58-35");
    QCOMPARE(f().window.exchangeText(Exchange::SCRIPT), buildPage(f().set(), PageMode::Page));
    QVERIFY(f().window.scriptInserted());
    QTRY_COMPARE(f().closed, 1);
}

void TestDelivery::previewStoresThenPublishesThePreviewPage()
{
    f().run("add Home; type 3 index.htm; click Command2");
    QCOMPARE(f().record(0), "Home|index.htm||Home||||");
    QCOMPARE(f().window.exchangeText(Exchange::SCRIPT), buildPage(f().set(), PageMode::Preview));
    QCOMPARE(f().window.exchangeText(Exchange::SCRIPTTYPE), QString());
    QVERIFY(!f().window.scriptInserted());
}

QTEST_MAIN(TestDelivery)
#include "tst_delivery.moc"
