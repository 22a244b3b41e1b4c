// SPDX-License-Identifier: GPL-3.0-or-later
#include "hostlink.h"
#include "hostlinknames.h"
#include "pagegenerator.h"
#include "testfiles.h"
#include "windowdriver.h"

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusPendingCall>
#include <QDBusReply>
#include <QDBusVariant>
#include <QRegularExpression>
#include <QtTest>
#include <csignal>

namespace {

const QByteArray Bom = "\xEF\xBB\xBF";
const QString Plugin = pluginBusName("rollcraft2");

QString program(const QString& name)
{
    return QDir(qEnvironmentVariable("ROLLCRAFT_BIN")).filePath(name);
}

QString xdotool(const QStringList& arguments)
{
    QProcess p;
    p.start("xdotool", arguments);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// The first visible X window of this exact title, given the focus.
QString focusWindow(const QString& title)
{
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        const QString id = xdotool({"search", "--onlyvisible", "--name",
                                    '^' + QRegularExpression::escape(title) + '$'})
                               .section(u'\n', 0, 0);
        if (!id.isEmpty()) {
            xdotool({"windowfocus", "--sync", id});
            return id;
        }
        QTest::qWait(50);
    }
    return {};
}

bool waitForName(const QString& name, bool present)
{
    QDeadlineTimer deadline(10000);
    while (QDBusConnection::sessionBus().interface()->isServiceRegistered(name).value() !=
           present) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(20);
    }
    return true;
}

QVariantMap exchangeFields(const QString& busName)
{
    QDBusInterface properties(busName, PluginObjectPath, "org.freedesktop.DBus.Properties");
    return QDBusReply<QVariantMap>(properties.call("GetAll", QString(PluginInterface))).value();
}

// Waits until a process has written `text` to its standard error, keeping
// this process's side of the bus answering; `seen` collects what it wrote.
bool waitForError(QProcess& p, QByteArray& seen, const QByteArray& text)
{
    QDeadlineTimer deadline(15000);
    while (!seen.contains(text)) {
        if (deadline.hasExpired() || p.state() == QProcess::NotRunning)
            return false;
        QTest::qWait(20);
        seen += p.readAllStandardError();
    }
    return true;
}

qint64 childNamed(qint64 parent, const QString& name)
{
    QProcess pgrep;
    pgrep.start("pgrep", {"-P", QString::number(parent), "-x", name});
    pgrep.waitForFinished();
    return pgrep.readAllStandardOutput().trimmed().toLongLong();
}

// A host's view of the link: every PropertiesChanged, in arrival order.
class Listener : public QObject {
    Q_OBJECT
public:
    QStringList changes;
public slots:
    void changed(const QString&, const QVariantMap& values, const QStringList&)
    {
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            changes << it.key() + u'=' + QString::number(qHash(it.value().toString()));
    }
};

} // namespace

// The real programs on a private session bus: rollcraft2 in a real X11
// window under "rollcraft host", and the link as other bus clients see it.
class TestHost : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void wrongArgumentsEndAtOnce_data();
    void wrongArgumentsEndAtOnce();
    void previewsThenInsertThroughTheRealWindow();
    void attachFollowsARunningPlugin();
    void privateBusWhenNoneRuns();
    void strangersOnTheBusChangeNothing();
    void fiveHundredPreviewsArriveInOrder();

private:
    // Starts the host with `arguments` and waits for the plug-in's window.
    void startHost(const QStringList& arguments, bool window = true);
    // Clicks at (x, y) of the plug-in window's client area, below its menu bar.
    void click(int x, int y);
    QString out() const { return m_dir.filePath("out.html"); }
    QTemporaryDir m_dir;
    QProcess m_host;
    QString m_window;
};

void TestHost::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus");
    writeSettings("[General]\nAutoImage=False\n");
}

void TestHost::cleanup()
{
    if (m_host.state() != QProcess::NotRunning) {
        m_host.kill();
        m_host.waitForFinished();
    }
    QFile::remove(out());
    QVERIFY(waitForName(Plugin, false));
}

void TestHost::wrongArgumentsEndAtOnce_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("none") << QStringList();
    QTest::newRow("other case") << QStringList{"-StartPlugin"};
    QTest::newRow("two dashes") << QStringList{"--startplugin"};
    QTest::newRow("extra argument") << QStringList{"-startplugin", "x"};
    QTest::newRow("trailing blank") << QStringList{"-startplugin "};
}

