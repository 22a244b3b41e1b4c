// SPDX-License-Identifier: GPL-3.0-or-later
#include "testfiles.h"

#include <QDBusConnectionInterface>
#include <QtTest>

namespace {

// A screen reader (pyatspi) opens FILE, prints each control reached (focus) or
// seen (a picture) as "role|name", hears a preview's failure text, presses
// the first preview and prints the viewer's name. Every wait is bounded.
const char* const Reader = R"(
import sys, time, pyatspi
from gi.repository import GLib
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
window = wait(called('frame', 'Rollcraft II V.1.0 / TWK Plugin'), 'window')
wait(called('combo box', 'Home'), 'the opened set')
def walk(node):
    if showing(node) and (node.getState().contains(pyatspi.STATE_FOCUSABLE) or node.getRoleName() == 'image'):
        print(node.getRoleName() + '|' + node.name)
    if node.getRoleName() != 'combo box':
        for i in range(node.childCount): walk(node.getChildAtIndex(i))
walk(window)
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

} // namespace

// The real plug-in read from outside over the desktop's accessibility bus.
class TestAtSpi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus");
        m_bus.start("/usr/libexec/at-spi-bus-launcher", {"--launch-immediately"});
        QTRY_VERIFY_WITH_TIMEOUT(
            QDBusConnection::sessionBus().interface()->isServiceRegistered("org.a11y.Bus"), 10000);
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1"); // for the plug-in started here
        m_plugin.start(built("rollcraft2"), {"-startplugin"});
        QVERIFY(m_plugin.waitForStarted());
    }

    void cleanupTestCase()
    {
        // Ended gently, the launcher takes its bus down with it.
        for (QProcess* p : {&m_plugin, &m_bus}) {
            p->terminate();
            if (!p->waitForFinished(5000))
                p->kill();
        }
    }

    // With the example menu open: every control named, no two alike.
    void everyControlNamedOnce()
    {
        QProcess reader;
        reader.start("/usr/bin/python3", {"-c", Reader, built("../examples/menu.rk2")});
        if (!reader.waitForFinished(90000)) // builds with sanitizers are slow
            reader.kill();
        QVERIFY2(reader.exitStatus() == QProcess::NormalExit && reader.exitCode() == 0,
                 reader.readAllStandardError().constData());
        QStringList controls =
            QString::fromUtf8(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        const QString viewer = controls.takeLast();
        QCOMPARE(controls.removeAll("heard|Description image preview: UNABLE TO LOAD IMAGE!"), 1);
        QMap<QString, QString> names;
        for (const QString& control : controls) {
            const QString name = control.section('|', 1);
            QVERIFY2(!name.isEmpty() && !names.contains(name),
                     qPrintable(control + " after " + names.value(name)));
            names.insert(name, control);
        }
        QCOMPARE(controls.size(), 25); // the 20 of the Tab chain, 4 previews, the folder browser
        QVERIFY2(viewer.startsWith("viewer|Full-screen view of /") &&
                     viewer.endsWith("/images/home.gif"),
                 qPrintable(viewer));
    }

private:
    QProcess m_bus;
    QProcess m_plugin;
};

QTEST_MAIN(TestAtSpi)
#include "tst_atspi.moc"
