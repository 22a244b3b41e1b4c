#include "codepage.h"
#include "datafile.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray crlf(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& l : lines)
        bytes += encodeWindows1252(l) + "\r\n";
    return bytes;
}

const QStringList OneButton = {QStringLiteral("[COMMON]"),
                               QStringLiteral("C:\\p\\def.gif"),
                               QStringLiteral("[Button]"),
                               QStringLiteral("Home"),
                               QStringLiteral("C:\\p\\out.gif"),
                               QStringLiteral("#"),
                               QStringLiteral("C:\\p\\d.gif"),
                               QStringLiteral("index.htm"),
                               QStringLiteral("#"),
                               QStringLiteral("Home"),
                               QStringLiteral("img")};

} // namespace

class TestDataFile : public QObject {
    Q_OBJECT
private slots:
    void writesTheFormat();
    void roundTrip();
    void readsHandWrittenFiles_data();
    void readsHandWrittenFiles();
    void stopsWithWhatWasRead_data();
    void stopsWithWhatWasRead();
    void keepsAtMostHundredButtons();
    void codePage_data();
    void codePage();
    void anyBytesDecodeAndEncodeBack();
    void missingFile();
    void failedSaveLeavesEarlierFile();
    void saveCutShortByFileSizeLimit();
};

void TestDataFile::writesTheFormat()
{
    ButtonRecord a;
    a.Name = QStringLiteral("Home");
    a.MouseOutImage = QStringLiteral("C:\\p\\out.gif");
    a.DescriptionImage = QStringLiteral("C:\\p\\d.gif");
    a.Url = QStringLiteral("index.htm");
    a.Alt = QStringLiteral("Home");
    a.ImagePathPrefix = QStringLiteral("img");
    ButtonRecord b;
    b.Name = QStringLiteral("#");
    b.Alt = QStringLiteral("x");
    const QByteArray bytes = writeDataFile(QStringLiteral("C:\\p\\def.gif"), {a, b});
    QCOMPARE(bytes,
             crlf(OneButton + QStringList{"[Button]", "#", "#", "#", "#", "#", "#", "x", "#"}));
    QCOMPARE(bytes.count("\r\n"), 20);
    QCOMPARE(writeDataFile(QString(), {}), QByteArray("[COMMON]\r\n#\r\n"));
}

void TestDataFile::roundTrip()
{
    QList<ButtonRecord> buttons;
    for (int i = 0; i < 3; ++i) {
        ButtonRecord b;
        b.Name = QStringLiteral("Bütton %1 €").arg(i);
        b.Url = QStringLiteral("page%1.htm?a=1&b='2'").arg(i);
        b.Target = i == 1 ? QString() : QStringLiteral("_top");
        b.Alt = QStringLiteral("\"Quoted\" Ünïcode");
        b.ImagePathPrefix = QStringLiteral("img\\");
        b.MouseOutImage = QStringLiteral("/home/ann/a b/o%1.gif").arg(i);
        b.MouseOverImage = QStringLiteral("C:\\x\\v%1.jpg").arg(i);
        buttons << b;
    }
    buttons[2].Url = QStringLiteral("#");
    const DataFileReadResult read = readDataFile(writeDataFile(QStringLiteral("#"), buttons));
    QVERIFY(read.ok);
    QCOMPARE(read.DefaultDescriptionImage, QString());
    buttons[2].Url.clear(); // a value of exactly "#" comes back empty
    QCOMPARE(read.buttons, buttons);
}

void TestDataFile::readsHandWrittenFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("defaultImage");
    const QByteArray crlfFile = crlf(OneButton);
    QTest::newRow("as written") << crlfFile << 1 << "C:\\p\\def.gif";
    QTest::newRow("[BUTTON]") << QByteArray(crlfFile).replace("[Button]", "[BUTTON]") << 1
                              << "C:\\p\\def.gif";
    QTest::newRow("[button], [common]")
        << QByteArray(crlfFile).replace("[Button]", "[button]").replace("[COMMON]", "[common]") << 1
        << "C:\\p\\def.gif";
    QTest::newRow("LF line ends") << QByteArray(crlfFile).replace("\r\n", "\n") << 1
                                  << "C:\\p\\def.gif";
    QTest::newRow("CR line ends") << QByteArray(crlfFile).replace("\r\n", "\r") << 1
                                  << "C:\\p\\def.gif";
    QTest::newRow("no ending on the last line") << crlfFile.chopped(2) << 1 << "C:\\p\\def.gif";
    QTest::newRow("common and #") << QByteArray("[COMMON]\r\n#\r\n") << 0 << "";
    QTest::newRow("common and a path")
        << QByteArray("[COMMON]\r\nC:\\d.gif\r\n") << 0 << "C:\\d.gif";
}

void TestDataFile::readsHandWrittenFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, buttons);
    QFETCH(QString, defaultImage);
    const DataFileReadResult read = readDataFile(bytes);
    QVERIFY2(read.ok, qPrintable(read.expected));
    QCOMPARE(read.buttons.size(), buttons);
    QCOMPARE(read.DefaultDescriptionImage, defaultImage);
    if (buttons == 1) {
        const ButtonRecord& b = read.buttons.constFirst();
        QCOMPARE(b.Name, QStringLiteral("Home"));
        QCOMPARE(b.MouseOutImage, QStringLiteral("C:\\p\\out.gif"));
        QCOMPARE(b.MouseOverImage, QString());
        QCOMPARE(b.DescriptionImage, QStringLiteral("C:\\p\\d.gif"));
        QCOMPARE(b.Url, QStringLiteral("index.htm"));
        QCOMPARE(b.Target, QString());
        QCOMPARE(b.Alt, QStringLiteral("Home"));
        QCOMPARE(b.ImagePathPrefix, QStringLiteral("img"));
    }
}

