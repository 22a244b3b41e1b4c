// SPDX-License-Identifier: GPL-3.0-or-later
#include "fullscreenviewer.h"
#include "previewpicture.h"
#include "testfiles.h"
#include "windowdriver.h"

#include <QtTest>
#include <QtWidgets>

Q_DECLARE_METATYPE(Dialogs::Answer)

namespace {

using Answer = Dialogs::Answer;

// A picture whose neighbouring pixels all differ, so that a shift or a scale
// by one pixel shows.
QImage pattern(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int i = 0; i < size.width() * size.height(); ++i) {
        const int x = i % size.width(), y = i / size.width();
        image.setPixel(x, y, qRgb((x * 7) & 255, (y * 13) & 255, (x * y) & 255));
    }
    return image;
}

} // namespace

// Image previews, the full-screen viewer, and copying the images into one folder.
class TestImages : public WindowTest {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(pattern({40, 30}).save(file("ok.jpg")));
        // Larger than the frames and than the screen, with halves of pixels to centre.
        const QSize large(1201, 901);
        QVERIFY(pattern(large).save(file("large.jpg")));
        QVERIFY(pattern(large).save(file("large.png")));
        writeBytes(file("truncated.jpg"), readBytes(file("ok.jpg")).left(200));
        writeBytes(file("text.gif"), "not a picture at all");
        // A GIF header claiming 30000 x 30000 pixels, and a JPEG whose frame says so.
        writeBytes(file("huge.gif"), QByteArray("GIF89a\x30\x75\x30\x75\0\0\0", 13) + QByteArray(64, 0));
        QByteArray jpeg = readBytes(file("ok.jpg"));
        const qsizetype frame = jpeg.indexOf("\xFF\xC0");
        QVERIFY(frame > 0);
        jpeg.replace(frame + 5, 4, "\x75\x30\x75\x30");
        writeBytes(file("huge.jpg"), jpeg);
        for (const char* n : {"a.gif", "b.gif", "c.gif"})
            writeBytes(file(n), QByteArray("new ") + n);
        // One button refers to a.gif, missing.gif and b.gif; the default is c.gif.
        writeBytes(file("set.rk2"), rk2(QStringList{"[COMMON]", file("c.gif")} +
                                        block("A", {file("a.gif"), file("missing.gif"), file("b.gif")})));
    }

    // Each row: a field's text, and whether it shows a picture (if not, the failure label).
    void previews_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("shows");
        const auto row = [this](const char* rule, const char* name, bool shows) {
            QTest::newRow(rule) << file(name) << shows;
        };
        row("a picture smaller than the frame", "ok.jpg", true);
        row("a JPEG larger than the frame and the screen", "large.jpg", true);
        row("a PNG larger than the frame and the screen", "large.png", true);
        row("a JPEG too large to decode, though a corner would fit", "huge.jpg", false);
        row("a GIF too large to decode", "huge.gif", false);
        row("a JPEG cut short", "truncated.jpg", false);
        row("text named as a GIF", "text.gif", false);
        QTest::newRow("a device") << "/dev/zero" << false;
        QTest::newRow("a path with line ends") << "/tmp/a\nb\r\nc.gif" << false;
    }

    // Each preview follows its field and shows the picture's own top left corner, as
    // far as its frame reaches. A click on a picture, and only on one, opens the
    // viewer: the picture centred on black, full screen, owned by the main window,
    // holding no more than the screen shows, destroyed by a click or any key (one way
    // for each preview).
    void previews()
    {
        QFETCH(QString, path);
        QFETCH(bool, shows);
        f().add("A").show();
        const QRect screen = f().window.screen()->geometry();
        // The picture as its file decodes whole, in the form the screen is compared in.
        const QImage whole = shows ? QImage(path).convertToFormat(QImage::Format_RGB32) : QImage();
        QImage centred(screen.size(), QImage::Format_RGB32);
        centred.fill(Qt::black);
        QPainter(&centred).drawImage(QPoint(std::floor((screen.width() - whole.width()) / 2.0),
                                            std::floor((screen.height() - whole.height()) / 2.0)),
                                     whole);
        int closeBy = 0;
        for (int i : TWKPLUGIN::PreviewFields) {
            f().window.Text1(i)->setText(path);
            f().settle();
            PreviewPicture* picture = f().window.Image1(i);
            QWidget* frame = picture->parentWidget();
            QCOMPARE(QList<bool>({f().window.Label9(i)->isVisible(), picture->pixmap().isNull()}),
                     QList<bool>(2, !shows));
            const QRect shown = frame->rect() & QRect(picture->pos(), whole.size());
            if (shows)
                QCOMPARE(frame->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(shown),
                         whole.copy(shown.translated(-picture->pos())));
            QTest::mouseClick(picture, Qt::LeftButton);
            f().settle();
            QPointer<FullScreenViewer> v = f().window.findChild<FullScreenViewer*>();
            QCOMPARE(v.isNull(), !shows);
            if (v) {
                QVERIFY(v->isWindow() && v->isVisible() && v->isFullScreen());
                QTRY_COMPARE(v->geometry(), screen);
                QCOMPARE(v->grab().toImage().convertToFormat(QImage::Format_RGB32), centred);
                QVERIFY(v->Image1()->pixmap().width() <= screen.width() &&
                        v->Image1()->pixmap().height() <= screen.height());
                if (closeBy < 2)
                    QTest::mouseClick(closeBy == 0 ? static_cast<QWidget*>(v) : v->Image1(), Qt::LeftButton, {},
                                      QPoint(2, 2));
                else
                    QTest::keyClick(v, closeBy == 2 ? Qt::Key_Shift : Qt::Key_Q);
                QTRY_VERIFY(v.isNull()); // destroyed, not hidden
            }
            ++closeBy;
            f().type(i, "");
            QVERIFY(!f().window.Label9(i)->isVisible() && picture->pixmap().isNull());
        }
    }

    // A picture overtaken by a newer path is never shown; a click while one is on its
    // way shows the picture the field names now. The window owns what it opens and
    // decodes: it goes with the viewer open and a decode running (sanitizer: leaks).
    void decodingAndOwnership()
    {
        f().add("A").show();
        for (const char* name : {"large.png", "ok.jpg"})
            f().window.Text1(0)->setText(file(name));
        QThreadPool::globalInstance()->waitForDone(); // both decoded
        f().settle();
        QCOMPARE(f().window.Image1(0)->pixmap().size(), QSize(40, 30));
        f().window.Text1(0)->setText(file("large.png"));
        QTest::mouseClick(f().window.Image1(0), Qt::LeftButton);
        f().settle();
        QPointer<FullScreenViewer> v = f().window.findChild<FullScreenViewer*>();
        QVERIFY(v);
        QCOMPARE(v->Image1()->pixmap().size(), f().window.screen()->size());
        f().window.Text1(1)->setText(file("large.png"));
        fresh();
        QVERIFY(v.isNull());
    }

    // dst holds old b.gif and c.gif; missing.gif fails before b.gif is asked
    // about. Each row: the folder chosen ("" cancels), the answers to the questions,
    // the last dialog, the copied a.gif, b.gif and c.gif.
    void copy_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QStringList>("contents");
        const QString exists = "File: \"dst/c.gif\" allready exist, overwrite ?|File allready "
                               "exist|question|yesnocancel";
        const QStringList none{"<missing>", "old b", "old c"};
        const QStringList copied{"new a.gif", "new b.gif", "new c.gif"};
        const QString failed = "ERROR! One or more images could not be copied !\r\nFor further "
                               "details, please see \"" +
                               errorLogFile() + "\"|TWKPLUGIN|exclamation|ok";
        const Answer yes = Answer::Yes, no = Answer::No, ok = Answer::Ok, cancel = Answer::Cancel;
        QTest::newRow("a cancelled folder browser copies nothing")
            << "" << QList<Answer>{} << "folder:Destination folder:" << none;
        QTest::newRow("Cancel at the first question copies nothing")
            << "dst" << QList{cancel} << "Overwrite existing images, if they exist ?|TWKPLUGIN|question|yesnocancel"
            << none;
        // Cancel at a later question keeps the copies and logs nothing.
        QTest::newRow("No asks about each file there, Cancel keeps what is copied")
            << "dst" << QList{no, no, cancel} << exists << QStringList{"new a.gif", "old b", "old c"};
        QTest::newRow("Yes to a file replaces it") << "dst" << QList{no, yes, yes, ok} << failed << copied;
        QTest::newRow("Yes at first replaces without asking") << "dst" << QList{yes, ok} << failed << copied;
    }

    void copy()
    {
        QFETCH(QString, folder);
        QFETCH(QList<Answer>, answers);
        freshDestination();
        f().open("set.rk2").chooseFolder(folder);
        for (const Answer a : answers)
            f().answer(a);
        f().menu("Special", "CopyImagesToPath");
        QTEST(f().dialog(), "dialog");
        QTEST((QStringList{readBytes(dst("a.gif")), readBytes(dst("b.gif")), readBytes(dst("c.gif"))}), "contents");
        QCOMPARE(readBytes(errorLogFile()).endsWith("missing.gif\r\nError : No such file or directory code: 2\r\n"),
                 answers.endsWith(Answer::Ok));
    }

    // The time a user takes over a question is not copying time: no progress.
    void copyProgress()
    {
        auto now = std::make_shared<QDateTime>(TestNow);
        fresh([now] { return *now; });
        freshDestination();
        f().open("set.rk2").chooseFolder("dst").answer(Answer::No);
        f().dialogs.answer(Answer::Yes, [now] { *now = now->addSecs(2); }); // over b.gif's
        f().answer(Answer::No).ok().menu("Special", "CopyImagesToPath");
        QVERIFY(f().dialogs.progressShown.isEmpty());
    }

    // Copying runs off the window's thread: while an image waits until the window
    // has taken a key, the window goes on. A log that cannot be written (a folder
    // in its place) is not pointed at: the message lists the failures instead.
    // Copying for more than half a second (every look finds a second gone) shows progress.
    void copyLeavesTheWindowResponsive()
    {
        fresh([now = TestNow]() mutable { return now = now.addSecs(1); });
        freshDestination();
        QVERIFY(QDir().mkpath(errorLogFile()));
        QSemaphore go;
        std::atomic<bool> copying = false, waitedInVain = false;
        f().window.setFileCopier([&](const QString& source, const QString& target, const CopyStop& stop) {
            copying = true;
            waitedInVain = waitedInVain || !go.tryAcquire(1, 5000);
            return copyImageFile(source, target, stop);
        });
        QTimer whileCopying;
        connect(&whileCopying, &QTimer::timeout, [&] {
            if (copying && f().window.Text1(3)->text().isEmpty()) {
                QTest::keyClicks(f().window.Text1(3), "x");
                go.release(100);
            }
        });
        whileCopying.start(10);
        f().open("set.rk2").chooseFolder("dst").answer(Answer::Yes).ok().menu("Special", "CopyImagesToPath");
        QDir(errorLogFile()).removeRecursively();
        QVERIFY(!waitedInVain);
        f().dialogs.progressShown.removeDuplicates(); // also updated while an image copies
        QCOMPARE(f().dialogs.progressShown.join(' '), "0/4 1/4 2/4 3/4 4/4 end");
        QCOMPARE(f().window.Text1(3)->text(), "x");
        QCOMPARE(readBytes(dst("c.gif")), "new c.gif");
        QCOMPARE(f().dialog(), "ERROR! One or more images could not be copied !\r\nThe log \"" + errorLogFile() +
                                   "\" could not be written. The failed copies:\r\nmissing.gif -> "
                                   "dst/missing.gif: the source: No such file or directory|TWKPLUGIN|exclamation|ok");
    }

    // Cancel pressed while an image copies reaches that copy, and the run ends there.
    void cancelStopsTheImageInProgress()
    {
        fresh([now = TestNow]() mutable { return now = now.addSecs(1); });
        freshDestination();
        std::atomic<int> copies = 0, stopped = 0;
        f().window.setFileCopier([&](const QString&, const QString&, const CopyStop& stop) {
            ++copies;
            f().dialogs.progressCancelled = true;
            for (QDeadlineTimer deadline(5000); !stop() && !deadline.hasExpired();)
                QThread::msleep(10);
            stopped += stop() ? 1 : 0;
            return std::optional<CopyFailure>();
        });
        f().open("set.rk2").chooseFolder("dst").answer(Answer::Yes).menu("Special", "CopyImagesToPath");
        QCOMPARE(QList<int>({copies, stopped}), QList<int>({1, 1}));
    }

private:
    QString dst(const QString& name) const { return file("dst/" + name); }
    void freshDestination()
    {
        QDir(file("dst")).removeRecursively();
        QDir().mkpath(file("dst"));
        writeBytes(dst("b.gif"), "old b");
        writeBytes(dst("c.gif"), "old c");
        QFile::remove(errorLogFile());
    }
};

QTEST_MAIN(TestImages)
#include "tst_images.moc"
