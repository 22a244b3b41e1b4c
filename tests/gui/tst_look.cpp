// SPDX-License-Identifier: GPL-3.0-or-later
#include "aboutwindow.h"
#include "demobox.h"
#include "demomenu.h"
#include "windowdriver.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

// What the demo shows: the lit markers (yellow outline), the shown
// connectors, and which built-in picture each of the three boxes holds.
QString demoState(const DemoMenu& d)
{
    QStringList lit, lines, pictures;
    for (int i = 0; i < DemoMenu::Markers; ++i)
        if (d.markerOutline(i) != QColor(Qt::black))
            lit << (d.markerOutline(i) == QColor(255, 255, 0) ? QString::number(i) : "?");
    for (int i = 0; i < DemoMenu::Connectors; ++i)
        if (d.connectorVisible(i))
            lines << QString::number(i);
    for (int box = 0; box < 3; ++box) {
        const QImage shown = d.Picture1(box)->pixmap().toImage();
        pictures << "?";
        for (const char* n : {"about_out", "about_over", "about_description", "contact_out",
                              "contact_over", "contact_description", "default_description"})
            if (shown == QImage(QStringLiteral(":/demo/%1.gif").arg(n)).convertedTo(shown.format()))
                pictures.last() = n;
    }
    return lit.join(',') + " / " + lines.join(',') + " / " + pictures.join(',');
}

const QString Rest = "0,3,6,7,8,9 / 0,2,4 / about_out,contact_out,default_description";

// Every visible control lies inside its window's client area (the folder
// browser's icon lies below it on purpose) and shows its whole caption in
// the window's font.
void checkFits(QWidget* window)
{
    window->window()->show();
    QVERIFY(QTest::qWaitForWindowExposed(window->window()));
    const QRect client = window->contentsRect();
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->inherits("QMenu") || w->inherits("DirBrowser"))
            continue;
        QVERIFY2(client.contains(QRect(w->mapTo(window, QPoint()), w->size())),
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

// How the windows look and answer the pointer: the layouts, the main
// window's size lock, and the DemoMenu.
class TestLook : public WindowTest {
    Q_OBJECT
private slots:
    void windowsShowEverything();
    void mainWindowKeepsItsSize();
    void demo_data();
    void demo();
    void demoOpensFreshEachTime();
};

void TestLook::windowsShowEverything()
{
    f().run("add Home");
    checkFits(f().window.centralWidget());
    for (const char* name : {"SCRIPT", "SCRIPTTYPE", "PREVIEW"})
        QVERIFY(!f().control(name)->isVisible());
    DemoMenu demo(f().dialogs, &f().window);
    checkFits(&demo);
    AboutWindow about(&f().window);
    checkFits(&about);
    QTest::mouseClick(about.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QVERIFY(!about.isVisible());
}

void TestLook::mainWindowKeepsItsSize()
{
    TWKPLUGIN& w = f().window;
    w.show();
    const QSize locked = w.size();
    w.resize(locked + QSize(120, 80));
    w.showMinimized();
    w.showNormal();
    QCOMPARE(w.size(), locked);
    QCOMPARE(w.centralWidget()->size(), QSize(522, 447));
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
}

// Each row: where the pointer moves (box and point), the message a button
// released there shows, and what the demo shows afterwards: lit markers /
// shown connectors / the three boxes' pictures.
void TestLook::demo_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shows");
    const QString about = "1,2,3,7,8,9 / 1,2,5 / about_over,contact_out,about_description";
    QTest::newRow("inside ABOUT?") << 0 << QPointF(20, 10) << "" << about;
    QTest::newRow("ABOUT?, bottom right edge") << 0 << QPointF(159, 25) << "" << about;
    QTest::newRow("just right of ABOUT?") << 0 << QPointF(159.5, 5) << "" << Rest;
    QTest::newRow("inside CONTACT")
        << 1 << QPointF(0, 0) << ""
        << "0,4,5,7,8,9 / 0,3,6 / about_out,contact_over,contact_description";
    QTest::newRow("above CONTACT") << 1 << QPointF(5, -0.5) << "" << Rest;
    QTest::newRow("description area") << 2 << QPointF(5, 5) << "" << Rest;
    QTest::newRow("click ABOUT?") << 0 << QPointF(10, 10) << "You clicked on \"About\"" << Rest;
    // The reset after the message darkens box 0 only: CONTACT stays lit.
    QTest::newRow("click CONTACT")
        << 1 << QPointF(10, 10) << "You clicked on \"Contact\""
        << "0,3,6,7,8,9 / 0,2,4 / about_out,contact_over,default_description";
    QTest::newRow("click the description area")
        << 2 << QPointF(10, 10) << "This image has no URL !" << Rest;
}

void TestLook::demo()
{
    QFETCH(int, box);
    QFETCH(QPointF, at);
    QFETCH(QString, message);
    DemoMenu demo(f().dialogs, &f().window);
    demo.show();
    QCOMPARE(demo.Picture1(0)->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(demo.Picture1(2)->cursor().shape(), Qt::ArrowCursor);
    // Through the real box: the pointer moves in, then maybe a button is released.
    QMouseEvent move(QEvent::MouseMove, at, demo.Picture1(box)->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(demo.Picture1(box), &move);
    if (!message.isEmpty()) {
        f().dialogs.message(Dialogs::Answer::Ok);
        QTest::mouseClick(demo.Picture1(box), Qt::RightButton, {}, at.toPoint());
        QCOMPARE(f().probe("dialog"), message + "|TWKPLUGIN|information|ok");
    }
    QTEST(demoState(demo), "shows");
}

// "DemoMenu" opens the demo modally, at rest each time.
void TestLook::demoOpensFreshEachTime()
{
    QStringList seen;
    for (int round = 0; round < 2; ++round) {
        QTimer::singleShot(0, this, [&seen] {
            auto* demo = qobject_cast<DemoMenu*>(QApplication::activeModalWidget());
            seen << (demo ? demo->windowTitle() + ' ' + demoState(*demo) : "none");
            if (demo) {
                demo->Picture1_MouseMove(0, Qt::NoButton, Qt::NoModifier, 3, 3);
                demo->findChild<QPushButton*>("Command1")->click();
            }
        });
        f().run("click Command8");
    }
    QCOMPARE(seen, QStringList(2, "DemoMenu " + Rest));
}

QTEST_MAIN(TestLook)
#include "tst_look.moc"
