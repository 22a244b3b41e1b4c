// SPDX-License-Identifier: GPL-3.0-or-later
#include "hostlink.h"
#include "hostlinknames.h"
#include "modernpage.h"
#include "pagegenerator.h"
#include "pluginexchange.h"
#include "testfiles.h"

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QRegularExpression>
#include <QtTest>
#include <cstring>

namespace {

const QByteArray Bom = "\xEF\xBB\xBF";
const QString Plugin = pluginBusName("rollcraft2");
const QString Title = "Rollcraft II V.1.0 / TWK Plugin";
// The longest page one change carries: 63 MiB less 4 KiB, less the name SCRIPT.
const int MostPage = (63 << 20) - 4096 - 6;

QString xdotool(const QStringList& arguments)
{
    return QString::fromUtf8(runProgram("xdotool", arguments).out).trimmed();
}

// The first visible X window of this exact title, given the focus.
QString focusWindow(const QString& title)
{
    const QString name = '^' + QRegularExpression::escape(title) + '$';
    const QString id =
        xdotool({"search", "--sync", "--onlyvisible", "--name", name}).section(u'\n', 0, 0, QString::SectionSkipEmpty);
    xdotool({"windowfocus", "--sync", id});
    return id;
}

// A desktop's notification service, as much of it as a host uses.
class Notifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList bodies;
public slots:
    uint Notify(const QString&, uint, const QString&, const QString&, const QString& body, const QStringList&,
                const QVariantMap&, int)
    {
        bodies << body;
        return 1;
    }
};

using Field = PluginExchange::Field;

// Started by "rollcraft host --plugin" as its plug-in, with $PLAN "GO PAGE LENGTH FILL END": once the file GO exists it
// publishes a page of LENGTH times FILL, inserted or previewed as PAGE says, and then ends as END says: "exit", or
// "kill" (killed by a signal).
int actAsPlugin(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    PluginExchange exchange;
    HostLink link(exchange);
    const QStringList plan = qEnvironmentVariable("PLAN").split(' ');
    QTimer go;
    QObject::connect(&go, &QTimer::timeout, [&] {
        if (!QFile::exists(plan[0]))
            return;
        go.stop();
        if (plan[1] == "insert")
            exchange.set(Field::SCRIPTTYPE, "Big");
        for (const QString& page : {QString(), QString(plan[2].toInt(), plan[3][0])})
            exchange.set(Field::SCRIPT, page);
        for (const char* pulse : {"PREVIEW", ""})
            if (plan[1] == "preview")
                exchange.set(Field::PREVIEW, pulse);
        QTimer::singleShot(500, [&] { plan[4] == "kill" ? void(::raise(SIGKILL)) : app.quit(); });
    });
    go.start(20);
    return QCoreApplication::exec();
}

} // namespace

