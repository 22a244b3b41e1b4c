// SPDX-License-Identifier: GPL-3.0-or-later
#include "testfiles.h"
#include "windowdriver.h"

#include <QtTest>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

// The companion tool as a script or a user runs it.
class TestTool : public QObject {
    Q_OBJECT
private slots:
    // good.rk2 refers to here.jpg twice and to a missing picture.
    void initTestCase()
    {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(file("here.jpg")));
        writeBytes(file("good.rk2"), rk2(QStringList{"[COMMON]", file("here.jpg")} +
                                         block("Höme", {file("here.jpg"), "C:\\pics\\over.gif", "#",
                                                        "index.htm", "#", "Höme €", "img"})));
        writeBytes(file("none.rk2"), rk2({"[COMMON]", "#"}));
        writeBytes(file("empty.gif"), {});
        writeBytes(file("odd.rk2"), rk2(QStringList{"[COMMON]", "#"} +
                                        block("A", {m_dir.path(), file("empty.gif")})));
        writeBytes(file("broken.rk2"), rk2({"[COMMON]", "#", "[Button]", "A", "#"}));
    }

    // Each row: a shell command line run in the test's folder (a leading "tty"
    // runs it on a pseudo-terminal, where "rollcraft" is the tool as built and
    // dest/ holds an older here.jpg), the exit status, what the tool says on
    // standard output or error, and the answers typed.
    void statusAndMessages_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QByteArray>("answers");
        const auto row = [](const char* command, int status, const QString& says,
                            const QByteArray& answers = {}) {
            QTest::addRow("%s %s: %s", command, QByteArray(answers).replace('\n', ' ').constData(),
                          qPrintable(says))
                << QString(command) << status << says << answers;
        };
        const QString broken = "broken.rk2: line 6: expected the MouseOver image of button 1";
        row("rollcraft render broken.rk2", 2, broken);
        row("rollcraft check broken.rk2", 2, broken);
        row("rollcraft copy-images broken.rk2 /", 2, broken);
        row("rollcraft check nowhere.rk2", 2, "ERROR! Unable to open file.\n");
        row("rollcraft check good.rk2", 1, "C:\\pics\\over.gif  [missing]");
        row("rollcraft check odd.rk2", 1, "  [not a file]");
        row("rollcraft check odd.rk2", 1, "  [empty file]");
        row("rollcraft check none.rk2", 0, "0 button(s)");
        row("rollcraft render -o /nonexistent/p.html good.rk2", 2, "cannot write");
        // Output: never over the data file read, and never unsaid when it fails.
        row("rollcraft render -o good.rk2 good.rk2", 2, "good.rk2 is the data file being read");
        row("ln -s good.rk2 link.rk2; rollcraft render -o link.rk2 good.rk2", 2, "being read");
        row("rollcraft render good.rk2 > /dev/full", 2,
            "cannot write the page to standard output: No space left on device");
        // "Insert script" publishes nothing for a set without buttons; a preview does.
        row("rollcraft render none.rk2", 1, "");
        row("rollcraft render --preview none.rk2", 0, "<html>");
        row("rollcraft copy-images none.rk2 /", 0, "0 images copied");
        // good.rk2 copies here.jpg twice and fails on its missing picture.
        row("rollcraft copy-images --overwrite good.rk2 dest", 1,
            "not copied: C:\\pics\\over.gif -> dest/over.gif: the source: No such file or "
            "directory");
        row("HOME=/nonexistent rollcraft copy-images --overwrite good.rk2 dest", 1,
            "The log \"/nonexistent/twk_error.log\" could not be written; the failed copies are "
            "the 1 listed above.");
        row("rollcraft copy-images --keep-existing good.rk2 dest", 1, "0 images copied");
        // Without a terminal nobody can answer: nothing is copied.
        row("rollcraft copy-images good.rk2 dest; s=$?; cat dest/here.jpg >&2; exit $s", 2,
            "already exist in dest, and without a terminal nobody can be asked about them:\n  "
            "dest/here.jpg\nNothing was copied. Run again with --overwrite to replace them or "
            "--keep-existing to leave them as they are.\nold");
        row("tty rollcraft copy-images good.rk2 dest", 1, "0 images copied", "maybe\nn\nn\n");
        row("tty rollcraft copy-images good.rk2 dest", 1, "1 images copied", "maybe\nno\nyes\n");
        row("tty rollcraft copy-images good.rk2 dest", 1, "Cancelled after 0 images", "c\n");
        row("tty rollcraft copy-images good.rk2 dest", 1, "Cancelled after 0 images", "\x04");
        row("rollcraft copy-images good.rk2 good.rk2", 2, "is not a folder");
        row("rollcraft copy-images --overwrite --keep-existing x y", 64, "exclude each other");
        // Without a display the plug-in cannot start: said, without the toolkit's dump.
        row("unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM; rollcraft host >out 2>&1; s=$?; "
            "echo \"[$(cat out)]\" >&2; exit $s",
            2,
            "[rollcraft host: the plug-in needs a display, and neither DISPLAY nor "
            "WAYLAND_DISPLAY is set.\n'rollcraft render' writes the page for a data file without "
            "one.]");
        row("rollcraft --version", 0, "rollcraft (Rollcraft II) 1.0\n");
        row("rollcraft", 64, "Usage: rollcraft");
        row("rollcraft paint", 64, "unknown command 'paint'");
    }

    void statusAndMessages()
    {
        QFETCH(QString, command);
        QFETCH(QString, says);
        QFETCH(QByteArray, answers);
        QDir(file("dest")).removeRecursively();
        QDir().mkpath(file("dest"));
        writeBytes(file("dest/here.jpg"), "old");
        const QByteArray good = readBytes(file("good.rk2"));
        QString line = "cd '" + m_dir.path() + "' && PATH='" + built("") + "':$PATH; " + command;
        if (line.contains("; tty "))
            line = "script -qec \"" + line.replace("; tty ", "; ") + "\" /dev/null";
        const Run run = runProgram("sh", {"-c", line}, answers);
        QTEST(run.status, "status");
        QVERIFY2(QString::fromUtf8(run.out + run.err).contains(says), run.out + run.err);
        if (run.status == 2) // failures write nothing to standard output
            QCOMPARE(run.out, QByteArray());
        QCOMPARE(readBytes(file("good.rk2")), good);
        QFile::remove(file("link.rk2"));
    }

    // A device or FIFO named as the output is written to, never replaced.
    void outputToAFifo()
    {
        QCOMPARE(mkfifo(qPrintable(file("fifo")), 0600), 0);
        QProcess reader;
        reader.start("cat", {file("fifo")});
        const Run run =
            runProgram(built("rollcraft"), {"render", "-o", file("fifo"), file("good.rk2")});
        QVERIFY(reader.waitForFinished(5000));
        QCOMPARE(run.status, 0);
        QVERIFY(reader.readAllStandardOutput().startsWith("\xEF\xBB\xBF<html>"));
        QVERIFY(QFileInfo(file("fifo")).isFile() == false && QFileInfo::exists(file("fifo")));
    }

    // A reader that went away ends the tool as it ends cat: quietly, also when
    // it was started with SIGPIPE ignored.
    void closedPipeEndsQuietly()
    {
        int ends[2];
        QCOMPARE(pipe(ends), 0);
        ::close(ends[0]);
        QProcess p;
        p.setChildProcessModifier([&ends] {
            ::dup2(ends[1], STDOUT_FILENO);
            std::signal(SIGPIPE, SIG_IGN);
        });
        p.start(built("rollcraft"), {"render", file("good.rk2")});
        QVERIFY(p.waitForFinished(10000));
        ::close(ends[1]);
        QCOMPARE(p.readAllStandardError(), QByteArray());
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);
    }

private:
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestTool)
#include "tst_tool.moc"
