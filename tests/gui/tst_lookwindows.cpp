#include "aboutwindow.h"
#include "demobox.h"
#include "demomenu.h"
#include "fullscreenviewer.h"
#include "previewpicture.h"
#include "windowdriver.h"

#include <QApplication>
#include <QImageReader>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

namespace {

FullScreenViewer* viewer()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* v = qobject_cast<FullScreenViewer*>(w); v && v->isVisible())
            return v;
    return nullptr;
}

QImage resource(const char* name)
{
    return QImage(QStringLiteral(":/demo/%1.gif").arg(QLatin1String(name)))
        .convertToFormat(QImage::Format_RGB32);
}

QImage shown(const DemoBox* box)
{
    return box->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

QList<int> litMarkers(const DemoMenu& d)
{
    QList<int> lit;
    for (int i = 0; i < DemoMenu::Markers; ++i)
        if (d.markerOutline(i) == QColor(255, 255, 0))
            lit << i;
        else if (d.markerOutline(i) != QColor(Qt::black))
            return {-1};
    return lit;
}

QList<int> shownConnectors(const DemoMenu& d)
{
    QList<int> on;
    for (int i = 0; i < DemoMenu::Connectors; ++i)
        if (d.connectorVisible(i))
            on << i;
    return on;
}

const QList<int> RestMarkers = {0, 3, 6, 7, 8, 9};
const QList<int> RestConnectors = {0, 2, 4};

void saveShot(QWidget& w, const QString& name)
{
    QVERIFY(w.grab().save(QDir::current().filePath(name)));
}

} // namespace

class TestLookWindows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void viewerCentresThePicture_data();
    void viewerCentresThePicture();
    void viewerCloses_data();
    void viewerCloses();
    void emptyOrFailedPreviewsOpenNothing();
    void demoPointerMoves_data();
    void demoPointerMoves();
    void demoClicks_data();
    void demoClicks();
    void demoOpensFreshEachTime();
    void aboutWindow();

private:
    // Shows a picture of `size` in preview 0 of a new button.
    void showPicture(QSize size);

    QTemporaryDir m_dir;
    std::unique_ptr<WindowFixture> m_f;
};

void TestLookWindows::init()
{
    m_f = std::make_unique<WindowFixture>();
    m_f->window.show();
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("A"));
}

void TestLookWindows::cleanup()
{
    if (FullScreenViewer* v = viewer())
        v->close();
    QVERIFY2(m_f->dialogs.problems().isEmpty(), qPrintable(m_f->dialogs.problems()));
    m_f.reset();
}

void TestLookWindows::showPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::green);
    const QString path =
        m_dir.filePath(QStringLiteral("p%1x%2.png").arg(size.width()).arg(size.height()));
    QVERIFY(image.save(path));
    m_f->ui.type(0, path);
}

void TestLookWindows::viewerCentresThePicture_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("small") << QSize(101, 61);
    QTest::newRow("larger than the screen") << QSize(4001, 3001);
}

void TestLookWindows::viewerCentresThePicture()
{
    QFETCH(QSize, size);
    showPicture(size);
    QTest::mouseClick(m_f->window.Image1(0), Qt::LeftButton);
    FullScreenViewer* v = viewer();
    QVERIFY(v);
    const QRect screen = m_f->window.screen()->geometry();
    QCOMPARE(v->geometry(), screen);
    QVERIFY(v->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(v->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(v->palette().color(QPalette::Window), QColor(Qt::black));
    QCOMPARE(v->Image1()->size(), size);
    QCOMPARE(v->Image1()->pos(),
             QPoint(int(std::floor(screen.width() / 2.0 - size.width() / 2.0)),
                    int(std::floor(screen.height() / 2.0 - size.height() / 2.0))));
    QCOMPARE(v->Image1()->toolTip(), QStringLiteral("Click to return"));
    // The very picture of the preview, not a new load of the file.
    QCOMPARE(v->Image1()->pixmap().cacheKey(), m_f->window.Image1(0)->pixmap().cacheKey());
}

void TestLookWindows::viewerCloses_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("click on the background") << 0;
    QTest::newRow("click on the picture") << 1;
    QTest::newRow("a lone Shift") << 2;
    QTest::newRow("a letter") << 3;
}

void TestLookWindows::viewerCloses()
{
    QFETCH(int, how);
    showPicture(QSize(40, 30));
    QTest::mouseClick(m_f->window.Image1(0), Qt::LeftButton);
    QPointer<FullScreenViewer> v = viewer();
    QVERIFY(v);
    if (how == 0)
        QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(2, 2));
    else if (how == 1)
        QTest::mouseClick(v->Image1(), Qt::LeftButton);
    else
        QTest::keyClick(v, how == 2 ? Qt::Key_Shift : Qt::Key_Q);
    QTRY_VERIFY(v.isNull()); // destroyed, not hidden

    // Opening again makes a fresh viewer.
    QTest::mouseClick(m_f->window.Image1(0), Qt::LeftButton);
    QVERIFY(viewer());
}

