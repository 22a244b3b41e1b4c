// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafile.h"
#include "pagegenerator.h"
#include "testfiles.h"

#include <QDBusConnectionInterface>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

namespace {

// The start of a user's script (pyatspi): it opens the data file named on its command line through "Open datafile...";
// `wait` finds a control of the plug-in, or ends the script. Every wait is bounded.
constexpr char OpenTheDataFile[] = R"(
import sys, time, pyatspi
def find(node, want):
    try:
        if want(node): return node
        if node.getRoleName() in ('list', 'tree table', 'table'): return  # entries, not controls
        return next(filter(None, (find(node.getChildAtIndex(i), want) for i in range(node.childCount))), None)
    except Exception: pass
def wait(want, what):
    for _ in range(100):
        apps = pyatspi.Registry.getDesktop(0)
        hit = next(filter(None, (app and app.name == 'Rollcraft II' and find(app, want) for app in apps)), None)
        if hit: return hit
        time.sleep(0.2)
    sys.exit('not found: ' + what)
def called(role, name): return lambda o: o.getRoleName() == role and o.name == name
def showing(o): return o.getState().contains(pyatspi.STATE_SHOWING)
pyatspi.setTimeout(1000, 1000)
try: wait(called('menu item', 'Open datafile...'), 'menu').queryAction().doAction(0)
except Exception: pass  # the file dialog runs modally inside the action: no reply
pyatspi.setTimeout(15000, 15000)
field = wait(lambda o: called('text', 'File name:')(o) and showing(o), 'file name')
field.queryEditableText().setTextContents(sys.argv[1])
wait(called('push button', 'Open'), 'Open').queryAction().doAction(0)
wait(called('combo box', 'Home'), 'the opened set')
)";

// The user's script run to its end with `steps` after the opening (builds with sanitizers are slow).
Run runUser(const char* steps, const QString& dataFile)
{
    return runProgram("/usr/bin/python3", {"-c", OpenTheDataFile + QString(steps), dataFile}, {}, 90000);
}

const QString Socket = "rollcraft-test";

// A screen reader, with the example menu open, hears a preview's failure text as it comes, presses the first preview
// and prints the viewer's name.
const char* const Reader = R"(
from gi.repository import GLib
heard = lambda event: event.source.getRoleName() == 'image' and print('heard|' + event.source.name)
pyatspi.Registry.registerEventListener(heard, 'object:property-change:accessible-name')
field = wait(called('text', 'Description image:'), 'field').queryEditableText()
GLib.timeout_add(300, lambda: field.setTextContents('/missing.gif'))
GLib.timeout_add(1500, pyatspi.Registry.stop)
pyatspi.Registry.start()
pyatspi.Registry.deregisterEventListener(heard, 'object:property-change:accessible-name')
preview = wait(called('image', 'MouseOut image preview'), 'preview').queryAction()
preview.doAction([preview.getName(i) for i in range(preview.nActions)].index('Press'))
print('viewer|' + wait(lambda o: o.name.startswith('Full-screen view'), 'viewer').name)
)";

// A user opens the example and presses "Insert script".
const char* const User = R"(
wait(called('push button', 'Insert script'), 'Insert script').queryAction().doAction(0)
)";

// Each ended gently (the launcher takes its bus down with it), or killed.
void end(std::initializer_list<QProcess*> processes)
{
    for (QProcess* p : processes) {
        p->terminate();
        if (!p->waitForFinished(5000))
            p->kill();
    }
}

} // namespace

