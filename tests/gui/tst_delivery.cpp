// SPDX-License-Identifier: GPL-3.0-or-later
#include "aboutwindow.h"
#include "demomenu.h"
#include "testfiles.h"
#include "windowdriver.h"

#include <QtTest>
#include <QtWidgets>

using Exchange = TWKPLUGIN::Exchange;

namespace {

// Every visible control lies inside its window's client area (the folder
// browser's icon lies below it on purpose) and shows its whole caption in
// the window's font.
void checkFits(QWidget* window)
{
    window->window()->show();
    QVERIFY(QTest::qWaitForWindowExposed(window->window()));
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->inherits("QMenu") || w->inherits("DirBrowser"))
            continue;
        QVERIFY2(window->contentsRect().contains(QRect(w->mapTo(window, QPoint()), w->size())),
                 qPrintable(w->objectName()));
        const QString caption = w->property("text").toString().remove(u'&');
        const auto* label = qobject_cast<QLabel*>(w);
        if (label && label->wordWrap())
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(), qPrintable(caption));
        else if (label || w->inherits("QAbstractButton"))
            QVERIFY2(w->fontMetrics().horizontalAdvance(caption) <= w->contentsRect().width(),
                     qPrintable(caption));
    }
}

} // namespace

// The start state and the look, what the window hands the host and in which
// order, and how each way of closing treats unsaved data and the exchange
// fields.
class TestDelivery : public WindowTest {
    Q_OBJECT
private slots:
    void startsEmptyAndDisabled()
    {
        check("", "state= -1 saved; changes=; off=editing");
        QCOMPARE(f().window.exchangeText(Exchange::PREVIEW), "Prev");
    }

    void everythingFitsAndTheSizeIsLocked()
    {
        TWKPLUGIN& w = f().window;
        f().run("add Home");
        checkFits(w.centralWidget());
        for (const char* name : {"SCRIPT", "SCRIPTTYPE", "PREVIEW"})
            QVERIFY(!f().control(name)->isVisible());
        const QSize locked = w.size();
        w.resize(locked + QSize(120, 80));
        w.showMinimized();
        w.showNormal();
        QCOMPARE(w.size(), locked);
        QCOMPARE(w.centralWidget()->size(), QSize(522, 447));
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        DemoMenu demo(f().dialogs, &w);
        checkFits(&demo);
        AboutWindow about(&w);
        checkFits(&about);
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
