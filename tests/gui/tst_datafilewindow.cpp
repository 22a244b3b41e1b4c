#include "testfiles.h"
#include "windowdriver.h"

#include <QtTest>
#include <csignal>
#include <optional>
#include <sys/resource.h>

using Answer = Dialogs::Answer;
using Kind = ScriptedDialogs::Kind;

namespace {

const QString Filter = QStringLiteral("Rollcraft2 (*.rk2)|*.rk2");

const QByteArray TwoButtons =
    "[COMMON]\r\nC:\\p\\def.gif\r\n"
    "[Button]\r\nHome\r\nC:\\p\\h.gif\r\n#\r\n#\r\nindex.htm\r\n#\r\nHome\r\nimg\r\n"
    "[button]\r\nNews\r\nC:\\p\\n.gif\r\n#\r\n#\r\nnews.htm\r\n_top\r\nNews\r\nimg\r\n";

} // namespace

class TestDataFileWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void saveAndOpenAgain();
    void openAddsTheExtension_data();
    void openAddsTheExtension();
    void openAsksAboutUnsavedData();
    void openFailures_data();
    void openFailures();
    void dialogFailures();
    void saveFailures_data();
    void saveFailures();
    void fileWithoutButtons();

private:
    void openThrough(const QString& path);
    ButtonSet set() const { return m_f->window.buttonSet(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
    std::optional<WindowFixture> m_f;
};

void TestDataFileWindow::init()
{
    m_f.emplace();
}

void TestDataFileWindow::cleanup()
{
    QVERIFY2(m_f->dialogs.problems().isEmpty(), qPrintable(m_f->dialogs.problems()));
    m_f.reset();
}

void TestDataFileWindow::openThrough(const QString& path)
{
    m_f->dialogs.openFile(path);
    QVERIFY(m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("OpenData")));
}

void TestDataFileWindow::saveAndOpenAgain()
{
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("Home"));
    m_f->ui.type(0, QStringLiteral("C:\\p\\h.gif"));
    m_f->ui.type(3, QStringLiteral("index.htm"));
    m_f->ui.type(6, QStringLiteral("img"));
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("News"));
    m_f->ui.type(0, QStringLiteral("C:\\p\\n.gif"));
    m_f->ui.type(3, QStringLiteral("news.htm"));
    m_f->ui.type(4, QStringLiteral("_top"));
    m_f->ui.type(7, QStringLiteral("C:\\p\\def.gif"));
    m_f->dialogs.saveFile(file(QStringLiteral("saved.rk2")));
    QVERIFY(m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("SaveData")));
    const ScriptedDialogs::Shown& dialog = m_f->dialogs.last();
    QCOMPARE(dialog.kind, Kind::SaveFile);
    QCOMPARE(dialog.text, Filter);
    QCOMPARE(dialog.initial, QStringLiteral("Rollcraft2_untitled"));
    QVERIFY(set().Saved);
    QCOMPARE(set().DataFileName, file(QStringLiteral("saved.rk2")));
    QCOMPARE(readBytes(file(QStringLiteral("saved.rk2"))),
             QByteArray(TwoButtons).replace("[button]", "[Button]"));

    // The next save offers the file last saved.
    m_f->dialogs.fileCancelled(Kind::SaveFile);
    m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("SaveData"));
    QCOMPARE(m_f->dialogs.last().initial, file(QStringLiteral("saved.rk2")));

    WindowFixture other;
    other.dialogs.openFile(file(QStringLiteral("saved.rk2")));
    other.ui.menuCommand(QStringLiteral("File"), QStringLiteral("OpenData"));
    QCOMPARE(other.dialogs.last().initial, QString());
    QCOMPARE(other.dialogs.last().text, Filter);
    QCOMPARE(other.window.buttonSet().Buttons, set().Buttons);
    QCOMPARE(other.ui.entries(), (QStringList{"Home", "News"}));
    QCOMPARE(other.ui.list()->selectedIndex(), 0);
    QCOMPARE(other.ui.field(3)->text(), QStringLiteral("index.htm"));
    QCOMPARE(other.ui.field(7)->text(), QStringLiteral("C:\\p\\def.gif"));
    QVERIFY(other.ui.field(0)->isEnabled());
    QVERIFY(other.window.buttonSet().Saved);
    QVERIFY2(other.dialogs.problems().isEmpty(), qPrintable(other.dialogs.problems()));
}