void TestLookWindows::emptyOrFailedPreviewsOpenNothing()
{
    QTest::mouseClick(m_f->window.Image1(1), Qt::LeftButton); // empty field
    const QString notAPicture = m_dir.filePath(QStringLiteral("text.gif"));
    QFile f(notAPicture);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    m_f->ui.type(2, notAPicture);
    QVERIFY(m_f->window.Label9(2)->isVisible());
    QTest::mouseClick(m_f->window.Image1(2), Qt::LeftButton);
    QVERIFY(!viewer());
}

void TestLookWindows::demoPointerMoves_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<QList<int>>("markers");
    QTest::addColumn<QList<int>>("connectors");
    QTest::addColumn<QString>("picture0");
    QTest::addColumn<QString>("picture1");
    QTest::addColumn<QString>("picture2");
    const QList<int> aboutLit = {1, 2, 3, 7, 8, 9};
    const QList<int> contactLit = {0, 4, 5, 7, 8, 9};
    QTest::newRow("inside ABOUT?")
        << 0 << QPointF(20, 10) << aboutLit << QList<int>{1, 2, 5} << "about_over"
        << "contact_out"
        << "about_description";
    QTest::newRow("ABOUT?, bottom right edge")
        << 0 << QPointF(159, 25) << aboutLit << QList<int>{1, 2, 5} << "about_over"
        << "contact_out"
        << "about_description";
    QTest::newRow("just right of ABOUT?")
        << 0 << QPointF(159.5, 5) << RestMarkers << RestConnectors << "about_out"
        << "contact_out"
        << "default_description";
    QTest::newRow("inside CONTACT")
        << 1 << QPointF(0, 0) << contactLit << QList<int>{0, 3, 6} << "about_out"
        << "contact_over"
        << "contact_description";
    QTest::newRow("above CONTACT")
        << 1 << QPointF(5, -0.5) << RestMarkers << RestConnectors << "about_out"
        << "contact_out"
        << "default_description";
    QTest::newRow("description area changes nothing")
        << 2 << QPointF(5, 5) << RestMarkers << RestConnectors << "about_out"
        << "contact_out"
        << "default_description";
}

void TestLookWindows::demoPointerMoves()
{
    QFETCH(int, box);
    QFETCH(QPointF, at);
    DemoMenu demo(m_f->dialogs, &m_f->window);
    demo.show();
    QCOMPARE(litMarkers(demo), RestMarkers);
    QCOMPARE(shownConnectors(demo), RestConnectors);
    demo.Picture1_MouseMove(box, Qt::NoButton, Qt::NoModifier, at.x(), at.y());
    QTEST(litMarkers(demo), "markers");
    QTEST(shownConnectors(demo), "connectors");
    QFETCH(QString, picture0);
    QFETCH(QString, picture1);
    QFETCH(QString, picture2);
    QCOMPARE(shown(demo.Picture1(0)), resource(qPrintable(picture0)));
    QCOMPARE(shown(demo.Picture1(1)), resource(qPrintable(picture1)));
    QCOMPARE(shown(demo.Picture1(2)), resource(qPrintable(picture2)));
    if (QTest::currentDataTag() == QLatin1String("inside ABOUT?"))
        saveShot(demo, QStringLiteral("demo-lit.png"));
}

void TestLookWindows::demoClicks_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("message");
    QTest::newRow("ABOUT?") << 0 << "You clicked on \"About\"";
    QTest::newRow("CONTACT") << 1 << "You clicked on \"Contact\"";
    QTest::newRow("description area") << 2 << "This image has no URL !";
}

