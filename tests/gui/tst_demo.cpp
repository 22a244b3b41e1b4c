// SPDX-License-Identifier: GPL-3.0-or-later
#include "demobox.h"
#include "demomenu.h"
#include "scripteddialogs.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// Where the pointer goes: onto a box (ABOUT, CONTACT, the description), another
// point of ABOUT, beside the boxes, a click on CONTACT; or ABOUT told of a move at
// its far corner, inside still, or just past its right edge.
enum class Move { About, ElsewhereInAbout, Contact, Description, Off, ClickContact, FarCorner, PastTheEdge };

} // namespace

Q_DECLARE_METATYPE(Move)

// The demo under a real pointer: hovering swaps the pictures, markers and
// connectors, and nothing ever grabs the pointer.
class TestDemo : public QObject {
    Q_OBJECT
private slots:
    void hover_data()
    {
        // What the demo shows: the picture in each box, the yellow markers, the connectors.
        QTest::addColumn<QList<Move>>("moves");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* rule, const QList<Move>& moves, const QString& shown) {
            QTest::newRow(rule) << moves << shown;
        };
        const QString rest = "about_out contact_out default_description | markers 0 3 6 7 8 9 | lines 0 2 4";
        const QString about = "about_over contact_out about_description | markers 1 2 3 7 8 9 | lines 1 2 5";
        const QString contact = "about_out contact_over contact_description | markers 0 4 5 7 8 9 | lines 0 3 6";
        using enum Move;
        row("at rest", {}, rest);
        row("onto ABOUT, moving inside", {About, ElsewhereInAbout}, about);
        row("straight onto CONTACT", {About, Contact}, contact);
        row("off again", {Contact, Off}, rest);
        row("onto the description", {About, Description}, rest);
        row("at the far corner", {FarCorner}, about);
        row("beyond the right edge", {FarCorner, PastTheEdge}, rest);
        // The reset after the click darkens ABOUT only: CONTACT stays lit.
        row("click CONTACT", {Contact, ClickContact},
            "about_out contact_over default_description | markers 0 3 6 7 8 9 | lines 0 2 4");
    }

    void hover()
    {
        QFETCH(QList<Move>, moves);
        ScriptedDialogs dialogs;
        // Each row starts with the pointer away from the window.
        QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomRight());
        DemoMenu demo(dialogs, nullptr);
        demo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&demo));
        DemoBox* box = nullptr; // under the pointer
        for (const Move move : moves) {
            if (move == Move::FarCorner || move == Move::PastTheEdge) {
                const QSize s = demo.Picture1(0)->size();
                const bool in = move == Move::FarCorner;
                demo.Picture1_MouseMove(0, {}, {}, s.width() + (in ? 0 : 0.5), in ? s.height() : 0);
            } else if (move == Move::ClickContact) {
                // The message box coming up takes the pointer off the box.
                dialogs.answer(Dialogs::Answer::Ok, [box] {
                    QEvent leave(QEvent::Leave);
                    QApplication::sendEvent(box, &leave);
                });
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
            } else {
                const bool off = move == Move::Off;
                const int at = move == Move::Contact ? 1 : move == Move::Description ? 2 : 0;
                box = off ? box : demo.Picture1(at);
                const QPoint point = box->rect().center() + (move == Move::ElsewhereInAbout ? QPoint(20, 3) : QPoint());
                QTest::mouseMove(&demo, off ? QPoint(2, 2) : box->mapTo(&demo, point));
                QTRY_COMPARE(box->underMouse(), !off);
                QCOMPARE(QWidget::mouseGrabber(), nullptr);
            }
        }
        QStringList pictures;
        QString yellow = " | markers", lines = " | lines";
        for (int i = 0; i < 3; ++i)
            for (const char* n : {"about_out", "about_over", "about_description", "contact_out", "contact_over",
                                  "contact_description", "default_description"})
                if (QImage(QStringLiteral(":/demo/%1.gif").arg(n)) == demo.Picture1(i)->pixmap().toImage())
                    pictures << n;
        for (int m = 0; m < DemoMenu::Markers; ++m) {
            yellow += demo.markerOutline(m) == QColor(255, 255, 0) ? QStringLiteral(" %1").arg(m) : QString();
            lines += m < DemoMenu::Connectors && demo.connectorVisible(m) ? QStringLiteral(" %1").arg(m) : QString();
        }
        QTEST(pictures.join(' ') + yellow + lines, "shown");
        QVERIFY(dialogs.problems().isEmpty());
    }
};

QTEST_MAIN(TestDemo)
#include "tst_demo.moc"
