#include "pagegenerator.h"
#include "windowdriver.h"

#include <QSignalSpy>
#include <QtTest>

using Answer = Dialogs::Answer;
using Exchange = TWKPLUGIN::Exchange;

namespace {

const QDateTime Now(QDate(2026, 12, 4), QTime(17, 58, 35));

QStringList changes(const QSignalSpy& spy)
{
    QStringList all;
    for (const QList<QVariant>& c : spy)
        all << c[0].toString() + QLatin1Char('=') + c[1].toString().left(6);
    return all;
}

} // namespace

class TestDelivery : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void insertPublishesTitleThenPageAndCloses();
    void refusedCloseKeepsThePage();
    void previewPulsesAndStaysOpen();

private:
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TWKPLUGIN> m_window;
    std::unique_ptr<WindowDriver> m_ui;
};

void TestDelivery::init()
{
    writeAutoImage(false);
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_window = std::make_unique<TWKPLUGIN>(*m_dialogs, [] { return Now; });
    m_ui = std::make_unique<WindowDriver>(*m_window);
    m_window->show();
    m_ui->addButton(*m_dialogs, QStringLiteral("Home"));
    m_ui->type(3, QStringLiteral("index.htm"));
}

void TestDelivery::cleanup()
{
    QVERIFY2(m_dialogs->problems().isEmpty(), qPrintable(m_dialogs->problems()));
    m_ui.reset();
    m_window.reset();
}

void TestDelivery::insertPublishesTitleThenPageAndCloses()
{
    QSignalSpy spy(m_window.get(), &TWKPLUGIN::exchangeChanged);
    QSignalSpy closed(m_window.get(), &TWKPLUGIN::closed);
    m_dialogs->message(Answer::Ok); // the unsaved-data question when the timer closes
    m_ui->click(QStringLiteral("Command1"));
    QCOMPARE(changes(spy), (QStringList{"SCRIPTTYPE=Rollcr", "SCRIPT=", "SCRIPT=<html>"}));
    QCOMPARE(m_window->exchangeText(Exchange::SCRIPTTYPE),
             QStringLiteral("Rollcraft II 04-12-26 - 17-58-35"));
    QCOMPARE(m_window->exchangeText(Exchange::SCRIPT),
             buildPage(m_window->buttonSet(), PageMode::Page));
    QCOMPARE(m_window->buttonSet().Buttons[0].Url, QStringLiteral("index.htm")); // stored first
    QCOMPARE(closed.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 2000);
    QCOMPARE(spy.count(), 3); // the fields keep the page and the title
}

void TestDelivery::refusedCloseKeepsThePage()
{
    m_dialogs->message(Answer::Cancel);
    m_ui->click(QStringLiteral("Command1"));
    QTRY_COMPARE_WITH_TIMEOUT(m_dialogs->shown().size(), 2, 2000);
    QVERIFY(m_window->isVisible());
    QVERIFY(m_window->scriptInserted());

    // A preview now replaces the page; Exit then leaves both fields filled.
    m_ui->click(QStringLiteral("Command2"));
    m_dialogs->message(Answer::Ok);
    m_ui->menuCommand(QStringLiteral("File"), QStringLiteral("Exit"));
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_window->exchangeText(Exchange::SCRIPT),
             buildPage(m_window->buttonSet(), PageMode::Preview));
    QCOMPARE(m_window->exchangeText(Exchange::SCRIPTTYPE),
             QStringLiteral("Rollcraft II 04-12-26 - 17-58-35"));
}

void TestDelivery::previewPulsesAndStaysOpen()
{
    QSignalSpy spy(m_window.get(), &TWKPLUGIN::exchangeChanged);
    m_ui->click(QStringLiteral("Command2"));
    QCOMPARE(changes(spy), (QStringList{"SCRIPT=", "SCRIPT=<html>"}));
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 4, 2000);
    QCOMPARE(changes(spy).mid(2), (QStringList{"PREVIEW=PREVIE", "PREVIEW="}));
    QCOMPARE(m_window->exchangeText(Exchange::SCRIPTTYPE), QString());
    QVERIFY(!m_window->scriptInserted());
    QTest::qWait(300);
    QCOMPARE(spy.count(), 4);
    QVERIFY(m_window->isVisible());
}

QTEST_MAIN(TestDelivery)
#include "tst_delivery.moc"