// The real plug-in read and driven from outside over the desktop's accessibility bus: in X11, and as a Wayland client
// of weston under "rollcraft host", where what the compositor is told is read from the client's own protocol log.
class TestAtSpi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus");
        m_bus.start("/usr/libexec/at-spi-bus-launcher", {"--launch-immediately"}); // the desktop's accessibility bus
        QTRY_VERIFY_WITH_TIMEOUT(QDBusConnection::sessionBus().interface()->isServiceRegistered("org.a11y.Bus"), 10000);
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1"); // for the plug-ins started here
    }

    void cleanup() { end({&m_plugin, &m_host, &m_weston}); }
    void cleanupTestCase() { end({&m_bus}); }

    // Every control is named, no two alike, through Qt's interfaces (tst_accessible); here what only the bus shows: a
    // name that changes is announced, and the preview's press action opens the viewer.
    void heardAndPressedOverTheBus()
    {
        m_plugin.start(built("rollcraft2"), {"-startplugin"});
        QVERIFY(m_plugin.waitForStarted());
        const Run reader = runUser(Reader, built("../examples/menu.rk2"));
        QVERIFY2(reader.status == 0, reader.err);
        const QStringList said = QString::fromUtf8(reader.out).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(said.value(0), "heard|Description image preview: UNABLE TO LOAD IMAGE!");
        const QString viewer = said.value(1);
        QVERIFY2(viewer.startsWith("viewer|Full-screen view of /") && viewer.endsWith("/images/home.gif"),
                 qPrintable(viewer));
    }

    // Under Wayland the example opened and inserted: the page arrives whole, and the window's app id names the menu
    // entry.
    void insertTheExampleUnderWayland()
    {
        const QString weston = QStandardPaths::findExecutable("weston");
        if (weston.isEmpty())
            QSKIP("weston is not installed (Debian package weston, which "
                  "scripts/install-deps.sh installs): the plug-in is not tried under Wayland");
        if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/libqwayland-generic.so"))
            QSKIP("Qt's Wayland platform is not installed (Debian package qt6-wayland, which "
                  "scripts/install-deps.sh installs): the plug-in is not tried under Wayland");
        QVERIFY2(qEnvironmentVariableIsSet("DISPLAY"), "needs an X display for weston's window");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", m_run.path()); // private: 0700
        m_weston.setProcessEnvironment(environment);
        // Weston in a window of the test's X display: its X11 backend gives the session a seat, as every desktop has
        // (Qt 6.4 crashes painting a text cursor on a compositor without one, such as weston's headless backend).
        m_weston.start(weston, {"--backend=x11-backend.so", "--use-pixman", "--socket=" + Socket, "--width=1280",
                                "--height=1024", "--idle-time=0"});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(m_run.filePath(Socket)), 10000);

        environment.remove("DISPLAY");
        environment.insert("WAYLAND_DISPLAY", Socket);
        environment.insert("QT_QPA_PLATFORM", "wayland");
        environment.insert("WAYLAND_DEBUG", "client"); // the protocol on the plug-in's stderr, forwarded
        // Under LeakSanitizer: Qt 6.4's Wayland platform leaves some of libwayland's objects behind at exit; every
        // other leak still counts.
        writeBytes(m_run.filePath("leaks"), "leak:libwayland-client.so\n");
        environment.insert("LSAN_OPTIONS", "print_suppressions=0:suppressions=" + m_run.filePath("leaks"));
        m_host.setProcessEnvironment(environment);
        const QString page = m_run.filePath("page.html");
        m_host.start(built("rollcraft"), {"host", "-o", page});
        const QString example = built("../examples/menu.rk2");
        const Run user = runUser(User, example);
        QVERIFY2(user.status == 0, user.err);
        QVERIFY(m_host.waitForFinished(20000));
        const QString log = QString::fromUtf8(m_host.readAllStandardError());
        QVERIFY2(m_host.exitCode() == 0, qPrintable(log.right(2000)));
        QCOMPARE(readBytes(page),
                 "\xEF\xBB\xBF" + buildPage(toButtonSet(readDataFileAt(example)), PageMode::Page).toUtf8());

        // What the plug-in asked of its main window's toplevel, last word each: fixed for the compositor (least and
        // greatest size the same), and an app id that names the menu entry.
        QMap<QString, QString> asked; // by toplevel and request
        const QRegularExpression request(R"(-> xdg_toplevel@(\d+)\.(set_\w+)\((.*)\)$)",
                                         QRegularExpression::MultilineOption);
        for (const QRegularExpressionMatch& m : request.globalMatch(log))
            asked[m.captured(1) + m.captured(2)] = m.captured(3);
        const QString main = asked.key("\"Rollcraft II V.1.0 / TWK Plugin\"").remove("set_title");
        QVERIFY2(!main.isEmpty(), qPrintable(log.left(2000)));
        QVERIFY2(QRegularExpression(R"(^[1-9]\d*, [1-9]\d*$)").match(asked[main + "set_max_size"]).hasMatch(),
                 qPrintable(asked[main + "set_max_size"]));
        QCOMPARE(asked[main + "set_min_size"], asked[main + "set_max_size"]);
        QCOMPARE(asked[main + "set_app_id"], "\"org.tarnwick.plugin.rollcraft2\"");
    }

private:
    QTemporaryDir m_run;
    QProcess m_bus;
    QProcess m_plugin;
    QProcess m_weston;
    QProcess m_host;
};

QTEST_MAIN(TestAtSpi)
#include "tst_atspi.moc"
