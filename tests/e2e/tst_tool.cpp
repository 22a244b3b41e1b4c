// SPDX-License-Identifier: GPL-3.0-or-later
#include "testfiles.h"
#include "windowdriver.h"

#include <QtTest>

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

    // Each row: the arguments (the files named are in the test's folder, where
    // dest/ holds an older here.jpg), the exit status, what the tool says on
    // standard output or error, and the answers typed.
    void statusAndMessages_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QByteArray>("answers");
        const auto row = [](const char* arguments, int status, const QString& says,
                            const QByteArray& answers = {}) {
            QTest::addRow("%s %s: %s", arguments,
                          QByteArray(answers).replace('\n', ' ').constData(), qPrintable(says))
                << QString(arguments) << status << says << answers;
        };
        const QString broken = "broken.rk2: line 6: expected the MouseOver image of button 1";
        row("render broken.rk2", 2, broken);
        row("check broken.rk2", 2, broken);
        row("copy-images broken.rk2 /", 2, broken);
        row("check nowhere.rk2", 2, "ERROR! Unable to open file.\n");
        row("check good.rk2", 1, "C:\\pics\\over.gif  [missing]");
        row("check odd.rk2", 1, "  [not a file]");
        row("check odd.rk2", 1, "  [empty file]");
        row("render -o /nonexistent/p.html good.rk2", 2, "cannot write");
        // "Insert script" publishes nothing for a set without buttons; a preview does.
        row("render none.rk2", 1, "");
        row("render --preview none.rk2", 0, "<html>");
        // Sizes from the picture's header; none for a file that is not there.
        row("render --modern good.rk2", 0,
            R"(alt="Höme €" width="4" height="4"><img class="v" src="img/over.gif" alt="Höme €"></a>)");
        row("render --modern --lang de-CH --title Menü good.rk2", 0,
            "<html lang=\"de-CH\">\n<head>\n<meta charset=\"utf-8\">");
        row("render --modern --title Menü good.rk2", 0, "<title>Menü</title>");
        row("render --title Menü good.rk2", 64, "--lang and --title go with --modern");
        row("copy-images none.rk2 /", 0, "0 images copied");
        // good.rk2 copies here.jpg twice and fails on its missing picture.
        row("copy-images --overwrite good.rk2 dest", 1, "2 images copied");
        row("copy-images --keep-existing good.rk2 dest", 1, "0 images copied");
        row("copy-images good.rk2 dest", 1, "0 images copied", "maybe\nn\nn\n");
        row("copy-images good.rk2 dest", 1, "1 images copied", "maybe\nno\nyes\n");
        row("copy-images good.rk2 dest", 1, "Cancelled after 0 images", "c\n");
        row("copy-images good.rk2 dest", 1, "Cancelled after 0 images");
        row("copy-images good.rk2 good.rk2", 2, "is not a folder");
        row("copy-images --overwrite --keep-existing x y", 64, "exclude each other");
        row("", 64, "Usage: rollcraft");
        row("paint", 64, "unknown command 'paint'");
    }

    void statusAndMessages()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, says);
        QFETCH(QByteArray, answers);
        QDir(file("dest")).removeRecursively();
        QDir().mkpath(file("dest"));
        writeBytes(file("dest/here.jpg"), "old");
        const QRegularExpression local("^(\\w+\\.rk2|dest)$");
        const Run run = runProgram(
            built("rollcraft"),
            arguments.split(' ', Qt::SkipEmptyParts).replaceInStrings(local, m_dir.path() + "/\\1"),
            answers);
        QTEST(run.status, "status");
        QVERIFY2(QString::fromUtf8(run.out + run.err).contains(says), run.out + run.err);
        if (run.status == 2) // reading errors write nothing to standard output
            QCOMPARE(run.out, QByteArray());
    }

    // Each row: a data file, written as NAME ('@' is the test's folder, and every
    // picture a row names under it exists), the arguments, the words that matter
    // of what the tool says, and its exit status.
    void checkFindings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("says");
        QTest::addColumn<int>("status");
        const auto row = [](const char* what, const QByteArray& bytes, const QString& says,
                            int status = 1, const char* arguments = "check @/t.rk2",
                            const char* name = "t.rk2") {
            QTest::newRow(what) << bytes << QString(name) << QString(arguments) << says << status;
        };
        // One button "B" with these values in file order (MouseOut, MouseOver,
        // Description, Url, Target, Alt, prefix).
        const auto one = [](const QStringList& values, const QString& defaultImage = "#") {
            return rk2(QStringList{"[COMMON]", defaultImage} + block("B", values));
        };
        const QString p = "@/p.gif";
        const QString alt = "button 1 \"B\", Alt: ";
        const QString prefix = "button 1 \"B\", Image path prefix: ";
        row("nothing the page cannot carry",
            one({p, "@/it's here/q\"v w.gif", p, "it's.htm?a=1#x", "_top",
                 "Café \\'a\\' \\x41\\u00e9\\u{1F600} <b>", "img\\/"},
                "@/it's here/d.gif"),
            "0 of 4 image file(s) missing or unreadable, 0 warning(s).", 0);
        row("apostrophe in Alt", one({p, "#", "#", "#", "#", "Today's news"}),
            alt + "its apostrophe ends the script's string: the button does not light up");
        row("backslash ends Alt", one({p, "#", "#", "#", "#", "C:\\"}),
            alt + "the script cannot read its backslash");
        row("bad escape in Alt", one({p, "#", "#", "#", "#", "\\x4G"}),
            alt + "the script cannot read its backslash");
        row("quote in Alt", one({p, "#", "#", "#", "#", "say \"hi\""}),
            alt + "its \" ends the mouse-over attribute: the button does not light up");
        row("quote in Url", one({p, "#", "#", "a\"b.htm"}),
            "Url: its \" ends the link's attribute: the link goes to \"a\"");
        row("quote in Target", one({p, "#", "#", "#", "ma\"in"}),
            "Target: its \" ends the target's attribute: the link opens in \"ma\"");
        row("# in a file name", one({"@/a#b.gif"}),
            "MouseOut image: the browser reads \"a#b.gif\" only up to its \"#\": a broken picture");
        row("? in a file name", one({p, "@/a?b.gif"}), "reads \"a?b.gif\" only up to its \"?\"");
        row("% in a file name", one({p, "#", "@/50%.gif"}),
            "Description image: the browser reads the \"%\" in \"50%.gif\" as an escape");
        row("apostrophe in a file name", one({p, "#", "@/it's.gif"}),
            "the apostrophe in \"it's.gif\" ends the script's string: no button lights up");
        row("quote in the default file name", one({p}, "@/q\"d.gif"),
            "Default description image: the \" in \"q\"d.gif\" ends the picture's attribute");
        row("relative path", one({"pics/home.gif", "#", "#", "#", "#", "#", "img"}),
            "MouseOut image: \"pics/home.gif\" gives the page no file name (src = 'img/', a "
            "broken picture) and cannot be copied");
        row("apostrophe in a prefix", one({p, "#", "#", "#", "#", "#", "im'g"}),
            prefix + "its apostrophe ends the script's string: no button lights up");
        row("backslash in a prefix", one({p, "#", "#", "#", "#", "#", "img\\pics"}),
            prefix + "the script drops its backslash, the page reads it as '/'");
        row("quote in a prefix", one({p, "#", "#", "#", "#", "#", "im\"g"}),
            prefix + "its \" ends the button picture's attribute");
        row("# in a prefix", one({p, "#", "#", "#", "#", "#", "#img"}),
            prefix + "the browser reads the prefix only up to its \"#\"");
        row("empty name in the middle",
            rk2(QStringList{"[COMMON]", "#"} + block("B", {p}) + block("") + block("D", {p})),
            "button 2 (no name), Name: the page ends before this button: the file lists 3 "
            "buttons, the page has 1");
        row("no buttons", rk2({"[COMMON]", "#"}),
            "Buttons: the set has none: \"Insert script\" publishes no page");
        row("same file name twice",
            rk2(QStringList{"[COMMON]", "#"} + block("B", {"@/en/btn.gif"}) +
                block("C", {"@/de/btn.gif"})),
            "button 2 \"C\", MouseOut image: copied as btn.gif, it replaces the MouseOut image "
            "of button 1 \"B\" (@/en/btn.gif)");
        row("saved as UTF-8 by an editor",
            QStringList({"[COMMON]", "#", "[Button]", "B", p, "#", "#", "#", "#", "Café", "#", ""})
                .join("\r\n")
                .toUtf8(),
            "Data file: it is UTF-8 without the UTF-8 mark, likely saved so by an editor: it "
            "reads as Windows-1252, \"é\" as \"Ã©\"");
        // The data file named the way a shell user expects.
        row("a name that exists is read as given", one({p}), "@/plain: 1 button(s)", 0,
            "check @/plain", "plain");
        row("render reads it as given too", one({p}), "<html>", 0, "render @/plain", "plain");
        row("a name that does not exist gets .rk2", one({p}), "@/t.rk2: 1 button(s)", 0,
            "check @/t");
        row("- is standard input", one({p}), "standard input: 1 button(s)", 0, "check -");
        row("a folder", one({p}), "@: expected a data file, not a folder", 2, "check @");
    }

    void checkFindings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(QString, arguments);
        QFETCH(QString, says);
        const QString at = m_dir.path();
        bytes.replace('@', at.toUtf8());
        writeBytes(file(name), bytes);
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

private:
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestTool)
#include "tst_tool.moc"
