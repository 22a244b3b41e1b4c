#include "previewpicture.h"
#include "windowdriver.h"

#include <QLabel>
#include <QtTest>
#include <optional>

using Kind = ScriptedDialogs::Kind;

namespace {

const QString ImageFilter =
    QStringLiteral("All images|*.gif;*.jpg|Gif file|*.gif|Jpg file|*.jpg|All files|*.*");

// The settings file as another program would read it.
QString storedWizard()
{
    QFile file(QDir::home().filePath(QStringLiteral(".config/RollcraftII/RollcraftII.conf")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(file.readAll());
    const qsizetype at = text.indexOf(QLatin1String("[General]\nAutoImage="));
    return at < 0 ? QString() : text.mid(at + 20).section(QLatin1Char('\n'), 0, 0);
}

} // namespace

class TestImages : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void wizardChainsChoosers_data();
    void wizardChainsChoosers();
    void formatWarning_data();
    void formatWarning();
    void dialogFailure();
    void previewFollowsField_data();
    void previewFollowsField();
    void wizardSwitchPersists();

private:
    void start(bool wizard);
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
    std::optional<WindowFixture> m_f;
};

void TestImages::initTestCase()
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkRed);
    QVERIFY(picture.save(file(QStringLiteral("ok.jpg"))));
    QFile jpeg(file(QStringLiteral("ok.jpg")));
    QVERIFY(jpeg.open(QIODevice::ReadOnly));
    const QByteArray bytes = jpeg.readAll();
    const auto write = [this](const QString& name, const QByteArray& content) {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    };
    write(QStringLiteral("truncated.jpg"), bytes.left(bytes.size() / 3));
    write(QStringLiteral("text.gif"), "not a picture at all");
    write(QStringLiteral("empty.gif"), QByteArray());
    // A GIF header claiming 30000 x 30000 pixels.
    write(QStringLiteral("huge.gif"),
          QByteArray("GIF89a\x30\x75\x30\x75\x00\x00\x00", 13) + QByteArray(64, '\0'));
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.gif")));
}

void TestImages::start(bool wizard)
{
    m_f.emplace(wizard);
}

void TestImages::cleanup()
{
    if (m_f)
        QVERIFY2(m_f->dialogs.problems().isEmpty(), qPrintable(m_f->dialogs.problems()));
    m_f.reset();
}

// Each row: what the choosers answer after "Add", in order ("" cancels), and
// the titles of the choosers that open.
void TestImages::wizardChainsChoosers_data()
{
    QTest::addColumn<bool>("wizard");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("titles");
    const QStringList all = {
        "MouseOut image:", "MouseOver image:", "Description image:", "Default description image:"};
    QTest::newRow("all four") << true << QStringList{"/p/o.gif", "/p/v.gif", "/p/d.gif", "/p/x.gif"}
                              << all;
    QTest::newRow("cancel MouseOver")
        << true << QStringList{"/p/o.gif", "", ""} << QStringList{all[0], all[1], all[3]};
    QTest::newRow("cancel MouseOut")
        << true << QStringList{"", "/p/x.gif"} << QStringList{all[0], all[3]};
    QTest::newRow("wizard off") << false << QStringList() << QStringList();
}

void TestImages::wizardChainsChoosers()
{
    QFETCH(bool, wizard);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, titles);
    start(wizard);
    m_f->dialogs.input(QStringLiteral("A"));
    for (const QString& a : answers) {
        if (a.isEmpty())
            m_f->dialogs.fileCancelled(Kind::OpenFile);
        else
            m_f->dialogs.openFile(a);
    }
    m_f->ui.click(QStringLiteral("Command4"));
    QStringList shown;
    for (const ScriptedDialogs::Shown& s : m_f->dialogs.shown()) {
        if (s.kind == Kind::OpenFile) {
            shown << s.title;
            QCOMPARE(s.text, ImageFilter);
        }
    }
    QCOMPARE(shown, titles);
    if (answers.size() == 4) {
        QCOMPARE(m_f->ui.field(0)->text(), QStringLiteral("/p/o.gif"));
        QCOMPARE(m_f->ui.field(2)->text(), QStringLiteral("/p/d.gif"));
        QCOMPARE(m_f->window.buttonSet().DefaultDescriptionImage, QStringLiteral("/p/x.gif"));
    }
}

