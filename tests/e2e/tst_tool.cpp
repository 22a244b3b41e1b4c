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
        row("check none.rk2", 0, "0 button(s)");
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

private:
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestTool)
#include "tst_tool.moc"
