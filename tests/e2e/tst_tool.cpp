#include "e2e.h"
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
    p.start(E2E::program(QStringLiteral("rollcraft")), arguments);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(20000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

} // namespace

class TestTool : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void renderMatchesTheWindow_data();
    void renderMatchesTheWindow();
    void brokenFiles_data();
    void brokenFiles();
    void checkListsMissingImages();
    void copyImages_data();
    void copyImages();
    void usage_data();
    void usage();

private:
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
    QString m_good;
};

void TestTool::initTestCase()
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(file(QStringLiteral("here.jpg"))));
    m_good = file(QStringLiteral("good.rk2"));
    writeBytes(m_good,
               "[COMMON]\r\n" + file(QStringLiteral("here.jpg")).toUtf8() +
                   "\r\n[Button]\r\nH\xF6me\r\n" + file(QStringLiteral("here.jpg")).toUtf8() +
                   "\r\nC:\\pics\\over.gif\r\n#\r\nindex.htm\r\n#\r\nH\xF6me \x80\r\nimg\r\n");
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
    f.dialogs.openFile(m_good);
    f.ui.menuCommand(QStringLiteral("File"), QStringLiteral("OpenData"));
    f.ui.click(preview ? QStringLiteral("Command2") : QStringLiteral("Command1"));
    const QString published = f.window.exchangeText(TWKPLUGIN::Exchange::SCRIPT);
    QVERIFY(published.contains(QStringLiteral("Höme €")));

    const Run run = rollcraft(preview ? QStringList{"render", "--preview", m_good}
                                      : QStringList{"render", m_good});
    QCOMPARE(run.status, 0);
    QCOMPARE(QString::fromUtf8(run.out), published);
    QCOMPARE(run.err, QByteArray());
}

void TestTool::brokenFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("where");
    QTest::newRow("bad first line")
        << QByteArray("COMMON\r\n#\r\n") << "line 1: expected \"[COMMON]\"";
    QTest::newRow("partial button") << QByteArray("[COMMON]\r\n#\r\n[Button]\r\nA\r\n#\r\n")
                                    << "line 6: expected the MouseOver image of button 1";
    QTest::newRow("missing file") << QByteArray() << "expected a readable file";
}

void TestTool::brokenFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, where);
    const QString path =
        file(QStringLiteral("broken%1.rk2").arg(QTest::currentDataTag()).remove(u' '));
    if (!bytes.isEmpty())
        writeBytes(path, bytes);
    for (const QString& command : {QStringLiteral("render"), QStringLiteral("check")}) {
        const Run run = rollcraft({command, path});
        QCOMPARE(run.status, 2);
        QCOMPARE(run.out, QByteArray());
        const QStringList lines = QString::fromUtf8(run.err).split(u'\n');
        QCOMPARE(lines.value(0), QStringLiteral("ERROR! Unable to open file."));
        QVERIFY2(lines.value(1).contains(where), qPrintable(lines.value(1)));
    }
}

void TestTool::checkListsMissingImages()
{
    const Run run = rollcraft({QStringLiteral("check"), m_good});
    QCOMPARE(run.status, 1);
    const QString report = QString::fromUtf8(run.out);
    QVERIFY(report.contains(QStringLiteral("1 button(s)")));
    QVERIFY(report.contains(QStringLiteral("C:\\pics\\over.gif  [missing]")));
    QVERIFY(report.contains(QStringLiteral("here.jpg  [ok]")));
    QVERIFY(report.contains(QStringLiteral("1 of 3 image file(s) missing or unreadable.")));

    const QString none = file(QStringLiteral("none.rk2"));
    writeBytes(none, "[COMMON]\r\n#\r\n");
    QCOMPARE(rollcraft({QStringLiteral("check"), none}).status, 0);
    // "Insert script" publishes nothing for a set without buttons.
    const Run render = rollcraft({QStringLiteral("render"), none});
    QCOMPARE(render.status, 1);
    QCOMPARE(render.out, QByteArray());
    QCOMPARE(rollcraft({QStringLiteral("render"), QStringLiteral("--preview"), none}).status, 0);
}

// good.rk2 refers to here.jpg twice (copied twice) and to a missing picture.
void TestTool::copyImages_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<QByteArray>("copied"); // here.jpg in DEST afterwards
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("status");
    const QByteArray jpeg = "\xFF\xD8";
    QTest::newRow("--overwrite") << QStringList{"--overwrite"} << QByteArray() << jpeg << 0 << 1;
    QTest::newRow("--keep-existing")
        << QStringList{"--keep-existing"} << QByteArray() << QByteArray("old") << 0 << 1;
    QTest::newRow("asked: no, then yes")
        << QStringList() << QByteArray("maybe\nn\nyes\n") << jpeg << 3 << 1;
    QTest::newRow("asked: cancel")
        << QStringList() << QByteArray("c\n") << QByteArray("old") << 1 << 1;
    QTest::newRow("no answers left")
        << QStringList() << QByteArray() << QByteArray("old") << 1 << 1;
}

void TestTool::copyImages()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, answers);
    QFETCH(QByteArray, copied);
    QFETCH(int, questions);
    QFETCH(int, status);
    QTemporaryDir dest;
    writeBytes(dest.filePath(QStringLiteral("here.jpg")), "old");
    const QString log = QDir::home().filePath(QStringLiteral("twk_error.log"));
    QFile::remove(log);
    const Run run = rollcraft(QStringList{"copy-images", m_good, dest.path()} + options, answers);
    QCOMPARE(run.status, status);
    QCOMPARE(run.err.count("allready exist, overwrite ?"), questions);
    QVERIFY(readBytes(dest.filePath(QStringLiteral("here.jpg"))).startsWith(copied));
    const bool cancelled = run.err.contains("Cancelled");
    QCOMPARE(QFile::exists(log), !cancelled);
    if (!cancelled)
        QVERIFY(readBytes(log).contains(
            "C:\\pics\\over.gif\r\nError : No such file or directory code: 2\r\n"));
}

void TestTool::usage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
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
        << QStringList{"copy-images", "%good", "%good"} << 2 << "is not a folder";
    QTest::newRow("copy-images, broken file")
        << QStringList{"copy-images", "/nowhere.rk2", "/"} << 2 << "ERROR! Unable to open file.";
}

void TestTool::usage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, says);
    arguments.replaceInStrings(QStringLiteral("%good"), m_good);
    const Run run = rollcraft(arguments);
    QCOMPARE(run.status, status);
    QVERIFY2(QString::fromUtf8(run.out + run.err).contains(says), run.out + run.err);
}

QTEST_MAIN(TestTool)
#include "tst_tool.moc"
