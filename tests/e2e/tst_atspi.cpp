// SPDX-License-Identifier: GPL-3.0-or-later
#include "atspiuser.h"

#include <QtTest>

namespace {

// A screen reader, with the example menu open, prints each control reached
// (focus) or seen (a picture) as "role|name", hears a preview's failure text,
// presses the first preview and prints the viewer's name.
const char* const Reader = R"(
from gi.repository import GLib
window = wait(called('frame', 'Rollcraft II V.1.0 / TWK Plugin'), 'window')
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
        startAccessibilityBus(m_bus);
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
        const Run reader = runUser(Reader, built("../examples/menu.rk2"));
        QVERIFY2(reader.status == 0, reader.err);
        QStringList controls = QString::fromUtf8(reader.out).split('\n', Qt::SkipEmptyParts);
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
