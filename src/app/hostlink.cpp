// SPDX-License-Identifier: GPL-3.0-or-later
#include "hostlink.h"

#include "hostlinknames.h"
#include "pluginexchange.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <cstdio>

namespace {

// The most one change may take. The bus ends the connection of a program
// that sends an array longer than 64 MiB (the plug-in would lose its name, the
// host every later change), and a host on libdbus stops reading, one on Qt for
// good, once the messages it holds reach 63 MiB. The message's header and
// framing fit in the 4 KiB left.
constexpr qint64 MostChangeBytes = (qint64(63) << 20) - 4096;

// The /PLUGIN object's one interface: the three exchange fields and the set
// behind the inserted page, read-only text properties.
class PluginAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.tarnwick.Plugin")
    Q_PROPERTY(QString SCRIPT READ script)
    Q_PROPERTY(QString SCRIPTTYPE READ scriptType)
    Q_PROPERTY(QString PREVIEW READ preview)
    Q_PROPERTY(QString SCRIPTSET READ insertedSet)

public:
    PluginAdaptor(QObject* topic, const PluginExchange& exchange)
        : QDBusAbstractAdaptor(topic), m_exchange(exchange)
    {}

    [[nodiscard]] QString script() const { return m_exchange.text(PluginExchange::Field::SCRIPT); }
    [[nodiscard]] QString scriptType() const
    {
        return m_exchange.text(PluginExchange::Field::SCRIPTTYPE);
    }
    [[nodiscard]] QString preview() const
    {
        return m_exchange.text(PluginExchange::Field::PREVIEW);
    }
    [[nodiscard]] QString insertedSet() const { return m_exchange.insertedSet(); }

private:
    const PluginExchange& m_exchange;
};

} // namespace

HostLink::HostLink(const PluginExchange& exchange, QObject* parent)
    : QObject(parent), m_bus(QDBusConnection::sessionBus()),
      m_busName(pluginBusName(QCoreApplication::applicationFilePath()))
{
    if (!m_bus.isConnected())
        return;
    auto* topic = new QObject(this);
    new PluginAdaptor(topic, exchange);
    if (!m_bus.registerObject(QLatin1String(PluginObjectPath), topic,
                              QDBusConnection::ExportAdaptors))
        return;
    connect(&exchange, &PluginExchange::changed, this,
            [this](PluginExchange::Field field, const QString& text) {
                publish(PluginExchange::name(field), text);
            });
    connect(&exchange, &PluginExchange::insertedSetChanged, this,
            [this](const QString& text) { publish(QLatin1String(InsertedSetProperty), text); });
    // Owned at once or not at all: a plug-in waiting in the queue would show
    // a window whose page no host receives.
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        m_bus.interface()->registerService(m_busName, QDBusConnectionInterface::DontQueueService,
                                           QDBusConnectionInterface::DontAllowReplacement);
    m_linked = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

HostLink::~HostLink()
{
    if (m_linked)
        m_bus.interface()->unregisterService(m_busName);
    if (m_bus.isConnected())
        m_bus.unregisterObject(QLatin1String(PluginObjectPath));
}

void HostLink::publish(const QString& item, const QString& value)
{
    if (const qint64 bytes = item.toUtf8().size() + value.toUtf8().size(); bytes > MostChangeBytes)
        return refused(item, QStringLiteral("%1 bytes, more than the %2 one change can carry")
                                 .arg(bytes)
                                 .arg(MostChangeBytes));
    QDBusMessage signal = QDBusMessage::createSignal(
        QLatin1String(PluginObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QLatin1String(PluginInterface) << QVariantMap{{item, value}} << QStringList();
    if (!m_bus.send(signal))
        refused(item, m_bus.lastError().message());
}

void HostLink::refused(const QString& item, const QString& why)
{
    std::fprintf(stderr,
                 "rollcraft2: cannot publish the new %s on the bus (%s); the host did not "
                 "receive it\n",
                 qPrintable(item), qPrintable(why));
}

#include "hostlink.moc"
