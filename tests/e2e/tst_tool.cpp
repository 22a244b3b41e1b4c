// SPDX-License-Identifier: GPL-3.0-or-later
#include "testfiles.h"
#include "windowdriver.h"

#include <QtTest>

namespace {

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run rollcraft(const QStringList& arguments, const QByteArray& input = {})
{
    QProcess p;
    p.start(QDir(qEnvironmentVariable("ROLLCRAFT_BIN")).filePath("rollcraft"), arguments);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(20000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

} // namespace

// The companion tool as a script or a user runs it.
class TestTool : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void renderMatchesTheWindow_data();
    void renderMatchesTheWindow();
    void statusAndMessages_data();
    void statusAndMessages();
    void copyImages_data();
    void copyImages();

private:
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

// good.rk2 refers to here.jpg twice and to a missing picture.
void TestTool::initTestCase()
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(file("here.jpg")));
    writeBytes(file("good.rk2"), rk2(QStringList{"[COMMON]", file("here.jpg")} +
                                     block("Höme", {file("here.jpg"), "C:\\pics\\over.gif", "#",
                                                    "index.htm", "#", "Höme €", "img"})));
    writeBytes(file("none.rk2"), rk2({"[COMMON]", "#"}));
    writeBytes(file("empty.gif"), {});
    writeBytes(file("odd.rk2"),
               rk2(QStringList{"[COMMON]", "#"} + block("A", {m_dir.path(), file("empty.gif")})));
    writeBytes(file("broken.rk2"), rk2({"[COMMON]", "#", "[Button]", "A", "#"}));
}

// The page must be the one the window publishes after opening the same file.
void TestTool::renderMatchesTheWindow_data()
{
    QTest::addColumn<bool>("preview");
    QTest::newRow("insert") << false;
    QTest::newRow("preview") << true;
}

void TestTool::renderMatchesTheWindow()
{
    QFETCH(bool, preview);
    WindowFixture f;
    f.open(file("good.rk2"));
    f.click(preview ? "Command2" : "Command1");
    const QString published = f.window.exchangeText(TWKPLUGIN::Exchange::SCRIPT);
    QVERIFY(published.contains("Höme €"));
    const Run run =
        rollcraft(QStringList{"render"} + (preview ? QStringList{"--preview"} : QStringList()) +
                  QStringList{file("good")});
    QCOMPARE(run.status, 0);
    QCOMPARE(QString::fromUtf8(run.out), published);
    QCOMPARE(rollcraft({"render", "-o", file("p.html"), file("good.rk2")}).status, 0);
    if (!preview)
        QCOMPARE(readBytes(file("p.html")), "\xEF\xBB\xBF" + published.toUtf8());
    QCOMPARE(run.err, QByteArray());
}

void TestTool::statusAndMessages_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says"); // on standard output or error
    const QString broken = "broken.rk2: line 6: expected the MouseOver image of button 1";
    const QString unreadable = "ERROR! Unable to open file.\n";
    QTest::newRow("render, broken") << QStringList{"render", "broken.rk2"} << 2 << broken;
    QTest::newRow("check, broken") << QStringList{"check", "broken.rk2"} << 2 << broken;
    QTest::newRow("check, missing file") << QStringList{"check", "nowhere.rk2"} << 2 << unreadable;
    QTest::newRow("check") << QStringList{"check", "good.rk2"} << 1
                           << "C:\\pics\\over.gif  [missing]";
    QTest::newRow("check, a folder") << QStringList{"check", "odd.rk2"} << 1 << "  [not a file]";
    QTest::newRow("check, an empty file")
        << QStringList{"check", "odd.rk2"} << 1 << "  [empty file]";
    QTest::newRow("render -o, cannot write")
        << QStringList{"render", "-o", "/nonexistent/p.html", "good.rk2"} << 2 << "cannot write";
    QTest::newRow("copy-images, nothing to copy")
        << QStringList{"copy-images", "none.rk2", "/"} << 0 << "0 images copied";
    QTest::newRow("check, no images") << QStringList{"check", "none.rk2"} << 0 << "0 button(s)";
    // "Insert script" publishes nothing for a set without buttons; a preview does.
    QTest::newRow("render, no buttons") << QStringList{"render", "none.rk2"} << 1 << "";
    QTest::newRow("render --preview, no buttons")
        << QStringList{"render", "--preview", "none.rk2"} << 0 << "<html>";
    QTest::newRow("no command") << QStringList() << 64 << "Usage: rollcraft";
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "Commands:";
    QTest::newRow("render --help") << QStringList{"render", "--help"} << 0 << "--preview";
    QTest::newRow("host --help") << QStringList{"host", "--help"} << 0 << "--preview-dir";
    QTest::newRow("unknown command") << QStringList{"paint"} << 64 << "unknown command 'paint'";
    QTest::newRow("unknown option")
        << QStringList{"render", "--fast", "x"} << 64 << "Unknown option 'fast'";
    QTest::newRow("missing file argument") << QStringList{"check"} << 64 << "expected 1 argument";
    QTest::newRow("copy-images, both answers")
        << QStringList{"copy-images", "--overwrite", "--keep-existing", "x", "y"} << 64
        << "exclude each other";
    QTest::newRow("copy-images into a file")
        << QStringList{"copy-images", "good.rk2", "good.rk2"} << 2 << "is not a folder";
    QTest::newRow("copy-images, broken file")
        << QStringList{"copy-images", "broken.rk2", "/"} << 2 << broken;
}

void TestTool::statusAndMessages()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, says);
    const Run run = rollcraft(
        arguments.replaceInStrings(QRegularExpression("^(\\w+\\.rk2)$"), m_dir.path() + "/\\1"));
    QTEST(run.status, "status");
    QVERIFY2(QString::fromUtf8(run.out + run.err).contains(says), run.out + run.err);
    if (run.status == 2) // reading errors write nothing to standard output
        QCOMPARE(run.out, QByteArray());
}

void TestTool::copyImages_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<QByteArray>("copied"); // here.jpg in DEST afterwards
    QTest::addColumn<int>("questions");
    const QByteArray jpeg = "\xFF\xD8";
    QTest::newRow("--overwrite") << QStringList{"--overwrite"} << QByteArray() << jpeg << 0;
    QTest::newRow("--keep-existing")
        << QStringList{"--keep-existing"} << QByteArray() << QByteArray("old") << 0;
    QTest::newRow("asked: no, then yes")
        << QStringList() << QByteArray("maybe\nn\nyes\n") << jpeg << 3;
    QTest::newRow("asked: cancel") << QStringList() << QByteArray("c\n") << QByteArray("old") << 1;
    QTest::newRow("no answers left") << QStringList() << QByteArray() << QByteArray("old") << 1;
}

void TestTool::copyImages()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, answers);
    QFETCH(QByteArray, copied);
    QTemporaryDir dest;
    writeBytes(dest.filePath("here.jpg"), "old");
    QFile::remove(errorLogFile());
    const Run run =
        rollcraft(QStringList{"copy-images", file("good.rk2"), dest.path()} + options, answers);
    QCOMPARE(run.status, 1);
    QTEST(int(run.err.count("allready exist, overwrite ?")), "questions");
    QVERIFY(readBytes(dest.filePath("here.jpg")).startsWith(copied));
    const bool cancelled = run.err.contains("Cancelled");
    QCOMPARE(readBytes(errorLogFile())
                 .endsWith("C:\\pics\\over.gif\r\nError : No such file or "
                           "directory code: 2\r\n"),
             !cancelled);
}

QTEST_MAIN(TestTool)
#include "tst_tool.moc"
