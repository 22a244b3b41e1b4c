// SPDX-License-Identifier: GPL-3.0-or-later
#include "atspiuser.h"

#include <QtTest>

namespace {

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

    // Every control is named, no two alike, through Qt's interfaces (tst_accessible); here what only the bus shows: a
    // name that changes is announced, and the preview's press action opens the viewer.
    void heardAndPressedOverTheBus()
    {
        const Run reader = runUser(Reader, built("../examples/menu.rk2"));
        QVERIFY2(reader.status == 0, reader.err);
        const QStringList said = QString::fromUtf8(reader.out).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(said.value(0), "heard|Description image preview: UNABLE TO LOAD IMAGE!");
        const QString viewer = said.value(1);
        QVERIFY2(viewer.startsWith("viewer|Full-screen view of /") && viewer.endsWith("/images/home.gif"),
                 qPrintable(viewer));
    }

private:
    QProcess m_bus;
    QProcess m_plugin;
};

QTEST_MAIN(TestAtSpi)
#include "tst_atspi.moc"
