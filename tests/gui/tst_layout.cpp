#include "windowdriver.h"

#include <QMenuBar>
#include <QtTest>
#include <optional>

namespace {
QRect twips(int left, int top, int width, int height)
{
    const auto px = [](int t) { return qRound(t / 15.0); };
    return {px(left), px(top), px(width), px(height)};
}
} // namespace

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void init() { m_f.emplace(); }
    void cleanup() { m_f.reset(); }

    void controls_data();
    void controls();
    void captions_data();
    void captions();
    void menus();
    void focusOrder();
    void sizeLock();
    void screenshot();

private:
    std::optional<WindowFixture> m_f;
};

void TestLayout::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("expected");
    const struct {
        const char* name;
        int l, t, w, h;
    } table[] = {
        {"Label1", 75, 45, 585, 195},         {"Combo1", 75, 240, 4410, 315},
        {"Command4", 4560, 240, 825, 315},    {"Command5", 5415, 240, 1485, 315},
        {"Command6", 6930, 240, 825, 315},    {"Label2_0", 105, 750, 1245, 195},
        {"Text1_0", 105, 945, 3375, 285},     {"Command7_0", 3480, 945, 330, 285},
        {"Frame1_0", 60, 1065, 3810, 1245},   {"Label2_1", 105, 2370, 1335, 195},
        {"Text1_1", 105, 2565, 3375, 285},    {"Command7_1", 3480, 2565, 330, 285},
        {"Frame1_1", 60, 2685, 3810, 1245},   {"Label5", 75, 3960, 240, 195},
        {"Text1_3", 75, 4155, 3765, 285},     {"Label6", 75, 4500, 510, 195},
        {"Text1_4", 75, 4710, 3765, 285},     {"Label7", 75, 5055, 225, 195},
        {"Text1_5", 75, 5250, 3765, 285},     {"Label8", 75, 5580, 1260, 195},
        {"Text1_6", 75, 5790, 3765, 285},     {"Label2_2", 3990, 750, 1305, 195},
        {"Text1_2", 3990, 945, 3375, 285},    {"Command7_2", 7365, 945, 330, 285},
        {"Frame1_2", 3915, 1065, 3810, 2325}, {"Label2_3", 3990, 3450, 1830, 195},
        {"Text1_7", 3990, 3645, 3375, 285},   {"Command7_7", 7365, 3645, 330, 285},
        {"Frame1_7", 3915, 3765, 3810, 2325}, {"Command2", 105, 6315, 1350, 345},
        {"Command8", 1920, 6315, 1125, 345},  {"Command1", 5565, 6315, 1095, 345},
        {"Command3", 6765, 6315, 960, 345},   {"Image1_0", 120, 255, 3585, 870},
        {"Image1_1", 120, 255, 3585, 885},    {"Image1_2", 120, 255, 3585, 1965},
        {"Image1_7", 120, 255, 3585, 1965},   {"Label9_0", 195, 345, 2325, 195},
        {"Label9_7", 195, 345, 2325, 195},
    };
    for (const auto& row : table)
        QTest::newRow(row.name) << row.name << twips(row.l, row.t, row.w, row.h);
}

void TestLayout::controls()
{
    QFETCH(QString, name);
    QFETCH(QRect, expected);
    QWidget* control = m_f->ui.control(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), expected);
}

void TestLayout::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Label1") << "Label1"
                            << "Buttons:";
    QTest::newRow("Label2_3") << "Label2_3"
                              << "Default description image:";
    QTest::newRow("Label8") << "Label8"
                            << "Image path prefix:";
    QTest::newRow("Command5") << "Command5"
                              << "Edit button name";
    QTest::newRow("Command7_7") << "Command7_7"
                                << "...";
    QTest::newRow("Command2") << "Command2"
                              << "Instant preview";
    QTest::newRow("Command8") << "Command8"
                              << "DemoMenu";
    QTest::newRow("Command1") << "Command1"
                              << "Insert script";
}

void TestLayout::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QWidget* w = m_f->ui.control(name);
    QCOMPARE(w->property("text").toString(), caption);
}

void TestLayout::menus()
{
    QCOMPARE(m_f->window.windowTitle(), QStringLiteral("Rollcraft II V.1.0 / TWK Plugin"));
    QStringList titles;
    for (QAction* a : m_f->window.menuBar()->actions())
        titles << a->text();
    QCOMPARE(titles, (QStringList{"File", "Export", "Edit"}));
    QStringList file;
    for (QAction* a : m_f->ui.control<QMenu>(QStringLiteral("File"))->actions()) {
        file << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QVERIFY(a->shortcut().isEmpty());
    }
    QCOMPARE(file, (QStringList{"New", "-", "Open datafile...", "-", "Save datafile...", "-",
                                "Auto image wizard", "-", "About", "-", "Exit"}));
    QCOMPARE(m_f->ui.control<QMenu>(QStringLiteral("Special"))->actions().constFirst()->text(),
             QStringLiteral("Copy images to path..."));
    QCOMPARE(m_f->ui.control<QMenu>(QStringLiteral("EditSet"))->actions().constFirst()->text(),
             QStringLiteral("Change all image prefix"));
}

void TestLayout::focusOrder()
{
    const QStringList expected = {"Command1",   "Command2", "Command3",   "Combo1",     "Command4",
                                  "Command5",   "Command6", "Text1_0",    "Command7_0", "Text1_3",
                                  "Text1_4",    "Text1_5",  "Text1_6",    "Command7_1", "Text1_1",
                                  "Command7_2", "Text1_2",  "Command7_7", "Text1_7",    "Command8"};
    QWidget* w = m_f->ui.control(expected.constFirst());
    QStringList order{w->objectName()};
    for (int i = 1; i < expected.size(); ++i) {
        do
            w = w->nextInFocusChain();
        while (!expected.contains(w->objectName()));
        order << w->objectName();
    }
    QCOMPARE(order, expected);
}

void TestLayout::sizeLock()
{
    TWKPLUGIN& w = m_f->window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.centralWidget()->size(), QSize(522, 447));
    const QSize locked = w.size();
    w.resize(locked + QSize(120, 80));
    QCOMPARE(w.size(), locked);
    w.showMinimized();
    w.showNormal();
    QCOMPARE(w.size(), locked);
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    for (const char* name : {"SCRIPT", "SCRIPTTYPE", "PREVIEW"})
        QVERIFY(!m_f->ui.control(QLatin1String(name))->isVisible());
}

void TestLayout::screenshot()
{
    m_f->ui.addButton(m_f->dialogs, QStringLiteral("Home"));
    m_f->window.show();
    const QString path = QDir::current().filePath(QStringLiteral("mainwindow.png"));
    QVERIFY(m_f->window.grab().save(path));
    qInfo("screenshot: %s", qPrintable(path));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