void TestDataFile::stopsWithWhatWasRead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<bool>("defaultRead");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("lastMouseOut");
    const QByteArray good = crlf(OneButton);
    QTest::newRow("empty file") << QByteArray() << 1 << false << QStringList() << "";
    QTest::newRow("blank before [COMMON]")
        << QByteArray(" [COMMON]\r\n#\r\n") << 1 << false << QStringList() << "";
    QTest::newRow("blank after [COMMON]")
        << QByteArray("[COMMON] \r\n#\r\n") << 1 << false << QStringList() << "";
    QTest::newRow("ends after line 1")
        << QByteArray("[COMMON]\r\n") << 2 << false << QStringList() << "";
    QTest::newRow("empty line after the last button")
        << good + "\r\n"
        << 12 << true << QStringList{"Home"} << "C:\\p\\out.gif";
    QTest::newRow("bad header") << good + "[Buton]\r\n"
                                << 12 << true << QStringList{"Home"} << "C:\\p\\out.gif";
    QTest::newRow("ends after a header") << good + "[Button]\r\n"
                                         << 13 << true << QStringList{"Home"} << "C:\\p\\out.gif";
    QTest::newRow("ends after a name") << good + "[Button]\r\nNews\r\n"
                                       << 14 << true << QStringList{"Home", "News"} << "";
    QTest::newRow("ends inside a block")
        << good + "[Button]\r\nNews\r\nC:\\n.gif\r\n#\r\n"
        << 16 << true << QStringList{"Home", "News"} << "C:\\n.gif";
    QTest::newRow("empty name is a button") << good + "[Button]\r\n\r\n"
                                            << 14 << true << QStringList{"Home", ""} << "";
}

void TestDataFile::stopsWithWhatWasRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(bool, defaultRead);
    QFETCH(QStringList, names);
    QFETCH(QString, lastMouseOut);
    const DataFileReadResult read = readDataFile(bytes);
    QVERIFY(!read.ok);
    QCOMPARE(read.errorLine, line);
    QVERIFY(!read.expected.isEmpty());
    QCOMPARE(read.defaultDescriptionRead, defaultRead);
    QStringList readNames;
    for (const ButtonRecord& b : read.buttons)
        readNames << b.Name;
    QCOMPARE(readNames, names);
    if (!names.isEmpty())
        QCOMPARE(read.buttons.constLast().MouseOutImage, lastMouseOut);
}

void TestDataFile::keepsAtMostHundredButtons()
{
    QList<ButtonRecord> buttons(101);
    for (int i = 0; i < 101; ++i)
        buttons[i].Name = QStringLiteral("B%1").arg(i);
    const DataFileReadResult read = readDataFile(writeDataFile(QString(), buttons));
    QVERIFY(!read.ok);
    QCOMPARE(read.errorLine, 2 + 9 * 100 + 1);
    QCOMPARE(read.buttons.size(), 100);
    QCOMPARE(read.buttons.constLast().Name, QStringLiteral("B99"));
}

void TestDataFile::codePage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << "abc" << QByteArray("abc");
    QTest::newRow("latin-1") << "Ünï ß ÿ" << QByteArray("\xDCn\xEF \xDF \xFF");
    QTest::newRow("windows-1252 specials") << "€ ‚ ™ Ÿ ž" << QByteArray("\x80 \x82 \x99 \x9F \x9E");
    QTest::newRow("not in the code page") << "a→b 日" << QByteArray("a?b ?");
    QTest::newRow("one ? for a surrogate pair") << "x😀y" << QByteArray("x?y");
}

void TestDataFile::codePage()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodeWindows1252(text), bytes);
    if (!bytes.contains('?'))
        QCOMPARE(decodeWindows1252(bytes), text);
}

void TestDataFile::anyBytesDecodeAndEncodeBack()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    QCOMPARE(encodeWindows1252(decodeWindows1252(all)), all);
}

void TestDataFile::missingFile()
{
    const DataFileReadResult read = readDataFileAt(QStringLiteral("/nonexistent/menu.rk2"));
    QVERIFY(!read.ok);
    QCOMPARE(read.errorLine, 0);
    QVERIFY(read.buttons.isEmpty());
}

void TestDataFile::failedSaveLeavesEarlierFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("menu.rk2"));
    QVERIFY(saveFileAtomically(path, crlf(OneButton)));
    QCOMPARE(readBytes(path), crlf(OneButton));
    // A folder that does not exist (a file stands in its place).
    QVERIFY(!saveFileAtomically(path + QStringLiteral("/inner.rk2"), "x"));
    QCOMPARE(readBytes(path), crlf(OneButton));
}

void TestDataFile::saveCutShortByFileSizeLimit()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("menu.rk2"));
    QVERIFY(saveFileAtomically(path, crlf(OneButton)));

    rlimit old{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = saveFileAtomically(path, QByteArray(4096, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!saved);
    QCOMPARE(readBytes(path), crlf(OneButton));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"menu.rk2"});
}

QTEST_APPLESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
