// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "testfiles.h"

#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The companion tool: its commands called in this process, and as a script or a user runs it where the process itself
// is the point (a terminal, signals, a pipe, the environment).
class TestTool : public QObject {
    Q_OBJECT
private slots:
    // The data files of e2e/data in the test's folder, the current one, '@' in them the folder: good.rk2 refers to
    // here.jpg twice and to a missing picture; crafted.rk2's picture climbs out of the folder it is copied to; every
    // picture clean.rk2 and findings.rk2 name is there.
    void initTestCase()
    {
        QVERIFY(QDir::setCurrent(m_dir.path()));
        for (const QFileInfo& data : QDir(QFINDTESTDATA("e2e/data")).entryInfoList({"*.rk2"}))
            writeBytes(data.fileName(), readBytes(data.filePath()).replace('@', m_dir.path().toUtf8()));
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save("here.jpg"));
        for (const char* picture :
             {"p.gif", "it's here/q\"v w.gif", "it's here/d.gif", "dl/evil\\../.bashrc", "ok.gif", "q\"d.gif",
              "a#b.gif", "a?b.gif", "50%.gif", "it's.gif", "en/btn.gif", "de/btn.gif"}) {
            QVERIFY(QDir().mkpath(QFileInfo(picture).path()));
            writeBytes(picture, "GIF");
        }
        writeBytes("empty.gif", {});
        writeBytes(".bashrc", "mine");
        QCOMPARE(mkfifo("pipe.gif", 0600), 0);
        QVERIFY(QFile::copy("good.rk2", "plain") && QFile::link("good.rk2", "link.rk2"));
    }

    void init()
    {
        QDir("dest").removeRecursively();
        QVERIFY(QDir().mkdir("dest"));
        writeBytes("dest/here.jpg", "old");
    }

    // Each row: the command line (one space apart), what standard input and output are (empty: nothing, and caught),
    // the status, words said on either.
    void commands_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        const auto row = [](const char* rule, const char* line, int status, const QString& says, const char* input = "",
                            const char* output = "") {
            QTest::newRow(rule) << line << input << output << status << says;
        };
        const QString broken = "broken.rk2: line 6: expected the MouseOver image of button 1";
        const QString full = "cannot write its output to standard output: No space left on device";
        const QString read = "good.rk2 is the data file being read";
        const QString outside = "the picture would be copied outside the folder, as \"../.bashrc\"";
        row("render: a data file that does not read", "render broken.rk2", 2, broken);
        row("check: a data file that does not read", "check broken.rk2", 2, broken);
        row("copy-images: a data file that does not read", "copy-images broken.rk2 /", 2, broken);
        row("a data file not there", "check nowhere.rk2", 2, "ERROR! Unable to open file.\n");
        row("a name that exists is read as given", "check plain", 1, "plain: 1 button(s)");
        row("render reads it as given too", "render plain", 0, "<html>");
        row("a name that does not exist gets .rk2", "check good", 1, "good.rk2: 1 button(s)");
        row("- is standard input", "check -", 1, "standard input: 1 button(s)", "good.rk2");
        row("a folder is no data file", "check dest", 2, "dest: expected a data file, not a folder");
        row("a device is no data file", "check /dev/zero", 2, "/dev/zero: expected a readable file (Not a regular");
        row("standard input no further than a data file", "check -", 2, "at most 32 MiB, not a larger", "/dev/zero");
        row("check: what the page carries", "check clean.rk2", 0, "0 of 4 image file(s) missing or unreadable, 0 warn");
        row("check: no buttons", "check none.rk2", 1, "Buttons: the set has none: \"Insert script\" publishes no page");
        row("check: saved as UTF-8 by an editor", "check utf8.rk2", 1, "without the UTF-8 mark, likely saved so by an");
        row("a FIFO picture keeps nobody waiting", "render --modern fifo-picture.rk2", 0,
            R"(<img class="rc-o" src="img/pipe.gif" alt="" decoding="async">)");
        row("sizes from the picture's header, none for a file not there", "render --modern good.rk2", 0,
            R"(width="4" height="4" decoding="async"><img class="rc-v" src="img/over.gif" alt="" decoding="async" )");
        row("--lang reaches the page", "render --modern --lang de-CH good.rk2", 0, "<html lang=\"de-CH\">\n<head>");
        row("--title reaches the page", "render --modern --title Menü good.rk2", 0, "<title>Menü</title>");
        row("--prefix reaches the fragment", "render --modern --fragment --prefix x- good.rk2", 0,
            "<div class=\"x-menu\">");
        row("--title goes with --modern", "render --title Menü good.rk2", 64, "--title goes with --modern");
        row("--prefix goes with --fragment", "render --modern --prefix x- good.rk2", 64,
            "--prefix goes with --fragment");
        row("--prefix a class name", "render --modern --fragment --prefix 9x good.rk2", 64,
            "begin with a letter or '_'");
        row("no page for a set without buttons", "render none.rk2", 1, "");
        row("a preview for a set without buttons", "render --preview none.rk2", 0, "<html>");
        row("never over the data file read", "render -o good.rk2 good.rk2", 2, read);
        row("nor over it by another name", "render -o link.rk2 good.rk2", 2, "link.rk2 is the data file being read");
        row("nor over it as standard input", "render - -o good.rk2", 2, read, "good.rk2");
        row("a page file that cannot be written", "render -o /nonexistent/p.html good.rk2", 2, "cannot write");
        row("a full standard output: the page", "render good.rk2", 2,
            "cannot write the page to standard output: No space", "", "/dev/full");
        row("check's output too", "check good.rk2", 2, "rollcraft check: " + full, "", "/dev/full");
        row("the version too", "--version", 2, "rollcraft: " + full, "", "/dev/full");
        row("copy-images: none to copy", "copy-images none.rk2 /", 0, "0 images copied");
        row("copy-images: a failed copy", "copy-images --overwrite good.rk2 dest", 1,
            "not copied: C:\\pics\\over.gif -> dest/over.gif: the source: No such file or directory");
        row("copy-images: the existing kept", "copy-images --keep-existing good.rk2 dest", 1, "0 images copied");
        row("copy-images: asked, nothing outside the folder", "copy-images crafted.rk2 dest", 1, outside);
        row("copy-images --overwrite: nothing outside either", "copy-images --overwrite crafted.rk2 dest", 1, outside);
        row("copy-images: into a file", "copy-images good.rk2 good.rk2", 2, "is not a folder");
        row("copy-images: one way with existing files", "copy-images --overwrite --keep-existing x y", 64, "exclude");
        row("the version", "--version", 0, "rollcraft (Rollcraft II) 1.0\n");
        row("no command", "", 64, "Usage: rollcraft");
        row("an unknown command", "paint", 64, "unknown command 'paint'");
    }

    void commands()
    {
        QFETCH(QString, line);
        QFETCH(QString, input);
        QFETCH(QString, output);
        QFETCH(QString, says);
        const QByteArray good = readBytes("good.rk2");
        const Run run = inProcess(line.split(' ', Qt::SkipEmptyParts), input, output);
        QTEST(run.status, "status");
        QVERIFY2(QString::fromUtf8(run.out + run.err).contains(says), run.out + run.err);
        if (run.status == 2) // failures write nothing to standard output
            QCOMPARE(run.out, QByteArray());
        QCOMPARE(readBytes("good.rk2"), good);
        QCOMPARE(readBytes(".bashrc"), "mine");
    }

    // One of each finding as a user reads it, each button named after the rule it breaks.
    void checkFindings()
    {
        const Run run = inProcess({"check", "findings.rk2"});
        QCOMPARE(run.status, 1);
        QCOMPARE(QString::fromUtf8(run.out + run.err).replace(m_dir.path(), "@").split('\n'),
                 QString::fromUtf8(readBytes(QFINDTESTDATA("e2e/data/findings.txt"))).split('\n'));
    }

    // Each row: a shell command line run in the test's folder, the status, words said, answers typed ("tty": the tool
    // on a pseudo-terminal).
    void journeys_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QByteArray>("answers");
        const auto row = [](const char* rule, const QString& command, int status, const QString& says,
                            const QByteArray& answers = {}) {
            QTest::newRow(rule) << command << status << says << answers;
        };
        const QString copy = "tty rollcraft copy-images good.rk2 dest";
        row("asked on the terminal until answered", copy, 1, "0 images copied", "maybe\nn\nn\n");
        row("asked for each file", copy, 1, "1 images copied", "maybe\nno\nyes\n");
        row("cancelled on the terminal", copy, 1, "Cancelled after 0 images", "c\n");
        row("cancelled at the end of input", copy, 1, "Cancelled after 0 images", "\x04");
        row("without a terminal nobody is asked, and nothing copied",
            "rollcraft copy-images good.rk2 dest; s=$?; cat dest/here.jpg >&2; exit $s", 2,
            "already exist in dest, and without a terminal nobody can be asked about them:\n  dest/here.jpg\nNothing "
            "was copied. Run again with --overwrite to replace them or "
            "--keep-existing to leave them as they are.\nold");
        row("a log that cannot be written is said", "HOME=/nonexistent rollcraft copy-images --overwrite good.rk2 dest",
            1,
            "The log \"/nonexistent/twk_error.log\" could not be written; the failed copies are the 1 listed above.");
        // A reader gone ends the tool quietly as it ends cat (by SIGPIPE), even with SIGPIPE ignored.
        row("a closed pipe ends the tool quietly",
            "python3 -c \"import os, signal, subprocess as s; r, w = os.pipe(); os.close(r); "
            "signal.signal(signal.SIGPIPE, signal.SIG_IGN); p = s.run(['rollcraft', 'render', "
            "'good.rk2'], stdout=w, stderr=s.PIPE, restore_signals=False); print(p.returncode, p.stderr)\"",
            0, "-13 b''\n");
        row("a FIFO is written to, not replaced",
            "mkfifo f; cat f >&2 & rollcraft render -o f good.rk2 && test -p f; s=$?; wait; rm f; exit $s", 0,
            "\uFEFF<html>");
        row("without a display the plug-in is not started, and that is said alone",
            "unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM; rollcraft host >out 2>&1; s=$?; echo \"[$(cat out)]\" >&2; "
            "exit $s",
            2,
            "[rollcraft host: the plug-in needs a display, and neither DISPLAY nor WAYLAND_DISPLAY is set.\n"
            "'rollcraft render' writes the page for a data file without one.]");
        row("the plug-in starts only as -startplugin",
            "(rollcraft2 && rollcraft2 -StartPlugin && rollcraft2 --startplugin && rollcraft2 -startplugin x && "
            "rollcraft2 '-startplugin ') >out 2>&1; s=$?; echo \"[$(cat out)]\" >&2; exit $s",
            0, "[]");
        row("the plug-in starts only with a session bus",
            "DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent rollcraft2 -startplugin", 2, "");
    }

    void journeys()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, answers);
        QString line = "PATH='" + built("") + "':$PATH; " + command;
        const QString python = program("ROLLCRAFT_PYTHON3", "python3"), script = program("ROLLCRAFT_SCRIPT", "script");
        if (line.contains("python3 -c") && python.isEmpty())
            QSKIP("skipped: it needs python3 (Debian package python3), which is not installed");
        if (line.contains("; tty ") && script.isEmpty())
            QSKIP("skipped: it needs script (Debian package bsdutils), which is not installed");
        line.replace("python3 -c", "'" + python + "' -c");
        if (line.contains("; tty "))
            line = "'" + script + "' -qec \"" + line.replace("; tty ", "; ") + "\" /dev/null";
        const Run run = runProgram("sh", {"-c", line}, answers);
        QTEST(run.status, "status");
        QFETCH(QString, says);
        QVERIFY2(QString::fromUtf8(run.out + run.err).contains(says), run.out + run.err);
    }

    // The tool ended by a logout or a closed terminal while a picture is half copied: the earlier picture stays, and
    // nothing else is in the folder.
    void aSignalMidCopyLeavesOnlyWholeFiles()
    {
        writeBytes("big.gif", {});
        QVERIFY(QFile::resize("big.gif", qint64(1) << 30)); // read as zeros
        writeBytes("big.rk2", rk2(QStringList{"[COMMON]", "#"} + block("A", {file("big.gif")})));
        QProcess tool;
        tool.start(built("rollcraft"), {"copy-images", "--overwrite", "big.rk2", "dest"});
        QVERIFY(tool.waitForStarted());
        // Mid-copy: the tool holds a file open in the folder.
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(tool.processId()));
        const auto copying = [&] {
            const QStringList open = fds.entryList(QDir::Files | QDir::System);
            return std::any_of(open.begin(), open.end(), [&](const QString& fd) {
                return QFile::symLinkTarget(fds.filePath(fd)).startsWith(file("dest/"));
            });
        };
        QTRY_VERIFY_WITH_TIMEOUT(copying(), 10000);
        ::kill(pid_t(tool.processId()), SIGTERM);
        QVERIFY(tool.waitForFinished(10000));
        QCOMPARE(tool.exitStatus(), QProcess::CrashExit);
        QCOMPARE(QDir("dest").entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{"here.jpg"});
        QCOMPARE(readBytes("dest/here.jpg"), "old");
    }

