#include "dirbrowser.h"
#include "testfiles.h"
#include "windowdriver.h"

#include <QTemporaryDir>
#include <QtTest>

using Answer = Dialogs::Answer;
using Kind = ScriptedDialogs::Kind;

namespace {

const QString Overwrite = QStringLiteral("Overwrite existing images, if they exist ?");

} // namespace

class TestCopyImagesWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void theFolderBrowserKeepsItsSize();
    void cancelPoints_data();
    void cancelPoints();
    void askingAboutEachExistingFile();
    void failuresAreLoggedAndReported();
    void aLongCopyShowsProgressThatCanCancel();
    void slowAnswersAreNotCopyingTime();

private:
    // Opens a data file whose one button refers to a.gif, missing.gif and
    // b.gif, and whose default description image is c.gif.
    void openSet(WindowFixture& f);
    void copy(WindowFixture& f) const
    {
        QVERIFY(f.ui.menuCommand(QStringLiteral("Special"), QStringLiteral("CopyImagesToPath")));
    }
    QString src(const QString& n) const { return m_src.filePath(n); }
    QString dst(const QString& n) const { return m_dst.filePath(n); }
    QString log() const { return QDir::home().filePath(QStringLiteral("twk_error.log")); }

    QTemporaryDir m_src, m_dst;
    std::unique_ptr<WindowFixture> m_f;
};

void TestCopyImagesWindow::init()
{
    QFile::remove(log());
    m_dst = {};
    for (const char* n : {"a.gif", "b.gif", "c.gif"})
        writeBytes(src(QLatin1String(n)), QByteArray("new ") + n);
    m_f = std::make_unique<WindowFixture>();
    openSet(*m_f);
}

void TestCopyImagesWindow::cleanup()
{
    QVERIFY2(m_f->dialogs.problems().isEmpty(), qPrintable(m_f->dialogs.problems()));
    m_f.reset();
}

void TestCopyImagesWindow::openSet(WindowFixture& f)
{
    const QString data = src(QStringLiteral("set.rk2"));
    writeBytes(data, "[COMMON]\r\n" + src(QStringLiteral("c.gif")).toUtf8() +
                         "\r\n[Button]\r\nA\r\n" + src(QStringLiteral("a.gif")).toUtf8() + "\r\n" +
                         src(QStringLiteral("missing.gif")).toUtf8() + "\r\n" +
                         src(QStringLiteral("b.gif")).toUtf8() + "\r\n#\r\n#\r\n#\r\n#\r\n");
    f.dialogs.openFile(data);
    QVERIFY(f.ui.menuCommand(QStringLiteral("File"), QStringLiteral("OpenData")));
    f.dialogs.reset();
}

void TestCopyImagesWindow::theFolderBrowserKeepsItsSize()
{
    auto* browser = m_f->ui.control<DirBrowser>(QStringLiteral("DirBrowser1"));
    QVERIFY(browser);
    browser->resize(100, 60);
    QCOMPARE(browser->size(), QSize(32, 32));
    QVERIFY(!browser->pixmap().isNull());
    QVERIFY(browser->y() >= m_f->window.centralWidget()->height() - 1);
    m_f->dialogs.folder(QStringLiteral("/chosen"));
    QCOMPARE(browser->BrowseForFolder(&m_f->window), QStringLiteral("/chosen"));
    QCOMPARE(m_f->dialogs.last().title, QString());
}

void TestCopyImagesWindow::cancelPoints_data()
{
    QTest::addColumn<bool>("folderChosen");
    QTest::addColumn<int>("dialogsShown");
    QTest::newRow("folder browser cancelled") << false << 1;
    QTest::newRow("first question cancelled") << true << 2;
}

void TestCopyImagesWindow::cancelPoints()
{
    QFETCH(bool, folderChosen);
    QFETCH(int, dialogsShown);
    m_f->dialogs.folder(folderChosen ? m_dst.path() : QString());
    if (folderChosen)
        m_f->dialogs.message(Answer::Cancel);
    copy(*m_f);
    QCOMPARE(m_f->dialogs.shown().size(), dialogsShown);
    QCOMPARE(m_f->dialogs.shown().constFirst().title, QStringLiteral("Destination folder:"));
    if (folderChosen) {
        QCOMPARE(m_f->dialogs.last().text, Overwrite);
        QCOMPARE(m_f->dialogs.last().title, QStringLiteral("TWKPLUGIN"));
        QCOMPARE(m_f->dialogs.last().buttons, Dialogs::Buttons::YesNoCancel);
        QCOMPARE(m_f->dialogs.last().icon, Dialogs::Icon::Question);
    }
    QVERIFY(QDir(m_dst.path()).isEmpty());
    QVERIFY(!QFile::exists(log()));
}

