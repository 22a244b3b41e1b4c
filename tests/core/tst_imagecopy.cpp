// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagecopy.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <thread>

namespace {

// Answers from a script ("y", "n", "c" per question) and records what was asked.
struct ScriptedQuestions final : CopyQuestions {
    explicit ScriptedQuestions(QString script) : answers(std::move(script)) {}
    Answer overwrite(const QString& target) override
    {
        asked << QFileInfo(target).fileName();
        const QChar a = answers.isEmpty() ? u'c' : answers.front();
        answers.remove(0, 1);
        return a == u'y' ? Answer::Yes : a == u'n' ? Answer::No : Answer::Cancel;
    }
    bool progress(int done, int) override { return done != cancelAt; }
    QString answers;
    QStringList asked;
    int cancelAt = -1; // the progress update whose Cancel the user presses
};

} // namespace

class TestImageCopy : public QObject {
    Q_OBJECT
private slots:
    void copyOrderSkipsEmptyFieldsAndStopsAtTheFirstEmptyName()
    {
        ButtonSet set;
        set.Buttons[0] = {"One", {}, {}, {}, "plays no part", "o1", "v1", "d1"};
        set.Buttons[1] = {"Two", {}, {}, {}, {}, {}, "v2", {}};
        set.Buttons[3] = set.Buttons[0]; // behind the empty name: never copied
        set.DefaultDescriptionImage = "stored default";
        QStringList order;
        for (const ImageToCopy& i : imagesToCopy(set, "shown default"))
            order << i.source + u'|' + i.reportedAs;
        QCOMPARE(order,
                 QStringList({"o1|o1", "v1|v1", "d1|d1", "v2|v2", "shown default|stored default"}));
        QCOMPARE(imagesToCopy(set, QString()).constLast().source, "v2");
    }

    // The sources are a.gif, b.gif, c.jpg, e.gif and "blocker", a file. In dst
    // there are already a longer b.gif, an empty e.gif and a folder c.jpg. Each
    // row: the images, the folder copied to, the answers ("replace" asks
    // nothing), and what was asked, how many copied, what failed and what the
    // last image's target holds afterwards.
    void runs_data()
    {
        QTest::addColumn<QString>("images");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QString>("outcome");
        const auto row = [](const char* name, const QString& images, const char* folder,
                            const char* answers, const QString& outcome) {
            QTest::newRow(name) << images << folder << answers << outcome;
        };
        const QString aab = "a.gif a.gif b.gif", old = "an old and much longer b.gif";
        // clang-format off
        row("replace asks nothing", aab, "dst", "replace", "asked: | 3 copied | failed: | new b.gif");
        // The second a.gif asks about the copy the first one has just made.
        row("ask: yes", aab, "dst", "yy", "asked: a.gif b.gif | 3 copied | failed: | new b.gif");
        row("ask: no keeps the file", aab, "dst", "nn", "asked: a.gif b.gif | 1 copied | failed: | " + old);
        row("ask: cancel ends the run", aab, "dst", "c", "asked: a.gif | 1 copied | failed: | " + old + " | cancelled");
        row("zero bytes count as absent", "e.gif", "dst", "", "asked: | 1 copied | failed: | new e.gif");
        row("failures are collected and the run goes on", "missing.gif a.gif c.jpg img/a.gif b.gif", "dst", "replace",
            "asked: | 2 copied | failed: missing.gif 2 No such file or directory, c.jpg 21 Is a directory at c.jpg, img/a.gif 2 No such file or directory | new b.gif");
        // Neither waits for a writer nor reads for ever.
        row("only regular files are copied", "fifo /dev/zero", "dst", "replace",
            "asked: | 0 copied | failed: fifo 22 Not a regular file (a FIFO), /dev/zero 22 Not a regular file (a device) | <missing>");
        row("onto itself", "a.gif", "src", "y", "asked: a.gif | 1 copied | failed: | new a.gif");
        row("into a file", "a.gif", "src/blocker", "replace", "asked: | 0 copied | failed: a.gif 20 Not a directory at a.gif | <missing>");
        // "!": Cancel pressed at the last update, when every image is copied.
        row("cancel at the end still cancels", "a.gif", "dst", "replace!", "asked: | 1 copied | failed: | new a.gif | cancelled");
        // clang-format on
    }