void TestDataFileWindow::openAddsTheExtension_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("opened");
    QTest::newRow("no extension") << "menu"
                                  << "menu.rk2";
    QTest::newRow("upper case") << "MENU.RK2"
                                << "MENU.RK2";
    QTest::newRow("mixed case") << "menu.Rk2"
                                << "menu.Rk2";
    QTest::newRow("other extension") << "menu.txt"
                                     << "menu.txt.rk2";
}

void TestDataFileWindow::openAddsTheExtension()
{
    QFETCH(QString, chosen);
    QFETCH(QString, opened);
    writeBytes(file(opened), TwoButtons);
    openThrough(file(chosen));
    QCOMPARE(set().DataFileName, file(opened));
    QCOMPARE(m_f->ui.list()->count(), 2);
}

void TestDataFileWindow::openAsksAboutUnsavedData()
{
    writeBytes(file(QStringLiteral("two.rk2")), TwoButtons);
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("Mine"));
    m_f->dialogs.message(Answer::Cancel);
    m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("OpenData"));
    QCOMPARE(m_f->dialogs.last().text,
             QStringLiteral("Current data is not saved, open new datafile ?"));
    QCOMPARE(m_f->dialogs.last().title, QStringLiteral("TWKPLUGIN"));
    QCOMPARE(m_f->ui.entries(), QStringList{"Mine"});

    m_f->dialogs.message(Answer::Ok).fileCancelled(Kind::OpenFile);
    m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("OpenData"));
    QCOMPARE(m_f->ui.entries(), QStringList{"Mine"});
    QVERIFY(!set().Saved);

    m_f->dialogs.message(Answer::Ok);
    openThrough(file(QStringLiteral("two.rk2")));
    QCOMPARE(m_f->ui.entries(), (QStringList{"Home", "News"}));
}

// Each broken file shows the reader's message, keeps what was read before the
// error, selects nothing, leaves editing off, and still counts as saved.
void TestDataFileWindow::openFailures_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("defaultImage");
    const QByteArray good = TwoButtons;
    QTest::newRow("missing file") << QByteArray() << QStringList() << "";
    QTest::newRow("bad first line") << QByteArray("[COMMON] \r\n#\r\n") << QStringList() << "";
    QTest::newRow("ends after line 1") << QByteArray("[COMMON]\r\n") << QStringList() << "";
    QTest::newRow("bad header") << good + "[Buttons]\r\n"
                                << QStringList{"Home", "News"} << "C:\\p\\def.gif";
    QTest::newRow("empty line at the end") << good + "\r\n"
                                           << QStringList{"Home", "News"} << "C:\\p\\def.gif";
    QTest::newRow("ends after a name") << good + "[Button]\r\nLast\r\n"
                                       << QStringList{"Home", "News", "Last"} << "C:\\p\\def.gif";
}

void TestDataFileWindow::openFailures()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(QString, defaultImage);
    const QString path = file(QStringLiteral("broken.rk2"));
    if (!bytes.isEmpty())
        writeBytes(path, bytes);
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("Old"));
    m_f->ui.type(3, QStringLiteral("old.htm"));
    m_f->dialogs.message(Answer::Ok).openFile(path).message(Answer::Ok);
    m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("OpenData"));
    const ScriptedDialogs::Shown& error = m_f->dialogs.last();
    QCOMPARE(error.text, QStringLiteral("ERROR! Unable to open file."));
    QCOMPARE(error.icon, Dialogs::Icon::Critical);
    QCOMPARE(error.buttons, Dialogs::Buttons::Ok);

    QCOMPARE(m_f->ui.entries(), names);
    QCOMPARE(m_f->ui.list()->selectedIndex(), -1);
    QVERIFY(!m_f->ui.field(0)->isEnabled());
    QCOMPARE(set().DefaultDescriptionImage, defaultImage);
    QCOMPARE(set().DataFileName, path);
    QVERIFY(set().Saved);
    if (names.size() >= 2) {
        // The first pick shows the button without storing the emptied fields.
        m_f->ui.pick(1);
        QCOMPARE(m_f->ui.field(3)->text(), QStringLiteral("news.htm"));
        QCOMPARE(set().Buttons[0].Url, QStringLiteral("index.htm"));
    }
}

