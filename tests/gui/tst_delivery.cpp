// SPDX-License-Identifier: GPL-3.0-or-later
#include "testfiles.h"
#include "windowdriver.h"

#include <QtTest>
#include <QtWidgets>

using Exchange = TWKPLUGIN::Exchange;

// The start state, what the window hands the host and in which order, and
// how each way of closing treats unsaved data and the exchange fields.
class TestDelivery : public WindowTest {
    Q_OBJECT
private slots:
    void startsEmptyAndDisabled()
    {
        check("", "state= -1 saved; changes=; off=editing");
        QCOMPARE(f().window.exchangeText(Exchange::PREVIEW), "Prev");
        f().window.show();
        for (const char* name : {"SCRIPT", "SCRIPTTYPE", "PREVIEW"})
            QVERIFY(!f().control(name)->isVisible());
    }

    // The image wizard is on unless the setting says False; switching it
    // keeps the new state.
    void wizardSetting()
    {
        for (const auto& [stored, checked] : {std::pair{"", true},
                                              {"AutoImage=True", true},
                                              {"AutoImage=False", false},
                                              {"AutoImage=maybe", true}}) {
            writeSettings(QByteArray("[General]\n") + stored + '\n');
            TWKPLUGIN window(f().dialogs);
            QCOMPARE(window.findChild<QAction*>("AutoImage")->isChecked(), checked);
        }
        f().run("menu File AutoImage");
        QVERIFY(readBytes(settingsPath()).contains("[General]\nAutoImage=True\n"));
    }

    // Each row: what the user does, every change of an exchange field on the way
    // (a field's name and the first six characters of its text), and whether the
    // closing sequence ran to its end.
    void steps_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QString>("closed");
        const QString emptied = "SCRIPT=,SCRIPTTYPE=";
        const QString preview = "SCRIPT=,SCRIPT=<html>,PREVIEW=PREVIE,PREVIEW=";
        const QString insert = "SCRIPTTYPE=Rollcr,SCRIPT=,SCRIPT=<html>";
        const auto row = [](const char* name, const QString& steps, const QString& changes,
                            const char* closed) {
            QTest::newRow(name) << steps << changes << closed;
        };
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
            "add A; click Command1; cancel; wait; click Command3; ok; ok", insert + ',' + emptied,
            "1");
        row("preview stays open", "add A; click Command2; wait", preview, "0");
    }

    void steps()
    {
        QFETCH(QString, steps);
        f().window.show();
        f().run(steps);
        QTEST(f().probe("changes"), "changes");
        QTEST(f().probe("closed"), "closed");
        QCOMPARE(f().window.isVisible(), f().closed == 0);
    }
};

QTEST_MAIN(TestDelivery)
#include "tst_delivery.moc"
