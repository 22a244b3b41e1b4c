// SPDX-License-Identifier: GPL-3.0-or-later
#include "testfiles.h"
#include "windowdriver.h"

#include <QtTest>
#include <sys/stat.h>

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
        // clang-format off
        writeBytes(file("good.rk2"), rk2(QStringList{"[COMMON]", file("here.jpg")} + block("Höme", {file("here.jpg"), "C:\\pics\\over.gif", "#", "index.htm", "#", "Höme €", "img"})));
        writeBytes(file("none.rk2"), rk2({"[COMMON]", "#"}));
        writeBytes(file("empty.gif"), {});
        writeBytes(file("odd.rk2"), rk2(QStringList{"[COMMON]", "#"} + block("A", {m_dir.path(), file("empty.gif")})));
        // clang-format on
        writeBytes(file("broken.rk2"), rk2({"[COMMON]", "#", "[Button]", "A", "#"}));
        writeBytes(file("fifo-picture.rk2"),
                   rk2(QStringList{"[COMMON]", "#"} +
                       block("A", {file("pipe.gif"), "#", "#", "#", "#", "#", "img"})));
        QCOMPARE(mkfifo(QFile::encodeName(file("pipe.gif")).constData(), 0600), 0);
    }

    // Each row: a command run in the test's folder, dest/ holding an old here.jpg
    // ("tty": on a pseudo-terminal), the status, words said, answers typed.
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
        // clang-format off
        row("rollcraft render broken.rk2", 2, broken);
        row("rollcraft check broken.rk2", 2, broken);
        row("rollcraft copy-images broken.rk2 /", 2, broken);
        row("rollcraft check nowhere.rk2", 2, "ERROR! Unable to open file.\n");
        row("rollcraft check good.rk2", 1, "C:\\pics\\over.gif  [missing]");
        row("rollcraft check odd.rk2", 1, "  [not a file]");
        row("rollcraft check odd.rk2", 1, "  [empty file]");
        // Only a regular file is a data file, refused at once otherwise, and none is read past the bound.
        row("rollcraft check /dev/zero", 2, "/dev/zero: expected a readable file (Not a regular file (a device))");
        row("ln -sf /dev/zero z.rk2; rollcraft copy-images z.rk2 dest", 2, "z.rk2: expected a readable file (Not a regular file (a device))");
        row("mkfifo f.rk2; rollcraft render f.rk2", 2, "f.rk2: expected a readable file (Not a regular file (a FIFO))");
        row("rollcraft check - < /dev/zero", 2, "standard input: expected a data file of at most 32 MiB, not a larger file");
        // A picture that is a FIFO has no size, and keeps nobody waiting.
        row("rollcraft render --modern fifo-picture.rk2", 0, R"(<img class="rc-o" src="img/pipe.gif" alt="" decoding="async">)");
        row("rollcraft render - -o good.rk2 < good.rk2", 2, "good.rk2 is the data file being read");
        row("rollcraft render --modern - -o good.rk2 < good.rk2", 2, "good.rk2 is the data file being read");
        // Every write to standard output is checked.
        row("rollcraft check good.rk2 > /dev/full", 2, "rollcraft check: cannot write its output to standard output: No space left on device");
        row("rollcraft --version > /dev/full", 2, "rollcraft: cannot write its output to standard output");
        row("rollcraft render --help > /dev/full", 2, "rollcraft render: cannot write its output");
        row("rollcraft render -o /nonexistent/p.html good.rk2", 2, "cannot write");
        // Output: never over the data file read, never unsaid, a FIFO written to.
        row("rollcraft render -o good.rk2 good.rk2", 2, "good.rk2 is the data file being read");
        row("ln -sf good.rk2 link.rk2; rollcraft render -o link.rk2 good.rk2", 2, "being read");
        row("rollcraft render good.rk2 > /dev/full", 2, "cannot write the page to standard output: No space left on device");
        // A reader gone ends the tool quietly as it ends cat (by SIGPIPE), even with SIGPIPE ignored.
        row("python3 -c \"import os, signal, subprocess as s; r, w = os.pipe(); os.close(r); signal.signal(signal.SIGPIPE, signal.SIG_IGN); "
            "p = s.run(['rollcraft', 'render', 'good.rk2'], stdout=w, stderr=s.PIPE, restore_signals=False); print(p.returncode, p.stderr)\"", 0, "-13 b''\n");
        row("mkfifo f; cat f >&2 & rollcraft render -o f good.rk2 && test -p f; s=$?; wait; rm f; exit $s", 0, "\uFEFF<html>");
        // "Insert script" publishes nothing for a set without buttons; a preview does.
        row("rollcraft render none.rk2", 1, "");
        row("rollcraft render --preview none.rk2", 0, "<html>");
        // Sizes from the picture's header; none for a file that is not there.
        row("rollcraft render --modern good.rk2", 0, R"(alt="Höme €" width="4" height="4" decoding="async"><img class="rc-v" src="img/over.gif" alt="" decoding="async" fetchpriority="low"></a>)");
        row("rollcraft render --modern --lang de-CH --title Menü good.rk2", 0, "<html lang=\"de-CH\">\n<head>\n<meta charset=\"utf-8\">");
        row("rollcraft render --modern --title Menü good.rk2", 0, "<title>Menü</title>");
        row("rollcraft render --title Menü good.rk2", 64, "--title goes with --modern");
        row("rollcraft render --modern --prefix x- good.rk2", 64, "--prefix goes with --fragment");
        row("rollcraft render --modern --fragment --prefix 9x good.rk2", 64, "--prefix must begin with a letter or '_'");
        row("rollcraft render --modern --fragment --prefix x- good.rk2", 0, "<div class=\"x-menu\">\n<style>\n.x-menu [class]{all:revert}");
        row("rollcraft copy-images none.rk2 /", 0, "0 images copied");
        row("rollcraft copy-images --overwrite good.rk2 dest", 1, "not copied: C:\\pics\\over.gif -> dest/over.gif: the source: No such file or directory");
        row("HOME=/nonexistent rollcraft copy-images --overwrite good.rk2 dest", 1, "The log \"/nonexistent/twk_error.log\" could not be written; the failed copies are the 1 listed above.");
        row("rollcraft copy-images --keep-existing good.rk2 dest", 1, "0 images copied");
        // Without a terminal nobody can answer: nothing is copied.
        row("rollcraft copy-images good.rk2 dest; s=$?; cat dest/here.jpg >&2; exit $s", 2, "already exist in dest, and without a terminal nobody can be asked about them:\n  dest/here.jpg\nNothing was copied. Run again with --overwrite to replace them or --keep-existing to leave them as they are.\nold");
        row("tty rollcraft copy-images good.rk2 dest", 1, "0 images copied", "maybe\nn\nn\n");
        row("tty rollcraft copy-images good.rk2 dest", 1, "1 images copied", "maybe\nno\nyes\n");
        row("tty rollcraft copy-images good.rk2 dest", 1, "Cancelled after 0 images", "c\n");
        row("tty rollcraft copy-images good.rk2 dest", 1, "Cancelled after 0 images", "\x04");
        row("rollcraft copy-images good.rk2 good.rk2", 2, "is not a folder");
        row("rollcraft copy-images --overwrite --keep-existing x y", 64, "exclude each other");
        // Without a display the plug-in cannot start: said, without the toolkit's dump.
        row("unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM; rollcraft host >out 2>&1; s=$?; echo \"[$(cat out)]\" >&2; exit $s", 2,
            "[rollcraft host: the plug-in needs a display, and neither DISPLAY nor WAYLAND_DISPLAY is set.\n'rollcraft render' writes the page for a data file without one.]");
        // The plug-in starts only as "-startplugin", and only with a session bus.
        row("(rollcraft2 && rollcraft2 -StartPlugin && rollcraft2 --startplugin && rollcraft2 -startplugin x && rollcraft2 '-startplugin ') >out 2>&1; s=$?; echo \"[$(cat out)]\" >&2; exit $s", 0, "[]");
        row("DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent rollcraft2 -startplugin", 2, "");
        row("rollcraft --version", 0, "rollcraft (Rollcraft II) 1.0\n");
        row("rollcraft", 64, "Usage: rollcraft");
        row("rollcraft paint", 64, "unknown command 'paint'");
        // clang-format on
    }

    void statusAndMessages()
    {
        QFETCH(QString, command);
        QFETCH(QString, says);
        QFETCH(QByteArray, answers);
        const QByteArray good = readBytes(file("good.rk2"));
        QString line = "cd '" + m_dir.path() +
                       "' && rm -rf dest && mkdir dest && printf old >dest/here.jpg && PATH='" +
                       built("") + "':$PATH; " + command;
        if (line.contains("; tty "))
            line = "script -qec \"" + line.replace("; tty ", "; ") + "\" /dev/null";
        const Run run = runProgram("sh", {"-c", line}, answers);
        QTEST(run.status, "status");
        QVERIFY2(QString::fromUtf8(run.out + run.err).contains(says), run.out + run.err);
        if (run.status == 2) // failures write nothing to standard output
            QCOMPARE(run.out, QByteArray());
        QCOMPARE(readBytes(file("good.rk2")), good);
    }

    // Each row: a data file written as t.rk2 and as plain ('@': the test's folder,
    // where every picture named exists), the arguments, words said, exit status.
    void checkFindings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("says");
        QTest::addColumn<int>("status");
        const auto row = [](const char* what, const QByteArray& bytes, const QString& says,
                            int status = 1, const char* arguments = "check @/t.rk2") {
            QTest::newRow(what) << bytes << QString(arguments) << says << status;
        };
        // One button "B" with these values in file order.
        const auto one = [](const QStringList& values, const QString& defaultImage = "#") {
            return rk2(QStringList{"[COMMON]", defaultImage} + block("B", values));
        };
        const QString p = "@/p.gif";
        const QString alt = "button 1 \"B\", Alt: ";
        const QString prefix = "button 1 \"B\", Image path prefix: ";
        // clang-format off
        row("nothing the page cannot carry", one({p, "@/it's here/q\"v w.gif", p, "it's.htm?a=1#x", "_top", "Café \\'a\\' \\x41\\u00e9\\u{1F600} <b>", "img\\/"}, "@/it's here/d.gif"),
            "0 of 4 image file(s) missing or unreadable, 0 warning(s).", 0);
        row("apostrophe in Alt", one({p, "#", "#", "#", "#", "Today's news"}), alt + "its apostrophe ends the script's string: the button does not light up (SyntaxError)");
        row("backslash ends Alt", one({p, "#", "#", "#", "#", "C:\\"}), alt + "the script cannot read its backslash");
        row("bad escape in Alt", one({p, "#", "#", "#", "#", "\\x4G"}), alt + "the script cannot read its backslash");
        row("quote in Alt", one({p, "#", "#", "#", "#", "say \"hi\""}), alt + "its \" ends the mouse-over attribute: the button does not light up, and its alternative text is cut");
        row("quote in Url", one({p, "#", "#", "a\"b.htm"}), "Url: its \" ends the link's attribute: the link goes to \"a\"");
        row("quote in Target", one({p, "#", "#", "#", "ma\"in"}), "Target: its \" ends the target's attribute: the link opens in \"ma\"");
        row("# in a file name", one({"@/a#b.gif"}), "MouseOut image: the browser reads \"a#b.gif\" only up to its \"#\": a broken picture");
        row("? in a file name", one({p, "@/a?b.gif"}), "reads \"a?b.gif\" only up to its \"?\"");
        row("% in a file name", one({p, "#", "@/50%.gif"}), "Description image: the browser reads the \"%\" in \"50%.gif\" as an escape");
        row("apostrophe in a file name", one({p, "#", "@/it's.gif"}), "the apostrophe in \"it's.gif\" ends the script's string: no button lights up");
        row("quote in the default file name", one({p}, "@/q\"d.gif"), "Default description image: the \" in \"q\"d.gif\" ends the picture's attribute");
        row("relative path", one({"pics/home.gif", "#", "#", "#", "#", "#", "img"}), "MouseOut image: \"pics/home.gif\" gives the page no file name (src = 'img/', a broken picture) and cannot be copied");
        row("apostrophe in a prefix", one({p, "#", "#", "#", "#", "#", "im'g"}), prefix + "its apostrophe ends the script's string: no button lights up");
        row("backslash in a prefix", one({p, "#", "#", "#", "#", "#", "img\\pics"}), prefix + "the script drops its backslash, the page reads it as '/'");
        row("quote in a prefix", one({p, "#", "#", "#", "#", "#", "im\"g"}), prefix + "its \" ends the button picture's attribute");
        row("# in a prefix", one({p, "#", "#", "#", "#", "#", "#img"}), prefix + "the browser reads the prefix only up to its \"#\"");
        row("empty name in the middle", rk2(QStringList{"[COMMON]", "#"} + block("B", {p}) + block("") + block("D", {p})),
            "button 2 (no name), Name: the page ends before this button: the file lists 3 buttons, the page has 1");
        row("no buttons", rk2({"[COMMON]", "#"}), "Buttons: the set has none: \"Insert script\" publishes no page");
        row("a picture copied outside the folder", one({"@/dl/evil\\../.bashrc"}),
            "button 1 \"B\", MouseOut image: the picture would be copied outside the folder, as \"../.bashrc\": \"Copy images to path...\" leaves it out");
        row("same file name twice", rk2(QStringList{"[COMMON]", "#"} + block("B", {"@/en/btn.gif"}) + block("C", {"@/de/btn.gif"})),
            "button 2 \"C\", MouseOut image: copied as btn.gif, it replaces the MouseOut image of button 1 \"B\" (@/en/btn.gif): both show this picture");
        row("saved as UTF-8 by an editor", QStringList({"[COMMON]", "#", "[Button]", "B", p, "#", "#", "#", "#", "Café", "#", ""}).join("\r\n").toUtf8(),
            "Data file: it is UTF-8 without the UTF-8 mark, likely saved so by an editor: it reads as Windows-1252, \"é\" as \"Ã©\"");
        // The data file named the way a shell user expects.
        row("a name that exists is read as given", one({p}), "@/plain: 1 button(s)", 0, "check @/plain");
        row("render reads it as given too", one({p}), "<html>", 0, "render @/plain");
        row("a name that does not exist gets .rk2", one({p}), "@/t.rk2: 1 button(s)", 0, "check @/t");
        row("- is standard input", one({p}), "standard input: 1 button(s)", 0, "check -");
        row("a folder", one({p}), "@: expected a data file, not a folder", 2, "check @");
        // clang-format on
    }

    void checkFindings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, arguments);
        QFETCH(QString, says);
        const QString at = m_dir.path();
        bytes.replace('@', at.toUtf8());
        writeBytes(file("t.rk2"), bytes);
        writeBytes(file("plain"), bytes);
        const QRegularExpression picture("^" + QRegularExpression::escape(at) + "/.*\\.gif$",
                                         QRegularExpression::MultilineOption);
        for (auto m = picture.globalMatch(QString::fromLatin1(bytes).remove('\r')); m.hasNext();) {
            const QString path = m.next().captured();
            QDir().mkpath(QFileInfo(path).path());
            writeBytes(path, "GIF");
        }
        const Run run = runProgram(built("rollcraft"), arguments.replace('@', at).split(' '),
                                   arguments.endsWith(" -") ? bytes : QByteArray());
        const QString output = QString::fromUtf8(run.out + run.err);
        QVERIFY2(output.contains(says.replace('@', at)), qPrintable(output));
        QTEST(run.status, "status");
    }

    // A set from elsewhere whose picture names climb out of the folder: the tool, asked
    // or not, writes only its one good picture, and nothing outside DEST.
    void copyingACraftedSetWritesOnlyIntoTheFolder()
    {
        QTemporaryDir dir;
        const QString root = dir.path();
        for (const char* folder : {"dl/evil\\../autostart", "site/pics", "site/autostart"})
            QVERIFY(QDir(root).mkpath(folder));
        writeBytes(dir.filePath("dl/evil\\../.bashrc"), "evil");
        writeBytes(dir.filePath("dl/evil\\../autostart/x.desktop"), "evil");
        writeBytes(dir.filePath("dl/ok.gif"), "ok");
        writeBytes(dir.filePath("site/.bashrc"), "mine");
        const QString dl = root + "/dl/";
        writeBytes(dir.filePath("set.rk2"),
                   rk2(QStringList{"[COMMON]", dl + "evil\\"} +
                       block("A", {dl + "evil\\../.bashrc", dl + "evil\\../autostart/x.desktop",
                                   dl + "ok.gif"})));
        const QStringList before = filesUnder(root);
        const QString set = dir.filePath("set.rk2"), dest = dir.filePath("site/pics");
        for (const QStringList& options : {QStringList{}, QStringList{"--overwrite"}}) {
            const Run run = runProgram(built("rollcraft"), QStringList{"copy-images"} + options +
                                                               QStringList{set, dest});
            QVERIFY2(run.status == 1, run.err);
            QCOMPARE(run.err.count("would be copied outside the folder"), 2);
            QCOMPARE(filesUnder(root), QStringList(before + QStringList{"site/pics/ok.gif"}));
        }
    }

    // The tool ended by a logout or a closed terminal while a picture is half copied:
    // the earlier picture stays, and nothing else is in the folder.
    void signalsMidCopyLeaveOnlyWholeFiles_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }

    void signalsMidCopyLeaveOnlyWholeFiles()
    {
        QFETCH(int, signal);
        QTemporaryDir dir;
        writeBytes(dir.filePath("big.gif"), {});
        QVERIFY(QFile::resize(dir.filePath("big.gif"), qint64(1) << 30)); // read as zeros
        QVERIFY(QDir(dir.path()).mkdir("dst"));
        writeBytes(dir.filePath("dst/big.gif"), "old");
        writeBytes(dir.filePath("set.rk2"),
                   rk2(QStringList{"[COMMON]", "#"} + block("A", {dir.filePath("big.gif")})));
        QProcess tool;
        tool.start(built("rollcraft"),
                   {"copy-images", "--overwrite", dir.filePath("set.rk2"), dir.filePath("dst")});
        QVERIFY(tool.waitForStarted());
        // Mid-copy: the tool holds a file open in the folder.
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(tool.processId()));
        const auto copying = [&] {
            const QStringList open = fds.entryList(QDir::Files | QDir::System);
            return std::any_of(open.begin(), open.end(), [&](const QString& fd) {
                return QFile::symLinkTarget(fds.filePath(fd)).startsWith(dir.filePath("dst/"));
            });
        };
        QTRY_VERIFY_WITH_TIMEOUT(copying(), 10000);
        ::kill(pid_t(tool.processId()), signal);
        QVERIFY(tool.waitForFinished(10000));
        QCOMPARE(tool.exitStatus(), QProcess::CrashExit);
        QCOMPARE(QDir(dir.filePath("dst")).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{"big.gif"});
        QCOMPARE(readBytes(dir.filePath("dst/big.gif")), "old");
    }

private:
    // Every file under `root`, with its bytes.
    static QStringList filesUnder(const QString& root)
    {
        QStringList files;
        QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            files << path.mid(root.size() + 1) +
                         (path.endsWith(".gif") ? "" : "=" + readBytes(path));
        }
        files.sort();
        return files;
    }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestTool)
#include "tst_tool.moc"