void TestDataFileWindow::dialogFailures()
{
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("A"));
    const ButtonSet before = set();
    m_f->dialogs.message(Answer::Ok).fileFailed(Kind::OpenFile).message(Answer::Ok);
    m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("OpenData"));
    QCOMPARE(m_f->dialogs.last().text, QStringLiteral("ERROR! Unable to open file!"));
    QCOMPARE(m_f->dialogs.last().icon, Dialogs::Icon::Critical);
    m_f->dialogs.fileFailed(Kind::SaveFile).message(Answer::Ok);
    m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("SaveData"));
    QCOMPARE(m_f->dialogs.last().text, QStringLiteral("ERROR! Unable to save file!"));
    QCOMPARE(set().Buttons, before.Buttons);
    QCOMPARE(set().DataFileName, QString());
    QVERIFY(!set().Saved);
}

void TestDataFileWindow::saveFailures_data()
{
    QTest::addColumn<bool>("sizeLimit");
    QTest::newRow("folder cannot be written") << false;
    QTest::newRow("fails half way") << true;
}

void TestDataFileWindow::saveFailures()
{
    QFETCH(bool, sizeLimit);
    const QString path = file(QStringLiteral("kept.rk2"));
    writeBytes(path, TwoButtons);
    for (int i = 0; i < 30; ++i)
        m_f->ui.addButton(m_f->dialogs, QStringLiteral("A long enough button name %1").arg(i));
    const QString target = sizeLimit ? path : path + QStringLiteral("/inside.rk2");
    m_f->dialogs.saveFile(target).message(Answer::Ok);

    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (sizeLimit) {
        rlimit small = old;
        small.rlim_cur = 512;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("SaveData"));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(m_f->dialogs.last().text, QStringLiteral("ERROR! Unable to save file."));
    QCOMPARE(m_f->dialogs.last().icon, Dialogs::Icon::Critical);
    QCOMPARE(readBytes(path), TwoButtons);
    QVERIFY(!set().Saved);
    QCOMPARE(set().DataFileName, target);
    m_f->dialogs.message(Answer::Cancel);
    m_f->window.close(); // still asks
    QVERIFY(m_f->dialogs.last().text.startsWith(QLatin1String("Current data is not saved")));
}

void TestDataFileWindow::fileWithoutButtons()
{
    writeBytes(file(QStringLiteral("none.rk2")), "[COMMON]\r\nC:\\p\\def.gif\r\n");
    openThrough(file(QStringLiteral("none.rk2")));
    QCOMPARE(m_f->ui.list()->count(), 0);
    QCOMPARE(set().DefaultDescriptionImage, QStringLiteral("C:\\p\\def.gif"));
    QCOMPARE(m_f->ui.field(7)->text(), QString());
    QVERIFY(!m_f->ui.field(7)->isEnabled());
    // "New" empties everything again and forgets the file.
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("A"));
    m_f->dialogs.message(Answer::Ok);
    m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("ClearAllData"));
    QCOMPARE(set().DefaultDescriptionImage, QString());
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("B"));
    m_f->dialogs.fileCancelled(Kind::SaveFile);
    m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("SaveData"));
    QCOMPARE(m_f->dialogs.last().initial, QStringLiteral("Rollcraft2_untitled"));
}

QTEST_MAIN(TestDataFileWindow)
#include "tst_datafilewindow.moc"
