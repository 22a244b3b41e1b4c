#include "e2e.h"

#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QSignalSpy>
#include <QtTest>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void wrongArgumentsEndAtOnce_data();
    void wrongArgumentsEndAtOnce();
    void hostReadsFieldsUntilClosed();
};

void TestStartup::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus");
}

void TestStartup::wrongArgumentsEndAtOnce_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("none") << QStringList();
    QTest::newRow("other case") << QStringList{"-StartPlugin"};
    QTest::newRow("two dashes") << QStringList{"--startplugin"};
    QTest::newRow("extra argument") << QStringList{"-startplugin", "x"};
    QTest::newRow("trailing blank") << QStringList{"-startplugin "};
}

void TestStartup::wrongArgumentsEndAtOnce()
{
    QFETCH(QStringList, arguments);
    QDBusServiceWatcher watcher(E2E::pluginBusName(), QDBusConnection::sessionBus(),
                                QDBusServiceWatcher::WatchForRegistration);
    QSignalSpy registered(&watcher, &QDBusServiceWatcher::serviceRegistered);
    QProcess plugin;
    plugin.start(E2E::program(QStringLiteral("rollcraft2")), arguments);
    QVERIFY(plugin.waitForFinished(5000));
    QCOMPARE(plugin.exitStatus(), QProcess::NormalExit);
    QCOMPARE(plugin.exitCode(), 0);
    QCOMPARE(plugin.readAllStandardOutput(), QByteArray());
    QCOMPARE(plugin.readAllStandardError(), QByteArray());
    QTest::qWait(100);
    QCOMPARE(registered.count(), 0);
    QVERIFY(E2E::findMainWindow(0).isEmpty());
}

void TestStartup::hostReadsFieldsUntilClosed()
{
    QProcess plugin;
    plugin.setProcessChannelMode(QProcess::ForwardedChannels);
    plugin.start(E2E::program(QStringLiteral("rollcraft2")), {QStringLiteral("-startplugin")});
    QVERIFY(E2E::waitForName(E2E::pluginBusName(), true));
    const QVariantMap expected{{QStringLiteral("SCRIPT"), QString()},
                               {QStringLiteral("SCRIPTTYPE"), QString()},
                               {QStringLiteral("PREVIEW"), QStringLiteral("Prev")}};
    QCOMPARE(E2E::exchangeFields(E2E::pluginBusName()), expected);

    const QString window = E2E::findMainWindow();
    QVERIFY(!window.isEmpty());
    E2E::clickClient(window, 451 + 32, 421 + 11); // "Close"
    QVERIFY(E2E::waitForName(E2E::pluginBusName(), false));
    QVERIFY(plugin.waitForFinished(5000));
    QCOMPARE(plugin.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
