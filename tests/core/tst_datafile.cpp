// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafile.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

namespace {

const QStringList OneButton =
    QStringList{"[COMMON]", "C:\\p\\def.gif"} +
    block("Home", {"C:\\p\\out.gif", "#", "C:\\p\\d.gif", "index.htm", "#", "Home", "img"});

} // namespace

class TestDataFile : public QObject {
    Q_OBJECT
private slots:
    void writesAndReadsBack();
    void readsHandWrittenFiles_data();
    void readsHandWrittenFiles();
    void stopsWithWhatWasRead_data();
    void stopsWithWhatWasRead();
    void anyBytes_data();
    void anyBytes();
    void extensionRule_data();
    void extensionRule();
    void failedSaveKeepsTheEarlierFile_data();
    void failedSaveKeepsTheEarlierFile();
};

// Exact bytes: "#" for empty values (never for names), Windows-1252 with "?"
// for what it cannot hold; read back, every value but "#" comes back.
void TestDataFile::writesAndReadsBack()
{
    ButtonRecord a{"Home", "index.htm", {}, "Home", "img", "C:\\p\\out.gif", {}, "C:\\p\\d.gif"};
    ButtonRecord b{"#", "#", "€ ‚ ™ Ÿ", "→ 😀", QString(1 << 20, u'é'), "/a b/ÿ.gif", {}, {}};
    const QByteArray bytes = writeDataFile("C:\\p\\def.gif", {a, b});
    QCOMPARE(bytes, rk2(OneButton) +
                        "[Button]\r\n#\r\n/a b/\xFF.gif\r\n#\r\n#\r\n#\r\n"
                        "\x80 \x82 \x99 \x9F\r\n? ?\r\n" +
                        QByteArray(1 << 20, '\xE9') + "\r\n");
    const DataFileReadResult read = readDataFile(bytes);
    QVERIFY(read.ok);
    b.Url.clear();
    b.Alt = "? ?";
    QCOMPARE(read.buttons, (QList<ButtonRecord>{a, b}));
    QCOMPARE(writeDataFile(QString(), {}), QByteArray("[COMMON]\r\n#\r\n"));
}

void TestDataFile::readsHandWrittenFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("defaultImage");
    const QByteArray file = rk2(OneButton);
    const QString image = "C:\\p\\def.gif";
    QTest::newRow("as written") << file << 1 << image;
    QTest::newRow("[BUTTON]") << QByteArray(file).replace("[Button]", "[BUTTON]") << 1 << image;
    QTest::newRow("[button], [common]")
        << QByteArray(file).replace("[Button]", "[button]").replace("[COMMON]", "[common]") << 1
        << image;
    QTest::newRow("LF line ends") << QByteArray(file).replace("\r\n", "\n") << 1 << image;
    QTest::newRow("CR line ends") << QByteArray(file).replace("\r\n", "\r") << 1 << image;
    QTest::newRow("no ending on the last line") << file.chopped(2) << 1 << image;
    QTest::newRow("common and #") << rk2({"[COMMON]", "#"}) << 0 << "";
    QTest::newRow("a value starting with #") << rk2({"[COMMON]", "#top.gif"}) << 0 << "#top.gif";
    QTest::newRow("common and a path") << rk2({"[COMMON]", "C:\\d.gif"}) << 0 << "C:\\d.gif";
}

void TestDataFile::readsHandWrittenFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, buttons);
    const DataFileReadResult read = readDataFile(bytes);
    QVERIFY2(read.ok, qPrintable(read.expected));
    QTEST(read.DefaultDescriptionImage, "defaultImage");
    QCOMPARE(read.buttons.size(), buttons);
    if (buttons == 1)
        QCOMPARE(writeDataFile(read.DefaultDescriptionImage, read.buttons), rk2(OneButton));
}

// Each row: the bytes, and where reading stopped, whether the default image
// was read, and each button read as "Name=MouseOut".
void TestDataFile::stopsWithWhatWasRead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("read");
    const QByteArray good = rk2(OneButton);
    const QString home = "default: Home=C:\\p\\out.gif";
    QTest::newRow("empty file") << QByteArray() << "line 1, nothing:";
    QTest::newRow("blank before [COMMON]") << rk2({" [COMMON]", "#"}) << "line 1, nothing:";
    QTest::newRow("blank after [COMMON]") << rk2({"[COMMON] ", "#"}) << "line 1, nothing:";
    QTest::newRow("ends after line 1") << rk2({"[COMMON]"}) << "line 2, nothing:";
    QTest::newRow("empty line after the last button") << good + rk2({""}) << "line 12, " + home;
    QTest::newRow("bad header") << good + rk2({"[Buton]"}) << "line 12, " + home;
    QTest::newRow("ends after a header") << good + rk2({"[Button]"}) << "line 13, " + home;
    QTest::newRow("ends after a name")
        << good + rk2({"[Button]", "News"}) << "line 14, " + home + " News=";
    QTest::newRow("ends inside a block") << good + rk2({"[Button]", "News", "C:\\n.gif", "#"})
                                         << "line 16, " + home + " News=C:\\n.gif";
    QTest::newRow("empty name is a button")
        << good + rk2({"[Button]", ""}) << "line 14, " + home + " =";
    QTest::newRow("LF CR ends two lines")
        << QByteArray("[COMMON]\n\rC:\\d.gif\r\n") << "line 3, default:";
    QTest::newRow("missing file") << QByteArray("<missing>") << "line 0, nothing:";
}