    void runs()
    {
        QFETCH(QString, images);
        QFETCH(QString, folder);
        QFETCH(QString, answers);
        QTemporaryDir dir;
        const QDir src(dir.filePath("src")), dst(dir.filePath("dst"));
        QVERIFY(QDir().mkpath(src.path()) && QDir().mkpath(dst.filePath("c.jpg")));
        for (const char* name : {"a.gif", "b.gif", "c.jpg", "e.gif"})
            writeBytes(src.filePath(name), QByteArray("new ") + name);
        writeBytes(src.filePath("blocker"), "a file");
        QCOMPARE(mkfifo(qPrintable(src.filePath("fifo")), 0600), 0);
        writeBytes(dst.filePath("b.gif"), "an old and much longer b.gif");
        writeBytes(dst.filePath("e.gif"), {});
        QList<ImageToCopy> list;
        for (const QString& name : images.split(' '))
            list.append({name.startsWith('/') ? name : src.filePath(name), name});
        ScriptedQuestions questions(answers);
        questions.cancelAt = answers.endsWith('!') ? int(list.size()) : -1;
        const QString target = ::destinationFolder(dir.filePath(folder));
        const CopyRun run = copyImages(list, target,
                                       answers.startsWith("replace") ? ExistingImages::Replace
                                                                     : ExistingImages::Ask,
                                       questions);
        QStringList failures;
        for (const CopyFailure& f : run.failures)
            failures << QStringLiteral("%1 %2 %3").arg(f.source).arg(f.code).arg(f.description) +
                            (f.atDestination ? " at " + QFileInfo(f.target).fileName() : QString());
        const QString outcome =
            QStringList({("asked: " + questions.asked.join(' ')).trimmed(),
                         QStringLiteral("%1 copied").arg(run.copied),
                         ("failed: " + failures.join(", ")).trimmed(),
                         readBytes(target + QFileInfo(list.constLast().source).fileName())})
                .join(" | ") +
            (run.cancelled ? " | cancelled" : "");
        QTEST(outcome, "outcome");
        QCOMPARE(dst.entryList(QDir::Files | QDir::Hidden).filter(".part"), QStringList());
    }

    // A copy cut short half way (by the file size limit) leaves the earlier
    // image whole and nothing beside it.
    void failedCopyKeepsTheEarlierImage()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath("big.gif"), QByteArray(64 << 10, 'n'));
        QVERIFY(QDir().mkpath(dir.filePath("dst")));
        writeBytes(dir.filePath("dst/big.gif"), "old");
        const std::optional<CopyFailure> failed = underFileSizeLimit(4096, [&] {
            return copyImageFile(dir.filePath("big.gif"), dir.filePath("dst/big.gif"));
        });
        QVERIFY(failed);
        QVERIFY(failed->atDestination);
        QCOMPARE(readBytes(dir.filePath("dst/big.gif")), "old");
        QCOMPARE(QDir(dir.filePath("dst")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"big.gif"});
    }

    // Two copies onto one target at once: it always holds one whole source.
    void twoCopiesAtOnce()
    {
        QTemporaryDir dir;
        const QByteArray a(4 << 20, 'a'), b(3 << 20, 'b');
        writeBytes(dir.filePath("a"), a);
        writeBytes(dir.filePath("b"), b);
        const QString target = dir.filePath("t.gif");
        for (int round = 0; round < 20; ++round) {
            std::thread other([&] { QVERIFY(!copyImageFile(dir.filePath("b"), target)); });
            QVERIFY(!copyImageFile(dir.filePath("a"), target));
            other.join();
            const QByteArray now = readBytes(target);
            QVERIFY(now == a || now == b);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    void logBytes()
    {
        const QByteArray dashes(119, '-');
        QCOMPARE(errorLog({{"C:\\pics\\café.gif", "No such file or directory", 2, {}, false},
                           {"/x/y.gif", "Is a directory", 21, {}, false}},
                          QDate(2026, 3, 7)),
                 "ERROR LOG CREATED BY - TARNWICK - PLUGIN ( Rollcraft 2 ) : 07/03/2026\r\n" +
                     dashes + "\r\nERRORS ARE LISTED IN ERROR-ORDER..:\r\n" + dashes +
                     "\r\nC:\\pics\\caf\xE9.gif\r\nError : No such file or directory code: 2\r\n"
                     "/x/y.gif\r\nError : Is a directory code: 21\r\n");
        // A path Windows-1252 cannot hold turns the whole log into UTF-8 behind the mark.
        const QByteArray utf8 = errorLog(
            {{"/Изображения/a.gif", "Is a directory", 21, "/d/a.gif", true}}, QDate(2026, 3, 7));
        QVERIFY(utf8.startsWith("\xEF\xBB\xBF"
                                "ERROR LOG"));
        QVERIFY(utf8.endsWith("\r\n/Изображения/a.gif\r\nError : Is a directory (destination "
                              "/d/a.gif) code: 21\r\n"));
    }
};

QTEST_MAIN(TestImageCopy)
#include "tst_imagecopy.moc"
