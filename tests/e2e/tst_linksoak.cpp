#include "hostlink.h"
#include "hostlinknames.h"
#include "windowdriver.h"

#include <QDBusConnection>
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
            changes << it.key() + QLatin1Char('=') + QString::number(qHash(it.value().toString()));
    }
};

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
    QDBusConnection host =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("host"));
    Listener listener;
    const QString name = pluginBusName(QCoreApplication::applicationFilePath());
    QVERIFY(host.connect(name, QLatin1String(PluginObjectPath),
                         QStringLiteral("org.freedesktop.DBus.Properties"),
                         QStringLiteral("PropertiesChanged"), &listener,
                         SLOT(changed(QString, QVariantMap, QStringList))));
    f.ui.addButton(f.dialogs, QStringLiteral("A"));

    constexpr int Previews = 500;
    QStringList expected;
    for (int i = 0; i < Previews; ++i) {
        f.ui.type(3, QStringLiteral("page%1.htm").arg(i));
        f.ui.click(QStringLiteral("Command2"));
        const QString page = f.window.exchangeText(TWKPLUGIN::Exchange::SCRIPT);
        expected << QStringLiteral("SCRIPT=") + QString::number(qHash(QString()))
                 << QStringLiteral("SCRIPT=") + QString::number(qHash(page))
                 << QStringLiteral("PREVIEW=") + QString::number(qHash(QStringLiteral("PREVIEW")))
                 << QStringLiteral("PREVIEW=") + QString::number(qHash(QString()));
        QTRY_COMPARE_WITH_TIMEOUT(listener.changes.size(), expected.size(), 5000);
    }
    QCOMPARE(listener.changes, expected);
}

QTEST_MAIN(TestLinkSoak)
#include "tst_linksoak.moc"
