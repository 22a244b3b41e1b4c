#include "datafile.h"
#include "previewpicture.h"
#include "testfiles.h"
#include "windowdriver.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using Answer = Dialogs::Answer;

namespace {

QByteArray button(const QByteArray& name, const QByteArray& field = "#")
{
    return "[Button]\r\n" + name + "\r\n" + field + "\r\n#\r\n#\r\n#\r\n#\r\n#\r\n#\r\n";
}

} // namespace

// Whatever the program is fed, it answers with its own message or its
// documented result: no crash, no hang, and a file that was only read stays
// as it was.
class TestBadInput : public QObject {
    Q_OBJECT
private slots:
    void init() { m_f = std::make_unique<WindowFixture>(); }
    void cleanup()
    {
        QVERIFY2(m_f->dialogs.problems().isEmpty(), qPrintable(m_f->dialogs.problems()));
        m_f.reset();
    }
    void dataFiles_data();
    void dataFiles();
    void imagePaths_data();
    void imagePaths();
    void megabyteFields();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<WindowFixture> m_f;
};

void TestBadInput::dataFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<int>("buttons"); // in the list afterwards

    QByteArray noise(64 * 1024, Qt::Uninitialized);
    QRandomGenerator random(1234);
    for (char& c : noise)
        c = static_cast<char>(random.bounded(256));
    QTest::newRow("random bytes") << noise << false << 0;
    QTest::newRow("random bytes after [COMMON]") << "[COMMON]\r\n#\r\n" + noise << false << 0;
    QByteArray many = "[COMMON]\r\n#\r\n";
    for (int i = 0; i < 10000; ++i)
        many += button("B" + QByteArray::number(i));
    QTest::newRow("10 000 buttons") << many << false << 100;
    QTest::newRow("a 16 MB line") << "[COMMON]\r\n#\r\n" + button("A", QByteArray(16 << 20, 'x'))
                                  << true << 1;
    QTest::newRow("NUL bytes") << QByteArray("[COMMON]\r\n\0\r\n", 13) +
                                      button(QByteArray("A\0B", 3), QByteArray("\0", 1))
                               << true << 1;
    QTest::newRow("bytes Windows-1252 leaves undefined")
        << "[COMMON]\r\n\x81\x8D\r\n" + button("\x8F\x90\x9D") << true << 1;
    QTest::newRow("only line ends") << QByteArray(100000, '\n') << false << 0;
}

void TestBadInput::dataFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, opens);
    QFETCH(int, buttons);
    const QString path = m_dir.filePath(QStringLiteral("bad.rk2"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    m_f->dialogs.openFile(path);
    if (!opens)
        m_f->dialogs.message(Answer::Ok);
    QVERIFY(m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("OpenData")));
    if (!opens)
        QCOMPARE(m_f->dialogs.last().text, QStringLiteral("ERROR! Unable to open file."));
    QCOMPARE(m_f->ui.list()->count(), buttons);
    QVERIFY(readBytes(path) == bytes);
    if (!opens)
        return;
    // What opened saves back to the very same bytes.
    const QString again = m_dir.filePath(QStringLiteral("again.rk2"));
    m_f->dialogs.saveFile(again);
    QVERIFY(m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("SaveData")));
    QVERIFY(readBytes(again) == bytes);
}

void TestBadInput::imagePaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("one character") << "x";
    QTest::newRow("a lone slash") << "/";
    QTest::newRow("a lone backslash") << "\\";
    QTest::newRow("very long") << "/" + QString(100000, u'a') + ".gif";
    QTest::newRow("with newlines") << "/tmp/a\nb\r\nc.gif";
    QTest::newRow("a device") << "/dev/zero";
}

void TestBadInput::imagePaths()
{
    QFETCH(QString, path);
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("A"));
    for (int i : TWKPLUGIN::PreviewFields) {
        m_f->ui.field(i)->setText(path);
        QVERIFY(!m_f->window.Label9(i)->isHidden());
        QVERIFY(m_f->window.Image1(i)->pixmap().isNull());
    }
    m_f->ui.click(QStringLiteral("Command2"));
    QVERIFY(
        m_f->window.exchangeText(TWKPLUGIN::Exchange::SCRIPT).contains(QStringLiteral("<html")));
}

void TestBadInput::megabyteFields()
{
    const QString big(1 << 20, u'\u00e9');
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("A"));
    for (int i : {3, 4, 5, 6})
        m_f->ui.field(i)->setText(big);
    for (int i : {0, 1, 2}) // a preview line is left out when its images are
        m_f->ui.field(i)->setText(QStringLiteral("/p/a.gif"));
    QCOMPARE(m_f->ui.field(3)->text().size(), big.size());
    m_f->ui.click(QStringLiteral("Command2"));
    const QString page = m_f->window.exchangeText(TWKPLUGIN::Exchange::SCRIPT);
    QVERIFY(page.contains(big));

    const QString path = m_dir.filePath(QStringLiteral("big.rk2"));
    m_f->dialogs.saveFile(path);
    QVERIFY(m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("SaveData")));
    const DataFileReadResult read = readDataFileAt(path);
    QVERIFY(read.ok);
    QCOMPARE(read.buttons.constFirst().Url, big);
    QCOMPARE(read.buttons.constFirst().ImagePathPrefix, big);
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