void TestLookWindows::demoClicks()
{
    QFETCH(int, box);
    QFETCH(QString, message);
    DemoMenu demo(m_f->dialogs, &m_f->window);
    demo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&demo));
    // Through the real box: the pointer moves in, then a button is released.
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10),
                     demo.Picture1(box)->mapToGlobal(QPointF(10, 10)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(demo.Picture1(box), &move);
    m_f->dialogs.message(Dialogs::Answer::Ok);
    QTest::mouseClick(demo.Picture1(box), Qt::RightButton, {}, QPoint(10, 10));
    QCOMPARE(m_f->dialogs.last().text, message);
    QCOMPARE(m_f->dialogs.last().icon, Dialogs::Icon::Information);
    QCOMPARE(m_f->dialogs.last().title, QStringLiteral("TWKPLUGIN"));
    // The reset after the message darkens box 0 only: after a click on
    // CONTACT that box keeps its MouseOver picture.
    QCOMPARE(litMarkers(demo), RestMarkers);
    QCOMPARE(shownConnectors(demo), RestConnectors);
    QCOMPARE(shown(demo.Picture1(1)), resource(box == 1 ? "contact_over" : "contact_out"));
    demo.Picture1(box)->releaseMouse();
}

void TestLookWindows::demoOpensFreshEachTime()
{
    for (int round = 0; round < 2; ++round) {
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            auto* demo = qobject_cast<DemoMenu*>(QApplication::activeModalWidget());
            QVERIFY(demo);
            checked = true;
            QCOMPARE(demo->windowTitle(), QStringLiteral("DemoMenu"));
            QCOMPARE(demo->size(), QSize(543, 452));
            QCOMPARE(litMarkers(*demo), RestMarkers);
            QCOMPARE(shown(demo->Picture1(0)), resource("about_out"));
            QCOMPARE(demo->Picture1(0)->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(demo->Picture1(2)->cursor().shape(), Qt::ArrowCursor);
            QCOMPARE(demo->windowIcon().cacheKey(), m_f->window.windowIcon().cacheKey());
            if (round == 0)
                saveShot(*demo, QStringLiteral("demo-rest.png"));
            demo->Picture1_MouseMove(0, Qt::NoButton, Qt::NoModifier, 3, 3);
            demo->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        });
        m_f->ui.click(QStringLiteral("Command8"));
        QVERIFY(checked);
    }
}

void TestLookWindows::aboutWindow()
{
    // 16 and 32 pixels in 16 colours, 32 and 48 in 256: the icon file's
    // directory gives each image's width and bits per pixel.
    QFile icon(QStringLiteral(":/icons/rollcraft.ico"));
    QVERIFY(icon.open(QIODevice::ReadOnly));
    const QByteArray ico = icon.readAll();
    QStringList images;
    for (int i = 0; i < ico.at(4); ++i) {
        const char* entry = ico.constData() + 6 + 16 * i;
        images << QStringLiteral("%1:%2").arg(uchar(entry[0])).arg(uchar(entry[6]));
    }
    QCOMPARE(images, QStringList({"16:4", "32:4", "32:8", "48:8"}));
    QCOMPARE(QImageReader(icon.fileName()).imageCount(), 4);
    QVERIFY(!m_f->window.windowIcon().isNull());

    AboutWindow about(&m_f->window);
    about.show();
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    QCOMPARE(about.size(), QSize(309, 142));
    QCOMPARE(about.windowIcon().cacheKey(), m_f->window.windowIcon().cacheKey());
    const auto text = [&about](const char* name) {
        return about.findChild<QLabel*>(QLatin1String(name))->text();
    };
    QCOMPARE(text("Label1_0"), QStringLiteral("Rollcraft II / TWK Plugin"));
    QCOMPARE(text("Label1_1"), QStringLiteral("V.1.0"));
    QVERIFY(!text("Label1_2").isEmpty() && !text("Label2").isEmpty());
    const QFont title = about.findChild<QLabel*>(QStringLiteral("Label1_0"))->font();
    QVERIFY(title.bold());
    QCOMPARE(title.pointSizeF(), 9.75);
    // Every line fits its label.
    for (QLabel* label : about.findChildren<QLabel*>())
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->objectName()));
    auto* ok = about.findChild<QPushButton*>(QStringLiteral("Command1"));
    QCOMPARE(ok->text(), QStringLiteral("&OK"));
    saveShot(about, QStringLiteral("about.png"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!about.isVisible());
}

QTEST_MAIN(TestLookWindows)
#include "tst_lookwindows.moc"