void TestDataFile::stopsWithWhatWasRead()
{
    QFETCH(QByteArray, bytes);
    const DataFileReadResult read =
        bytes == "<missing>" ? readDataFileAt("/nonexistent/menu.rk2") : readDataFile(bytes);
    QVERIFY(!read.ok);
    QVERIFY(!read.expected.isEmpty());
    QString summary = QStringLiteral("line %1, %2:")
                          .arg(read.errorLine)
                          .arg(read.defaultDescriptionRead ? "default" : "nothing");
    for (const ButtonRecord& b : read.buttons)
        summary += ' ' + b.Name + '=' + b.MouseOutImage;
    QTEST(summary, "read");
}

// Bytes no editor would write: reading keeps at most 100 buttons, and what
// reads without error writes back to the very same bytes.
void TestDataFile::anyBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("buttons");
    QStringList many{"[COMMON]", "#"};
    for (int i = 0; i < 10000; ++i)
        many += block(QStringLiteral("B%1").arg(i));
    QTest::newRow("10 000 buttons") << rk2(many) << false << 100;
    QTest::newRow("a 16 MB line") << rk2(QStringList{"[COMMON]", "#"} +
                                         block("A", {QString(16 << 20, u'x')}))
                                  << true << 1;
    const char nul[] = "[COMMON]\r\n\0\r\n[Button]\r\nA\0B\r\n\0\r\n";
    QTest::newRow("NUL bytes") << QByteArray(nul, sizeof nul - 1) + rk2(block("").mid(3)) << true
                               << 1;
    QTest::newRow("an empty name") << rk2(QStringList{"[COMMON]", "#"} + block("")) << true << 1;
    QByteArray high("[COMMON]\r\n");
    for (int c = 0x80; c <= 0xFF; ++c)
        high += char(c);
    QTest::newRow("every byte above 127") << high + "\r\n" << true << 0;
    QTest::newRow("bytes Windows-1252 leaves undefined")
        << "[COMMON]\r\n\x81\x8D\r\n[Button]\r\n\x8F\x90\x9D\r\n" + rk2(block("").mid(2)) << true
        << 1;
}

void TestDataFile::anyBytes()
{
    QFETCH(QByteArray, bytes);
    const DataFileReadResult read = readDataFile(bytes);
    QTEST(read.ok, "ok");
    QTEST(int(read.buttons.size()), "buttons");
    if (read.ok)
        QVERIFY(writeDataFile(read.DefaultDescriptionImage, read.buttons) == bytes);
    if (read.buttons.size() == MaxButtons) // the first hundred stay
        QCOMPARE(read.buttons.constLast().Name, "B99");
}

void TestDataFile::extensionRule_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("opened");
    QTest::newRow("no extension") << "/d/menu"
                                  << "/d/menu.rk2";
    QTest::newRow("upper case") << "/d/MENU.RK2"
                                << "/d/MENU.RK2";
    QTest::newRow("mixed case") << "/d/menu.Rk2"
                                << "/d/menu.Rk2";
    QTest::newRow("other extension") << "/d/menu.txt"
                                     << "/d/menu.txt.rk2";
    QTest::newRow("only the extension") << ".rk2"
                                        << ".rk2";
}

void TestDataFile::extensionRule()
{
    QFETCH(QString, chosen);
    QTEST(withDataFileExtension(chosen), "opened");
}

// A save that cannot start, or that fails half way, leaves the earlier file
// and nothing else.
void TestDataFile::failedSaveKeepsTheEarlierFile_data()
{
    QTest::addColumn<QString>("inside");
    QTest::addColumn<int>("sizeLimit");
    QTest::newRow("a file where the folder should be") << "menu.rk2/" << 0;
    QTest::newRow("cut short by the file size limit") << "" << 64;
}

void TestDataFile::failedSaveKeepsTheEarlierFile()
{
    QFETCH(QString, inside);
    QFETCH(int, sizeLimit);
    QTemporaryDir dir;
    const QString path = dir.filePath("menu.rk2");
    QVERIFY(saveFileAtomically(path, rk2(OneButton)));
    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    if (sizeLimit > 0)
        small.rlim_cur = sizeLimit;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = saveFileAtomically(dir.filePath(inside + "menu.rk2"), QByteArray(4096, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!saved);
    QCOMPARE(readBytes(path), rk2(OneButton));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"menu.rk2"});
}

QTEST_APPLESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