// b.gif and c.gif are already there; missing.gif fails before b.gif is asked.
void TestCopyImagesWindow::askingAboutEachExistingFile()
{
    writeBytes(dst(QStringLiteral("b.gif")), "old b");
    writeBytes(dst(QStringLiteral("c.gif")), "old c");
    m_f->dialogs.folder(m_dst.path())
        .message(Answer::No)
        .message(Answer::No)
        .message(Answer::Cancel);
    copy(*m_f);
    const ScriptedDialogs::Shown& asked = m_f->dialogs.shown().at(2);
    QCOMPARE(asked.text, QStringLiteral("File: \"%1\" allready exist, overwrite ?")
                             .arg(m_dst.path() + QStringLiteral("/b.gif")));
    QCOMPARE(asked.title, QStringLiteral("File allready exist"));
    QCOMPARE(asked.buttons, Dialogs::Buttons::YesNoCancel);
    QCOMPARE(m_f->dialogs.last().text, QStringLiteral("File: \"%1\" allready exist, overwrite ?")
                                           .arg(m_dst.path() + QStringLiteral("/c.gif")));
    // Cancel at the last question: copies stay, the failure is not logged.
    QCOMPARE(readBytes(dst(QStringLiteral("a.gif"))), QByteArray("new a.gif"));
    QCOMPARE(readBytes(dst(QStringLiteral("b.gif"))), QByteArray("old b"));
    QVERIFY(!QFile::exists(log()));
}

void TestCopyImagesWindow::failuresAreLoggedAndReported()
{
    writeBytes(dst(QStringLiteral("b.gif")), "old b");
    m_f->dialogs.folder(m_dst.path() + QLatin1Char('/')).message(Answer::Yes).message(Answer::Ok);
    copy(*m_f);
    QCOMPARE(m_f->dialogs.shown().size(), 3); // Yes never asks per file
    QCOMPARE(m_f->dialogs.last().text,
             QStringLiteral("ERROR! One or more images could not be copied !\r\nFor further "
                            "details, please see \"%1\"")
                 .arg(log()));
    QCOMPARE(m_f->dialogs.last().icon, Dialogs::Icon::Exclamation);
    QCOMPARE(readBytes(dst(QStringLiteral("b.gif"))), QByteArray("new b.gif"));
    QCOMPARE(readBytes(dst(QStringLiteral("c.gif"))), QByteArray("new c.gif"));
    const QList<QByteArray> lines = readBytes(log()).split('\n');
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines[4], src(QStringLiteral("missing.gif")).toUtf8() + '\r');
    QCOMPARE(lines[5], QByteArray("Error : No such file or directory code: 2\r"));
}

void TestCopyImagesWindow::aLongCopyShowsProgressThatCanCancel()
{
    // Every look at the clock finds another second gone.
    auto now = std::make_shared<QDateTime>(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    WindowFixture slow(false, [now] { return *now = now->addSecs(1); });
    openSet(slow);
    slow.dialogs.folder(m_dst.path()).message(Answer::Yes).cancelProgressAt(2);
    QVERIFY(slow.ui.menuCommand(QStringLiteral("Special"), QStringLiteral("CopyImagesToPath")));
    QCOMPARE(slow.dialogs.progressShown(), QStringList({"0/4", "1/4", "2/4", "end"}));
    QVERIFY(!QFile::exists(log())); // the missing image failed, but the run was cancelled
    QVERIFY(!QFile::exists(dst(QStringLiteral("b.gif"))));
    QVERIFY(slow.dialogs.problems().isEmpty());

    // A quick run shows none.
    m_f->dialogs.folder(m_dst.path()).message(Answer::Yes).message(Answer::Ok);
    copy(*m_f);
    QVERIFY(m_f->dialogs.progressShown().isEmpty());
}

// Each dialog takes the user 0.6 s to answer; the copying itself none.
void TestCopyImagesWindow::slowAnswersAreNotCopyingTime()
{
    const QDateTime start(QDate(2026, 1, 2), QTime(3, 4, 5));
    const ScriptedDialogs* answered = nullptr;
    WindowFixture f(false,
                    [&] { return start.addMSecs(answered ? 600 * answered->shown().size() : 0); });
    answered = &f.dialogs;
    openSet(f);
    writeBytes(dst(QStringLiteral("b.gif")), "old b");
    f.dialogs.folder(m_dst.path()).message(Answer::No).message(Answer::Yes).message(Answer::Ok);
    copy(f);
    QCOMPARE(f.dialogs.problems(), QString());
    QVERIFY(f.dialogs.progressShown().isEmpty());
}

QTEST_MAIN(TestCopyImagesWindow)
#include "tst_copyimageswindow.moc"