private:
    // runTool(arguments) here, standard input and output the files named (empty: none, and caught), standard error
    // caught.
    static Run inProcess(const QStringList& arguments, const QString& input = {}, const QString& output = {})
    {
        QTemporaryFile out, err;
        if (!out.open() || !err.open())
            return {};
        std::fflush(nullptr);
        const int to[] = {::open(input.isEmpty() ? "/dev/null" : qPrintable(input), O_RDONLY),
                          output.isEmpty() ? ::dup(out.handle()) : ::open(qPrintable(output), O_WRONLY),
                          ::dup(err.handle())};
        int saved[3];
        for (int fd = 0; fd < 3; ++fd) {
            saved[fd] = ::dup(fd);
            ::dup2(to[fd], fd);
            ::close(to[fd]);
        }
        const int status = runTool(arguments);
        for (int fd = 0; fd < 3; ++fd) {
            ::dup2(saved[fd], fd);
            ::close(saved[fd]);
        }
        return {status, readBytes(out.fileName()), readBytes(err.fileName())};
    }
    // What ctest found (empty: not installed), or by hand what is on PATH.
    static QString program(const char* variable, const char* name)
    {
        return qEnvironmentVariableIsSet(variable) ? qEnvironmentVariable(variable)
                                                   : QStandardPaths::findExecutable(name);
    }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestTool)
#include "tst_tool.moc"