void TestHost::wrongArgumentsEndAtOnce()
{
    QFETCH(QStringList, arguments);
    QProcess plugin;
    plugin.start(program("rollcraft2"), arguments);
    QVERIFY(plugin.waitForFinished(5000));
    QCOMPARE(plugin.exitStatus(), QProcess::NormalExit);
    QCOMPARE(plugin.exitCode(), 0);
    QCOMPARE(plugin.readAllStandardOutput() + plugin.readAllStandardError(), QByteArray());
}

void TestHost::startHost(const QStringList& arguments, bool window)
{
    m_host.start(
        program("rollcraft"),
        QStringList{"host"} +
            (arguments.contains("--output-dir") ? QStringList() : QStringList{"-o", out()}) +
            arguments);
    QVERIFY(m_host.waitForStarted());
    if (!window)
        return;
    m_window = focusWindow("Rollcraft II V.1.0 / TWK Plugin");
    QVERIFY2(!m_window.isEmpty(), m_host.readAllStandardError().constData());
    QVERIFY(waitForName(Plugin, true));
}

void TestHost::click(int x, int y)
{
    const QRegularExpressionMatch size =
        QRegularExpression("Geometry: \\d+x(\\d+)").match(xdotool({"getwindowgeometry", m_window}));
    const int menuBar = size.captured(1).toInt() - 447;
    xdotool({"mousemove", "--window", m_window, QString::number(x), QString::number(y + menuBar),
             "click", "1"});
}

void TestHost::previewsThenInsertThroughTheRealWindow()
{
    startHost(
        {"--preview-dir", m_dir.filePath("preview"), "--output-dir", m_dir.filePath("pages")});
    const QVariantMap atStart{{"SCRIPT", ""}, {"SCRIPTTYPE", ""}, {"PREVIEW", "Prev"}};
    QCOMPARE(exchangeFields(Plugin), atStart);
    click(304 + 27, 16 + 10); // "Add"
    QVERIFY(!focusWindow("Add button").isEmpty());
    xdotool({"type", "--delay", "30", "Home"}); // replaces the offered default, which is selected
    xdotool({"key", "Return"});
    focusWindow("Rollcraft II V.1.0 / TWK Plugin");
    for (int i = 0; i < 2; ++i) {
        click(7 + 45, 421 + 11); // "Instant preview"
        QTest::qWait(400);
    }
    click(5 + 125, 277 + 9); // the "Url:" field
    xdotool({"type", "--delay", "30", "index.htm"});
    click(371 + 36, 421 + 11);                    // "Insert script"
    QVERIFY(!focusWindow("TWKPLUGIN").isEmpty()); // unsaved data: asked
    xdotool({"key", "Return"});
    QVERIFY(m_host.waitForFinished(10000));
    QCOMPARE(m_host.exitCode(), 0);

    const QString log = QString::fromUtf8(m_host.readAllStandardError());
    QCOMPARE(log.split(u'\n').filter(QRegularExpression("^preview \\d+:")).size(), 2);
    ButtonSet set;
    set.Buttons[0].Name = set.Buttons[0].Alt = "Home";
    QCOMPARE(readBytes(m_dir.filePath("preview/preview.html")),
             Bom + buildPage(set, PageMode::Preview).toUtf8());
    set.Buttons[0].Url = "index.htm";
    const QString printed = QString::fromUtf8(m_host.readAllStandardOutput());
    // The page is named after its title ("Inserted: " and the title is printed).
    const QString page = "pages/page-" + printed.mid(10).trimmed() + ".html";
    QCOMPARE(readBytes(m_dir.filePath(page)), Bom + buildPage(set, PageMode::Page).toUtf8());
    QVERIFY2(QRegularExpression("^Inserted: Rollcraft II \\d\\d-\\d\\d-\\d\\d - "
                                "\\d\\d-\\d\\d-\\d\\d\\n$")
                 .match(printed)
                 .hasMatch(),
             qPrintable(printed));
}

// The window of this test process holds a plug-in's bus name; the host
// attaches to it by the name this executable's path gives. The link ends
// without an insert: the host writes nothing.
void TestHost::attachFollowsARunningPlugin()
{
    startHost({"--attach", "--plugin", "/nowhere/rollcraft2"}, false);
    QVERIFY(m_host.waitForFinished(15000));
    QCOMPARE(m_host.exitCode(), 2);
    QVERIFY(m_host.readAllStandardError().contains("no plug-in holds " + Plugin.toUtf8()));

    WindowFixture f;
    auto link = std::make_unique<HostLink>(f.window);
    QVERIFY(link->isLinked());
    f.add("Home");
    startHost({"--attach", "--plugin", QCoreApplication::applicationFilePath(), "--preview-dir",
               m_dir.path()},
              false);
    QByteArray err;
    QVERIFY2(waitForError(m_host, err, "following"), err.constData());
    f.click("Command2");
    QVERIFY2(waitForError(m_host, err, "preview 1: "), err.constData());
    QCOMPARE(readBytes(m_dir.filePath("preview.html")),
             Bom + f.window.exchangeText(TWKPLUGIN::Exchange::SCRIPT).toUtf8());
    link.reset(); // releasing the name ends the link, as the plug-in's end does
    QVERIFY(m_host.waitForFinished(15000));
    QCOMPARE(m_host.exitCode(), 1);
    QVERIFY(!QFile::exists(out()));
}

