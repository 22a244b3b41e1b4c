// SPDX-License-Identifier: GPL-3.0-or-later
#include "atspiuser.h"
#include "datafile.h"
#include "pagegenerator.h"

#include <QLibraryInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

namespace {

const QString Socket = "rollcraft-test";

// A user opens the example and presses "Insert script".
const char* const User = R"(
wait(called('push button', 'Insert script'), 'Insert script').queryAction().doAction(0)
)";

} // namespace

// rollcraft2 as a Wayland client of weston under "rollcraft host", driven over the accessibility bus; what the
// compositor is told is read from the client's own protocol log (WAYLAND_DEBUG).
class TestWayland : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const QString weston = QStandardPaths::findExecutable("weston");
        if (weston.isEmpty())
            QSKIP("weston is not installed (Debian package weston, which "
                  "scripts/install-deps.sh installs): the plug-in is not tried under Wayland");
        if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/libqwayland-generic.so"))
            QSKIP("Qt's Wayland platform is not installed (Debian package qt6-wayland, which "
                  "scripts/install-deps.sh installs): the plug-in is not tried under Wayland");
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus");
        QVERIFY2(qEnvironmentVariableIsSet("DISPLAY"), "needs an X display for weston's window");
        startAccessibilityBus(m_bus);
        m_environment.insert("XDG_RUNTIME_DIR", m_run.path()); // private: 0700
        m_weston.setProcessEnvironment(m_environment);
        // Weston in a window of the test's X display: its X11 backend gives the session a seat, as every desktop has
        // (Qt 6.4 crashes painting a text cursor on a compositor without one, such as weston's headless backend).
        m_weston.start(weston, {"--backend=x11-backend.so", "--use-pixman", "--socket=" + Socket, "--width=1280",
                                "--height=1024", "--idle-time=0"});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(m_run.filePath(Socket)), 10000);
    }

    void cleanupTestCase()
    {
        for (QProcess* p : {&m_host, &m_weston, &m_bus}) {
            p->terminate();
            if (!p->waitForFinished(5000))
                p->kill();
        }
    }

    // The example opened and inserted: the page arrives whole, and the window's app id names the menu entry.
    void insertTheExample()
    {
        QProcessEnvironment environment = m_environment;
        environment.remove("DISPLAY");
        for (const auto& [name, value] : {std::pair{"WAYLAND_DISPLAY", Socket},
                                          {"QT_QPA_PLATFORM", "wayland"},
                                          {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1"},
                                          {"WAYLAND_DEBUG", "client"}}) // the protocol on stderr, forwarded
            environment.insert(name, value);
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
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    QProcess m_bus;
    QProcess m_weston;
    QProcess m_host;
};

QTEST_GUILESS_MAIN(TestWayland)
#include "tst_wayland.moc"