void TestImages::formatWarning_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("warned");
    QTest::newRow("gif") << "a.gif" << false;
    QTest::newRow("Gif in any case") << "photo.Gif" << false;
    QTest::newRow("JPG") << "B.JPG" << false;
    QTest::newRow("jpeg") << "a.jpeg" << true;
    QTest::newRow("png") << "a.png" << true;
}

void TestImages::formatWarning()
{
    QFETCH(QString, name);
    QFETCH(bool, warned);
    start(false);
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("A"));
    m_f->ui.type(1, QStringLiteral("C:\\over.gif")); // a chain would stop here anyway
    m_f->dialogs.openFile(QStringLiteral("/pics/") + name);
    if (warned)
        m_f->dialogs.message(Dialogs::Answer::Ok);
    m_f->ui.click(QStringLiteral("Command7_0"));
    if (warned) {
        QCOMPARE(m_f->dialogs.last().text,
                 QStringLiteral("The imageformat you have choosen,might not work in a browser !"));
        QCOMPARE(m_f->dialogs.last().icon, Dialogs::Icon::Exclamation);
        QCOMPARE(m_f->dialogs.last().title, QStringLiteral("TWKPLUGIN"));
    }
    QCOMPARE(m_f->ui.field(0)->text(), QStringLiteral("/pics/") + name);
    QVERIFY(!m_f->window.buttonSet().Saved);
}

void TestImages::dialogFailure()
{
    start(true);
    m_f->dialogs.input(QStringLiteral("A")).fileFailed(Kind::OpenFile).message(Dialogs::Answer::Ok);
    m_f->dialogs.fileCancelled(Kind::OpenFile);
    m_f->ui.click(QStringLiteral("Command4"));
    const ScriptedDialogs::Shown& error = m_f->dialogs.shown()[2];
    QCOMPARE(error.text, QStringLiteral("ERROR! Unable to get image path!"));
    QCOMPARE(error.icon, Dialogs::Icon::Critical);
    QCOMPARE(m_f->ui.field(0)->text(), QString());
}

void TestImages::previewFollowsField_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("loads");
    QTest::newRow("picture") << "ok.jpg" << true;
    QTest::newRow("truncated") << "truncated.jpg" << false;
    QTest::newRow("not a picture") << "text.gif" << false;
    QTest::newRow("zero bytes") << "empty.gif" << false;
    QTest::newRow("30000 x 30000 header") << "huge.gif" << false;
    QTest::newRow("a folder") << "folder.gif" << false;
    QTest::newRow("missing") << "missing.gif" << false;
}

void TestImages::previewFollowsField()
{
    QFETCH(QString, name);
    QFETCH(bool, loads);
    start(false);
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("A"));
    m_f->window.show();
    for (int i : TWKPLUGIN::PreviewFields) {
        m_f->ui.type(i, file(name));
        PreviewPicture* picture = m_f->window.Image1(i);
        QCOMPARE(m_f->window.Label9(i)->isVisible(), !loads);
        QCOMPARE(!picture->pixmap().isNull(), loads);
        if (loads) {
            QCOMPARE(picture->pixmap().size(), QSize(40, 30));
            QCOMPARE(picture->size(), QSize(40, 30));
        }
        m_f->ui.type(i, QString());
        QVERIFY(!m_f->window.Label9(i)->isVisible());
        QVERIFY(picture->pixmap().isNull());
    }
    QCOMPARE(m_f->window.Label9(0)->text(), QStringLiteral("UNABLE TO LOAD IMAGE!"));
}

void TestImages::wizardSwitchPersists()
{
    start(true);
    QAction* item = m_f->window.findChild<QAction*>(QStringLiteral("AutoImage"));
    QVERIFY(item->isChecked());
    m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("AutoImage"));
    QVERIFY(!item->isChecked());
    QCOMPARE(storedWizard(), QStringLiteral("False"));
    {
        ScriptedDialogs dialogs;
        TWKPLUGIN second(dialogs);
        QVERIFY(!second.findChild<QAction*>(QStringLiteral("AutoImage"))->isChecked());
    }
    m_f->ui.menuCommand(QStringLiteral("File"), QStringLiteral("AutoImage"));
    QVERIFY(item->isChecked());
    QCOMPARE(storedWizard(), QStringLiteral("True"));
}

QTEST_MAIN(TestImages)
#include "tst_images.moc"