// Without a session bus the host starts its own for the plug-in, and takes
// it down again when the link ends.
void TestHost::privateBusWhenNoneRuns()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    env.remove("DISPLAY"); // else the bus library tries to start a bus for the X display
    env.insert("QT_QPA_PLATFORM", "offscreen");
    m_host.setProcessEnvironment(env);
    startHost({}, false);
    m_host.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    QByteArray err;
    QVERIFY2(waitForError(m_host, err, "started a private one"), err.constData());
    QVERIFY2(waitForError(m_host, err, "following " + Plugin.toUtf8()), err.constData());
    const qint64 daemon = childNamed(m_host.processId(), "dbus-daemon");
    QVERIFY(daemon > 0);
    ::kill(static_cast<pid_t>(childNamed(m_host.processId(), "rollcraft2")), SIGKILL);
    QVERIFY(m_host.waitForFinished(15000));
    QCOMPARE(m_host.exitCode(), 2);
    QVERIFY(m_host.readAllStandardError().contains("the plug-in was killed"));
    QVERIFY(::kill(static_cast<pid_t>(daemon), 0) != 0);
}

void TestHost::strangersOnTheBusChangeNothing()
{
    WindowFixture f;
    HostLink link(f.window);
    QVERIFY(link.isLinked());
    const QString name = pluginBusName(QCoreApplication::applicationFilePath());
    QDBusConnection stranger = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "x");
    const QList<QVariantList> calls = {{"org.freedesktop.DBus.Properties", "Set", PluginInterface,
                                        "SCRIPT", QVariant::fromValue(QDBusVariant("<evil>"))},
                                       {PluginInterface, "Insert", "x"}};
    for (QVariantList call : calls) {
        QDBusMessage message = QDBusMessage::createMethodCall(
            name, PluginObjectPath, call.takeFirst().toString(), call.takeFirst().toString());
        message.setArguments(call);
        QDBusPendingCall pending = stranger.asyncCall(message, 5000);
        QTRY_VERIFY(pending.isFinished());
        QCOMPARE(pending.reply().type(), QDBusMessage::ErrorMessage);
    }
    QCOMPARE(exchangeFields(name).value("SCRIPT").toString(), QString());
    QDBusConnection::disconnectFromBus("x");
}

// The one long test: under load a host still sees every change of the
// exchange fields, in the program's order.
void TestHost::fiveHundredPreviewsArriveInOrder()
{
    if (!qEnvironmentVariableIsSet("ROLLCRAFT_SOAK"))
        QSKIP("the soak runs on its own, as tst_linksoak");
    WindowFixture f;
    HostLink link(f.window);
    QVERIFY(link.isLinked());
    QDBusConnection host = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "host");
    Listener listener;
    QVERIFY(host.connect(pluginBusName(QCoreApplication::applicationFilePath()), PluginObjectPath,
                         "org.freedesktop.DBus.Properties", "PropertiesChanged", &listener,
                         SLOT(changed(QString, QVariantMap, QStringList))));
    f.add("A");
    const auto change = [](const QString& name, const QString& value) {
        return name + u'=' + QString::number(qHash(value));
    };
    QStringList expected;
    for (int i = 0; i < 500; ++i) {
        f.type(3, QStringLiteral("page%1.htm").arg(i));
        f.click("Command2");
        expected << change("SCRIPT", QString())
                 << change("SCRIPT", f.window.exchangeText(TWKPLUGIN::Exchange::SCRIPT))
                 << change("PREVIEW", "PREVIEW") << change("PREVIEW", QString());
        QTRY_COMPARE_WITH_TIMEOUT(listener.changes.size(), expected.size(), 5000);
    }
    QCOMPARE(listener.changes, expected);
    QDBusConnection::disconnectFromBus("host");
}

QTEST_MAIN(TestHost)
#include "tst_host.moc"
