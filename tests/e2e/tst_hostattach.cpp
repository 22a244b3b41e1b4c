#include "e2e.h"
#include "hostlink.h"
#include "hostlinknames.h"
#include "pagegenerator.h"
#include "windowdriver.h"

#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QtTest>

#include <csignal>

namespace {

// Waits until the host has written `text` to its standard error, keeping
// this process's side of the bus answering; `seen` collects what it wrote.
bool waitForError(QProcess& host, QByteArray& seen, const QByteArray& text)
{
    QDeadlineTimer deadline(15000);
    while (!seen.contains(text)) {
        if (deadline.hasExpired() || host.state() == QProcess::NotRunning)
            return false;
        QTest::qWait(20);
        seen += host.readAllStandardError();
    }
    return true;
}

QList<qint64> childrenNamed(qint64 parent, const QString& name)
{
    QProcess pgrep;
    pgrep.start(QStringLiteral("pgrep"),
                {QStringLiteral("-P"), QString::number(parent), QStringLiteral("-x"), name});
    pgrep.waitForFinished();
    QList<qint64> pids;
    for (const QByteArray& line : pgrep.readAllStandardOutput().split('\n'))
        if (!line.isEmpty())
            pids << line.toLongLong();
    return pids;
}

} // namespace

class TestHostAttach : public QObject {
    Q_OBJECT
private slots:
    void attachFollowsTheRunningPlugin();
    void attachWithoutAPluginFails();
    void privateBusWhenNoneRuns();
    void strangersOnTheBusChangeNothing_data();
    void strangersOnTheBusChangeNothing();

private:
    QTemporaryDir m_dir;
};

// The window of this test process holds the plug-in's bus name; the host
// attaches to it by the name this executable's path gives.
void TestHostAttach::attachFollowsTheRunningPlugin()
{
    WindowFixture f;
    auto link = std::make_unique<HostLink>(f.window);
    QVERIFY(link->isLinked());
    f.ui.addButton(f.dialogs, QStringLiteral("Home"));
    f.ui.type(3, QStringLiteral("index.htm"));

    const QString out = m_dir.filePath(QStringLiteral("attached.html"));
    QProcess host;
    host.start(E2E::program(QStringLiteral("rollcraft")),
               {QStringLiteral("host"), QStringLiteral("--attach"), QStringLiteral("--plugin"),
                QCoreApplication::applicationFilePath(), QStringLiteral("-o"), out,
                QStringLiteral("--preview-dir"), m_dir.path()});
    QByteArray err;
    QVERIFY2(waitForError(host, err, "following"), err.constData());

    f.ui.click(QStringLiteral("Command2"));
    QVERIFY2(waitForError(host, err, "preview 1: "), err.constData());
    f.ui.click(QStringLiteral("Command1"));
    const QString title = f.window.exchangeText(TWKPLUGIN::Exchange::SCRIPTTYPE);
    const QString page = f.window.exchangeText(TWKPLUGIN::Exchange::SCRIPT);
    // Releasing the name ends the link, as the plug-in's closing does.
    link.reset();

    QVERIFY(host.waitForFinished(15000));
    QCOMPARE(host.exitCode(), 0);
    QCOMPARE(host.readAllStandardOutput(), "Inserted: " + title.toUtf8() + '\n');
    QFile written(out);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), "\xEF\xBB\xBF" + page.toUtf8());
}

void TestHostAttach::attachWithoutAPluginFails()
{
    QProcess host;
    host.start(E2E::program(QStringLiteral("rollcraft")),
               {QStringLiteral("host"), QStringLiteral("--attach"), QStringLiteral("--plugin"),
                QStringLiteral("/nowhere/rollcraft2"), QStringLiteral("-o"),
                m_dir.filePath(QStringLiteral("never.html"))});
    QVERIFY(host.waitForFinished(15000));
    QCOMPARE(host.exitCode(), 2);
    QVERIFY(
        host.readAllStandardError().contains("no plug-in holds org.tarnwick.plugin.rollcraft2"));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("never.html"))));
}

// Without a session bus the host starts its own for the plug-in, and takes
// it down again when the link ends.
void TestHostAttach::privateBusWhenNoneRuns()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    env.remove(QStringLiteral("DISPLAY"));
    QProcess host;
    host.setProcessEnvironment(env);
    host.start(E2E::program(QStringLiteral("rollcraft")),
               {QStringLiteral("host"), QStringLiteral("-o"),
                m_dir.filePath(QStringLiteral("private.html"))});
    QByteArray err;
    QVERIFY2(waitForError(host, err, "started a private one"), err.constData());
    QVERIFY2(waitForError(host, err, "following org.tarnwick.plugin.rollcraft2"), err.constData());

    const QList<qint64> daemons = childrenNamed(host.processId(), QStringLiteral("dbus-daemon"));
    const QList<qint64> plugins = childrenNamed(host.processId(), QStringLiteral("rollcraft2"));
    QCOMPARE(daemons.size(), 1);
    QCOMPARE(plugins.size(), 1);
    ::kill(static_cast<pid_t>(plugins.first()), SIGKILL);

    QVERIFY(host.waitForFinished(15000));
    QCOMPARE(host.exitCode(), 2);
    QVERIFY(host.readAllStandardError().contains("the plug-in was killed"));
    QVERIFY(::kill(static_cast<pid_t>(daemons.first()), 0) != 0);
}

void TestHostAttach::strangersOnTheBusChangeNothing_data()
{
    QTest::addColumn<QString>("interface");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QVariantList>("arguments");
    const QString properties = QStringLiteral("org.freedesktop.DBus.Properties");
    const QString plugin = QLatin1String(PluginInterface);
    QTest::newRow("Get of an unknown property")
        << properties << "Get" << QVariantList{plugin, QStringLiteral("PASSWORD")};
    QTest::newRow("Get of another interface")
        << properties << "Get"
        << QVariantList{QStringLiteral("org.example.X"), QStringLiteral("SCRIPT")};
    QTest::newRow("Set of SCRIPT")
        << properties << "Set"
        << QVariantList{plugin, QStringLiteral("SCRIPT"),
                        QVariant::fromValue(QDBusVariant(QStringLiteral("<evil>")))};
    QTest::newRow("an unknown method") << plugin << "Insert" << QVariantList{QStringLiteral("x")};
    QTest::newRow("an unknown interface") << "org.example.Shell"
                                          << "Run" << QVariantList{};
}

void TestHostAttach::strangersOnTheBusChangeNothing()
{
    QFETCH(QString, interface);
    QFETCH(QString, method);
    QFETCH(QVariantList, arguments);
    WindowFixture f;
    HostLink link(f.window);
    QVERIFY(link.isLinked());
    const QString name = pluginBusName(QCoreApplication::applicationFilePath());
    QDBusConnection stranger =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("stranger"));
    QDBusMessage call =
        QDBusMessage::createMethodCall(name, QLatin1String(PluginObjectPath), interface, method);
    call.setArguments(arguments);
    QDBusPendingCall pending = stranger.asyncCall(call, 5000);
    QTRY_VERIFY(pending.isFinished());
    QCOMPARE(pending.reply().type(), QDBusMessage::ErrorMessage);
    QCOMPARE(f.window.exchangeText(TWKPLUGIN::Exchange::SCRIPT), QString());
    QCOMPARE(E2E::exchangeFields(name).value(QStringLiteral("SCRIPT")).toString(), QString());
    QDBusConnection::disconnectFromBus(QStringLiteral("stranger"));
}

QTEST_MAIN(TestHostAttach)
#include "tst_hostattach.moc"
