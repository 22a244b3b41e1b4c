// SPDX-License-Identifier: GPL-3.0-or-later
#include "hostlink.h"
#include "hostlinknames.h"
#include "windowdriver.h"

#include <QtTest>

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

// The one long test: under load a host still sees every change of the
// exchange fields, in the program's order.
class TestLinkSoak : public QObject {
    Q_OBJECT
private slots:
    void fiveHundredPreviewsArriveInOrder();
};

void TestLinkSoak::fiveHundredPreviewsArriveInOrder()
{
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

QTEST_MAIN(TestLinkSoak)
#include "tst_linksoak.moc"