// rollcraft2 in a real X11 window under "rollcraft host" on a private bus.
class TestHost : public QObject {
    Q_OBJECT
public slots:
    // A host's view of the link: every PropertiesChanged, in arrival order.
    void changed(const QString&, const QVariantMap& values, const QStringList&)
    {
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            m_changes << it.key() + u'=' + it.value().toString();
    }
private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus");
        writeSettings("[General]\nAutoImage=False\n");
        // Previews go by default to a private folder under $XDG_RUNTIME_DIR.
        QVERIFY(QDir().mkpath(m_dir.filePath("run")));
        qputenv("XDG_RUNTIME_DIR", m_dir.filePath("run").toUtf8());
        writeBytes(m_dir.filePath("blocker"), "a file");
        QVERIFY(QDBusConnection::sessionBus().registerObject("/org/freedesktop/Notifications", &m_notifications,
                                                             QDBusConnection::ExportAllSlots));
        QVERIFY(QDBusConnection::sessionBus().registerService("org.freedesktop.Notifications"));
    }

    void cleanup()
    {
        m_host.kill();
        m_host.waitForFinished();
        m_host.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        m_changes.clear();
        m_log.clear();
        QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
        if (const uint plugin = bus->servicePid(Plugin).value(); plugin != 0) // left by the host
            ::kill(pid_t(plugin), SIGTERM);
        QTRY_VERIFY_WITH_TIMEOUT(!bus->isServiceRegistered(Plugin).value(), 10000);
    }

    // With its bus name held elsewhere the plug-in ends (2) before its window opens, and the host says so. (tst_tool:
    // without a session bus.)
    void unlinkedPluginEndsAtOnce()
    {
        QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "other");
        QVERIFY(other.registerService(Plugin));
        const Run plugin = runProgram(built("rollcraft2"), {"-startplugin"});
        const Run host = runProgram(built("rollcraft"), {"host"});
        QDBusConnection::disconnectFromBus("other");
        QCOMPARE(plugin.status, 2);
        QVERIFY2(plugin.err.contains("cannot own the bus name " + Plugin.toUtf8()), plugin.err);
        QCOMPARE(host.status, 2);
        QVERIFY2(host.err.contains(Plugin.toUtf8() + " is already held"), host.err);
    }

    // Two previews, then an insert with --modern --fragment: the host writes the menu alone, from the set the plug-in
    // published before its page, into a file named after the title printed; the three fields change as they always did.
    void previewsThenInsertThroughTheRealWindow()
    {
        QVERIFY(QDBusConnection::sessionBus().connect(Plugin, PluginObjectPath, "org.freedesktop.DBus.Properties",
                                                      "PropertiesChanged", this,
                                                      SLOT(changed(QString, QVariantMap, QStringList))));
        // The plug-in starts empty; a button "Home" added.
        m_host.start(built("rollcraft"),
                     {"host", "--modern", "--fragment", "--prefix", "top-", "--output-dir", m_dir.filePath("pages")});
        m_window = focusWindow(Title);
        QVERIFY2(!m_window.isEmpty(), m_host.readAllStandardError().constData());
        QDBusInterface properties(Plugin, PluginObjectPath, "org.freedesktop.DBus.Properties");
        QCOMPARE(QDBusReply<QVariantMap>(properties.call("GetAll", PluginInterface)).value(),
                 QVariantMap({{"SCRIPT", ""}, {"SCRIPTTYPE", ""}, {"PREVIEW", "Prev"}, {"SCRIPTSET", ""}}));
        click(304 + 27, 16 + 10); // "Add"
        QVERIFY(!focusWindow("Add button").isEmpty());
        xdotool({"type", "--delay", "30", "Home"}); // replaces the selected default
        xdotool({"key", "Return"});
        focusWindow(Title);
        // The menu entry's name is the resource name (packaging/check.sh: the entry's StartupWMClass is its name).
        const QString hints = runProgram("xprop", {"-id", m_window, "WM_CLASS"}).out;
        QVERIFY2(hints.contains("WM_CLASS(STRING) = \"org.tarnwick.plugin.rollcraft2\", "), qPrintable(hints));
        for (int i = 1; i <= 2; ++i) {
            click(7 + 45, 421 + 11); // "Instant preview"
            QTRY_COMPARE_WITH_TIMEOUT(previewsWritten(), i, 10000);
        }
        click(5 + 125, 277 + 9); // the "Url:" field
        xdotool({"type", "--delay", "30", "index.htm"});
        click(371 + 36, 421 + 11);                    // "Insert script"
        QVERIFY(!focusWindow("TWKPLUGIN").isEmpty()); // unsaved data: asked
        xdotool({"key", "Return"});
        QVERIFY(m_host.waitForFinished(10000));
        QCOMPARE(m_host.exitCode(), 0);

        QCOMPARE(previewsWritten(), 2);
        ButtonSet set;
        set.Buttons[0].Name = set.Buttons[0].Alt = "Home";
        QCOMPARE(readBytes(m_dir.filePath("run/rollcraft-preview/preview.html")),
                 Bom + buildPage(set, PageMode::Preview).toUtf8());
        QCOMPARE(QFileInfo(m_dir.filePath("run/rollcraft-preview")).permissions() & 0x0777,
                 QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        set.Buttons[0].Url = "index.htm";
        ModernPageOptions options;
        options.title = "ButtonMenu";
        options.fragment = true;
        options.classPrefix = "top-";
        const QString printed = QString::fromUtf8(m_host.readAllStandardOutput());
        QVERIFY2(printed.startsWith("Inserted: Rollcraft II "), qPrintable(printed));
        QCOMPARE(readBytes(m_dir.filePath("pages/page-" + printed.mid(10).trimmed() + ".html")),
                 Bom + buildModernPage(set, options).toUtf8());
        // Two previews' four changes each, then the insert's; the waits above deliver none.
        QTRY_COMPARE(m_changes.size(), 12);
        QCOMPARE(m_changes[8], "SCRIPTSET=[COMMON]\r\n#\r\n[Button]\r\nHome\r\n#\r\n#\r\n#"
                               "\r\nindex.htm\r\n#\r\nHome\r\n#\r\n");
        QVERIFY2(m_changes[9].startsWith("SCRIPTTYPE=Rollcraft II "), qPrintable(m_changes[9]));
        QCOMPARE(m_changes.mid(10), QStringList({"SCRIPT=", "SCRIPT=" + buildPage(set, PageMode::Page)}));
    }

    // The link publishes each change of the exchange, in order, and answers for its fields; under load too
    // (tst_linksoak: 500 previews in a row).
    void theLinkPublishesEachChangeInOrder()
    {
        PluginExchange exchange;
        HostLink link(exchange);
        QVERIFY(link.isLinked());
        QDBusConnection host = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "host");
        QVERIFY(host.connect(link.busName(), PluginObjectPath, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                             this, SLOT(changed(QString, QVariantMap, QStringList))));
        exchange.setInsertedSet("[COMMON]\r\n#\r\n");
        exchange.set(Field::SCRIPTTYPE, "Title");
        QStringList expected{"SCRIPTSET=[COMMON]\r\n#\r\n", "SCRIPTTYPE=Title"};
        for (int i = 0; i < (qEnvironmentVariableIsSet("ROLLCRAFT_SOAK") ? 500 : 1); ++i) {
            const QString page = QString(4096, u'\u00e9') + QString::number(i) + "\r\n";
            for (const QString& text : {QString(), page})
                exchange.set(Field::SCRIPT, text);
            for (const char* pulse : {"PREVIEW", ""})
                exchange.set(Field::PREVIEW, pulse);
            expected += {"SCRIPT=", "SCRIPT=" + page, "PREVIEW=PREVIEW", "PREVIEW="};
        }
        QTRY_COMPARE_WITH_TIMEOUT(m_changes, expected, 60000);
        // Asked from this thread, which answers too: the call waits in an event loop.
        QDBusMessage getAll = QDBusMessage::createMethodCall(link.busName(), PluginObjectPath,
                                                             "org.freedesktop.DBus.Properties", "GetAll");
        getAll << PluginInterface;
        QCOMPARE(QDBusReply<QVariantMap>(host.call(getAll, QDBus::BlockWithGui)).value(),
                 QVariantMap({{"SCRIPT", expected.at(expected.size() - 3).mid(7)},
                              {"SCRIPTTYPE", "Title"},
                              {"PREVIEW", ""},
                              {"SCRIPTSET", "[COMMON]\r\n#\r\n"}}));
        QDBusConnection::disconnectFromBus("host");
    }

    // How the host ends with the plug-in it started (actAsPlugin), which publishes one page and ends or is killed. One
    // change carries at most 63 MiB less 4 KiB, name and value: the bus ends the connection of a program that sends a
    // larger array than 64 MiB, and a host on libdbus stops reading at 63 MiB (Qt's for good). A page past that is said
    // by the plug-in and sent nowhere; the host says what it missed, and what the user must know also as a desktop
    // notification: nobody reads a menu host's stderr.
    void howTheHostEnds_data()
    {
        QTest::addColumn<QString>("plan"); // PAGE LENGTH FILL END
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("told");
        QTest::addColumn<bool>("notified");
        const QString lost = "the plug-in inserted \"Big\", but its page did not come over the bus";
        const auto row = [](const char* rule, const QString& plan, int status, const QString& told, bool notified) {
            QTest::newRow(rule) << plan << status << told << notified;
        };
        const QString most = QString::number(MostPage), more = QString::number(MostPage + 1);
        row("the most: inserted whole", "insert " + most + " x exit", 0, "", false);
        row("a byte more: the insert is lost, and said", "insert " + more + " x exit", 2, lost, true);
        row("bytes counted, not characters", "insert " + QString::number(MostPage / 2 + 1) + " \u00e9 exit", 2, lost,
            true);
        row("a lost preview is said, the link carries on", "preview " + more + " x exit", 1,
            "the plug-in asked for preview 1, but its page did not come over the bus", true);
        row("a preview that cannot be written", "preview 9 x exit", 1,
            "cannot write the preview to " + m_dir.filePath("blocker/preview/preview.html"), true);
        row("a killed plug-in's page is not written", "insert 9 x kill", 2,
            "the link ended: the plug-in was killed or crashed", false);
    }

    void howTheHostEnds()
    {
        QFETCH(QString, plan);
        QFETCH(QString, told);
        const QString out = m_dir.filePath("big.html"), go = m_dir.filePath("go");
        QFile::remove(out);
        QFile::remove(go);
        m_notifications.bodies.clear();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PLAN", go + ' ' + plan);
        m_host.setProcessEnvironment(environment);
        m_host.start(built("rollcraft"), {"host", "--plugin", QCoreApplication::applicationFilePath(), "-o", out,
                                          "--preview-dir", m_dir.filePath("blocker/preview")});
        QTRY_VERIFY_WITH_TIMEOUT(hostSaid("rollcraft host: following "), 10000);
        writeBytes(go, "");
        const bool ended = m_host.waitForFinished(30000);
        QVERIFY2(ended && hostSaid(told), qPrintable(m_log));
        QTEST(m_host.exitCode(), "status");
        const QByteArray page = QString(plan.section(' ', 1, 1).toInt(), plan.section(' ', 2, 2)[0]).toUtf8();
        QCOMPARE(hostSaid("rollcraft2: cannot publish the new SCRIPT on the bus"), page.size() > MostPage);
        QCOMPARE(readBytes(out), told.isEmpty() ? Bom + page : "<missing>");
        QFETCH(bool, notified);
        QTRY_COMPARE(m_notifications.bodies.size(), int(notified));
        QVERIFY(!notified || m_notifications.bodies[0].startsWith(told));
    }

private:
    // Clicks at (x, y) of the plug-in window's client area, below its menu bar.
    void click(int x, int y)
    {
        const QString geometry = xdotool({"getwindowgeometry", "--shell", m_window});
        y += geometry.section("HEIGHT=", 1).section('\n', 0, 0).toInt() - 447;
        xdotool({"mousemove", "--window", m_window, QString::number(x), QString::number(y)});
        xdotool({"click", "1"});
    }
    // Whether the host has said `text` on standard error so far; the preview pages it has reported writing.
    bool hostSaid(const QString& text)
    {
        return (m_log += QString::fromUtf8(m_host.readAllStandardError())).contains(text);
    }
    int previewsWritten()
    {
        return hostSaid("") ? int(m_log.split(u'\n').filter(QRegularExpression("^preview \\d+:")).size()) : 0;
    }
    QTemporaryDir m_dir;
    Notifications m_notifications;
    QProcess m_host;
    QString m_log;
    QStringList m_changes;
    QString m_window;
};

int main(int argc, char* argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "-startplugin") == 0)
        return actAsPlugin(argc, argv);
    QApplication app(argc, argv);
    TestHost test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_host.moc"
