// SPDX-License-Identifier: GPL-3.0-or-later
#include "demobox.h"
#include "demomenu.h"
#include "scripteddialogs.h"

#include <QtTest>
#include <QtWidgets>

// The demo under a real pointer: hovering swaps the pictures, markers and
// connectors, and nothing ever grabs the pointer.
class TestDemo : public QObject {
    Q_OBJECT
    // The picture in each box, the yellow markers, the connectors shown.
    static QString shown(const DemoMenu& demo)
    {
        QStringList parts, yellow, lines;
        for (int i = 0; i < 3; ++i)
            for (const char* n : {"about_out", "about_over", "about_description", "contact_out", "contact_over",
                                  "contact_description", "default_description"})
                if (QImage(QStringLiteral(":/demo/%1.gif").arg(n)) == demo.Picture1(i)->pixmap().toImage())
                    parts << n;
        for (int m = 0; m < DemoMenu::Markers; ++m)
            if (demo.markerOutline(m) == QColor(255, 255, 0))
                yellow << QString::number(m);
        for (int c = 0; c < DemoMenu::Connectors; ++c)
            if (demo.connectorVisible(c))
                lines << QString::number(c);
        return parts.join(',') + " | " + yellow.join(',') + " | " + lines.join(',');
    }
    const QString Rest = "about_out,contact_out,default_description | 0,3,6,7,8,9 | 0,2,4";
    const QString About = "about_over,contact_out,about_description | 1,2,3,7,8,9 | 1,2,5";

private slots:
    // Each row: where the pointer goes (box "0", "1", "2"; "0+" another point in box 0;
    // "off" beside the boxes; "click 1" on box 1; "edge"/"beyond": box 0 told of a move
    // at its far corner, inside still, or past its right edge), and what the demo shows.
    void hover_data()
    {
        QTest::addColumn<QString>("moves");
        QTest::addColumn<QString>("expected");
        const QString contact = "about_out,contact_over,contact_description | 0,4,5,7,8,9 | 0,3,6";
        QTest::newRow("at rest") << "" << Rest;
        QTest::newRow("onto ABOUT, moving inside") << "0; 0+" << About;
        QTest::newRow("straight onto CONTACT") << "0; 1" << contact;
        QTest::newRow("and back") << "0; 1; 0" << About;
        QTest::newRow("off again") << "1; off" << Rest;
        QTest::newRow("onto the description") << "0; 2" << Rest;
        QTest::newRow("at the far corner") << "edge" << About;
        QTest::newRow("beyond the right edge") << "edge; beyond" << Rest;
        // The reset after the click darkens box 0 only: CONTACT stays lit.
        QTest::newRow("click CONTACT") << "1; click 1"
                                       << "about_out,contact_over,default_description | 0,3,6,7,8,9 | 0,2,4";
    }

    void hover()
    {
        QFETCH(QString, moves);
        ScriptedDialogs dialogs;
        // Each row starts with the pointer away from the window.
        QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomRight());
        DemoMenu demo(dialogs, nullptr);
        demo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&demo));
        DemoBox* box = nullptr; // under the pointer
        for (const QString& move : moves.split("; ", Qt::SkipEmptyParts)) {
            if (move == "edge" || move == "beyond") {
                const QSize s = demo.Picture1(0)->size();
                const bool in = move == "edge";
                demo.Picture1_MouseMove(0, {}, {}, s.width() + (in ? 0 : 0.5), in ? s.height() : 0);
                continue;
            }
            if (move == "click 1") {
                // The message box coming up takes the pointer off the box.
                dialogs.answer(Dialogs::Answer::Ok, [box] {
                    QEvent leave(QEvent::Leave);
                    QApplication::sendEvent(box, &leave);
                });
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
                continue;
            }
            const bool off = move == "off";
            box = off ? box : demo.Picture1(move.left(1).toInt());
            const QPoint at = box->rect().center() + (move == "0+" ? QPoint(20, 3) : QPoint());
            QTest::mouseMove(&demo, off ? QPoint(2, 2) : box->mapTo(&demo, at));
            QTRY_COMPARE(box->underMouse(), !off);
            QCOMPARE(QWidget::mouseGrabber(), nullptr);
        }
        QTEST(shown(demo), "expected");
        QVERIFY(dialogs.problems().isEmpty());
    }
};

QTEST_MAIN(TestDemo)
#include "tst_demo.moc"
