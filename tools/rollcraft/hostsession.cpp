// SPDX-License-Identifier: GPL-3.0-or-later
#include "hostsession.h"

#include "hostlinknames.h"
#include "notifier.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QProcessEnvironment>
#include <QTimer>

namespace {

const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

} // namespace

HostSession::HostSession(QDBusConnection bus, QString busAddress, const HostOptions& options)
    : m_bus(std::move(bus)), m_busAddress(std::move(busAddress)), m_attach(options.attach),
      m_pluginPath(options.pluginPath), m_busName(pluginBusName(m_pluginPath)),
      m_delivery(options.delivery)
{
    m_watcher.setConnection(m_bus);
    m_watcher.addWatchedService(m_busName);
    m_watcher.setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
    connect(&m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &HostSession::onOwnerChanged);
    connect(&m_plugin, &QProcess::finished, this, &HostSession::onPluginFinished);
}

void HostSession::begin()
{
    const QDBusReply<QString> holder = m_bus.interface()->serviceOwner(m_busName);
    const bool held = holder.isValid() && !holder.value().isEmpty();
    if (!m_attach && held)
        return fail(QStringLiteral("%1 is already held, most likely by a plug-in that is running: "
                                   "a second one would not start (--attach follows the one "
                                   "running)")
                        .arg(m_busName));
    if (m_attach) {
        if (!held)
            return fail(QStringLiteral("no plug-in holds %1 on this bus").arg(m_busName));
        follow(holder.value());
        return;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!m_busAddress.isEmpty())
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    m_plugin.setProcessEnvironment(environment);
    m_plugin.setProcessChannelMode(QProcess::ForwardedChannels);
    m_plugin.start(m_pluginPath, {QStringLiteral("-startplugin")});
    if (!m_plugin.waitForStarted(10000))
        return fail(
            QStringLiteral("cannot start %1: %2").arg(m_pluginPath, m_plugin.errorString()));
    // The plug-in may have taken its name before the watcher saw it.
    const QDBusReply<QString> owner = m_bus.interface()->serviceOwner(m_busName);
    if (owner.isValid() && !owner.value().isEmpty())
        onOwnerChanged(m_busName, QString(), owner.value());
}

bool HostSession::ownedByOurPlugin(const QString& owner) const
{
    const QDBusReply<uint> pid = m_bus.interface()->servicePid(owner);
    return pid.isValid() && static_cast<qint64>(pid.value()) == m_plugin.processId();
}

void HostSession::onOwnerChanged(const QString&, const QString&, const QString& newOwner)
{
    switch (m_state) {
    case State::Done:
        return;
    case State::Starting:
        if (newOwner.isEmpty())
            return;
        if (m_attach || ownedByOurPlugin(newOwner))
            return follow(newOwner);
        return hostSays(QStringLiteral("%1 was taken by another program").arg(m_busName));
    case State::Following:
    case State::NameLost:
    case State::Draining:
        if (newOwner == m_owner)
            return;
        // Whether the plug-in ended or was killed, only its process can tell.
        if (m_attach || m_state == State::Draining)
            return linkEnded();
        m_state = State::NameLost;
        return;
    }
}

void HostSession::follow(const QString& owner)
{
    m_owner = owner;
    m_state = State::Following;
    m_bus.connect(owner, QLatin1String(PluginObjectPath), PropertiesInterface,
                  QStringLiteral("PropertiesChanged"), this,
                  SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
    QDBusMessage getAll = QDBusMessage::createMethodCall(
        owner, QLatin1String(PluginObjectPath), PropertiesInterface, QStringLiteral("GetAll"));
    getAll << QLatin1String(PluginInterface);
    const QDBusMessage reply = m_bus.call(getAll, QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return fail(QStringLiteral("%1 does not answer as a plug-in: %2")
                        .arg(m_busName, reply.errorMessage()));
    const QVariantMap values = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        apply(it.key(), it.value().toString());
    hostSays(QStringLiteral("following %1 (%2)").arg(m_busName, owner));
}

void HostSession::onPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                      const QStringList&)
{
    if (interface != QLatin1String(PluginInterface) || m_state == State::Done)
        return;
    for (auto it = changed.cbegin(); it != changed.cend(); ++it)
        apply(it.key(), it.value().toString());
}

void HostSession::apply(const QString& item, const QString& value)
{
    using Field = PluginExchange::Field;
    // A pulse: PREVIEW turning "PREVIEW".
    if (m_received.apply(item, value) && item == PluginExchange::name(Field::PREVIEW) &&
        value == QLatin1String("PREVIEW"))
        m_delivery.writePreview(m_received.text(Field::SCRIPT));
}

void HostSession::onPluginFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    switch (m_state) {
    case State::Done:
    case State::Draining:
        return;
    case State::Starting:
        if (exitStatus == QProcess::NormalExit && exitCode == 2)
            return fail(QStringLiteral("the plug-in could not take %1 on the bus (it found no "
                                       "session bus, or another program holds the name), so it "
                                       "did not open its window")
                            .arg(m_busName));
        return fail(QStringLiteral("the plug-in ended before it joined the bus"));
    case State::Following:
    case State::NameLost:
        break;
    }
    if (exitStatus == QProcess::CrashExit) {
        hostSays(QStringLiteral("the link ended: the plug-in was killed or crashed"));
        return finish(2);
    }
    if (m_state == State::NameLost)
        return linkEnded();
    m_state = State::Draining;
    QTimer::singleShot(3000, this, [this] {
        if (m_state == State::Draining)
            linkEnded();
    });
}

void HostSession::linkEnded()
{
    finish(m_delivery.deliverInserted(m_received));
}

void HostSession::finish(int status)
{
    m_state = State::Done;
    emit finished(status);
}

void HostSession::fail(const QString& message)
{
    if (m_state == State::Done)
        return;
    hostSays(message);
    if (m_plugin.state() != QProcess::NotRunning)
        m_plugin.kill();
    finish(2);
}
