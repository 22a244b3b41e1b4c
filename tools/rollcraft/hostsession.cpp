// SPDX-License-Identifier: GPL-3.0-or-later
#include "hostsession.h"

#include "console.h"
#include "hostlinknames.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTimer>

namespace {

const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

} // namespace

HostSession::HostSession(QDBusConnection bus, QString busAddress, HostOptions options)
    : m_bus(std::move(bus)), m_busAddress(std::move(busAddress)), m_options(std::move(options)),
      m_busName(pluginBusName(m_options.pluginPath))
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
    if (m_options.attach) {
        const QDBusReply<QString> owner = m_bus.interface()->serviceOwner(m_busName);
        if (!owner.isValid() || owner.value().isEmpty())
            return fail(QStringLiteral("no plug-in holds %1 on this bus").arg(m_busName));
        follow(owner.value());
        return;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!m_busAddress.isEmpty())
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    m_plugin.setProcessEnvironment(environment);
    m_plugin.setProcessChannelMode(QProcess::ForwardedChannels);
    m_plugin.start(m_options.pluginPath, {QStringLiteral("-startplugin")});
    if (!m_plugin.waitForStarted(10000))
        return fail(QStringLiteral("cannot start %1: %2")
                        .arg(m_options.pluginPath, m_plugin.errorString()));
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
    if (m_done)
        return;
    if (!m_owner.isEmpty()) {
        if (newOwner == m_owner)
            return;
        // Whether the plug-in ended or was killed, only its process can tell.
        m_nameLost = true;
        if (m_options.attach || m_plugin.state() == QProcess::NotRunning)
            linkEnded();
        return;
    }
    if (newOwner.isEmpty())
        return;
    if (m_options.attach || ownedByOurPlugin(newOwner)) {
        follow(newOwner);
        return;
    }
    writeErr(QStringLiteral("rollcraft host: %1 is held by another program; waiting for the "
                            "plug-in started here\n")
                 .arg(m_busName));
}

void HostSession::follow(const QString& owner)
{
    m_owner = owner;
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
    writeErr(QStringLiteral("rollcraft host: following %1 (%2)\n").arg(m_busName, owner));
}

void HostSession::onPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                      const QStringList&)
{
    if (interface != QLatin1String(PluginInterface) || m_done)
        return;
    for (auto it = changed.cbegin(); it != changed.cend(); ++it)
        apply(it.key(), it.value().toString());
}

void HostSession::apply(const QString& item, const QString& value)
{
    if (item == QLatin1String("SCRIPT")) {
        m_script = value;
    } else if (item == QLatin1String("SCRIPTTYPE")) {
        m_scriptType = value;
    } else if (item == QLatin1String("PREVIEW")) {
        const bool pulse = value == QLatin1String("PREVIEW") && m_preview != value;
        m_preview = value;
        if (pulse)
            writePreview();
    }
}

void HostSession::writePreview()
{
    ++m_previews;
    QDir().mkpath(m_options.previewDir);
    const QString path =
        QDir(m_options.previewDir).absoluteFilePath(QStringLiteral("preview.html"));
    if (!writePageFile(path, m_script)) {
        writeErr(QStringLiteral("rollcraft host: cannot write the preview to %1\n").arg(path));
        return;
    }
    writeErr(QStringLiteral("preview %1: %2\n").arg(m_previews).arg(path));
    if (m_options.openPreview)
        QProcess::startDetached(QStringLiteral("xdg-open"), {path});
}

void HostSession::onPluginFinished(int, QProcess::ExitStatus exitStatus)
{
    m_pluginCrashed = exitStatus == QProcess::CrashExit;
    if (m_owner.isEmpty()) {
        if (!m_done)
            fail(QStringLiteral("the plug-in ended before it joined the bus"));
        return;
    }
    if (m_nameLost) {
        linkEnded();
        return;
    }
    // The bus reports the lost name after the plug-in's last changes; give it
    // a moment to arrive.
    QTimer::singleShot(3000, this, [this] {
        if (!m_done)
            linkEnded();
    });
}

// "page-" and the title, with what a file name cannot hold (on any desktop
// the user may copy it to) turned into '_'.
static QString pageFileIn(const QString& dir, const QString& title)
{
    QString name = title;
    for (QChar& c : name) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    return QDir(dir).absoluteFilePath(QStringLiteral("page-%1.html").arg(name));
}

void HostSession::linkEnded()
{
    if (m_done)
        return;
    if (m_pluginCrashed) {
        m_done = true;
        writeErr(QStringLiteral("rollcraft host: the link ended: the plug-in was killed or "
                                "crashed\n"));
        emit finished(2);
        return;
    }
    if (m_script.isEmpty() || m_scriptType.isEmpty()) {
        m_done = true;
        writeErr(QStringLiteral("rollcraft host: the plug-in ended without inserting a page\n"));
        emit finished(1);
        return;
    }
    if (!m_options.outputDir.isEmpty()) {
        QDir().mkpath(m_options.outputDir);
        m_options.outputFile = pageFileIn(m_options.outputDir, m_scriptType);
    }
    if (m_options.outputFile.isEmpty()) {
        writeOut(m_script);
        writeErr(QStringLiteral("Inserted: %1\n").arg(m_scriptType));
    } else {
        if (!writePageFile(m_options.outputFile, m_script))
            return fail(QStringLiteral("cannot write %1").arg(m_options.outputFile));
        writeOut(QStringLiteral("Inserted: %1\n").arg(m_scriptType));
        if (!m_options.outputDir.isEmpty())
            writeErr(QStringLiteral("page: %1\n").arg(m_options.outputFile));
        if (m_options.openPreview)
            QProcess::startDetached(QStringLiteral("xdg-open"), {m_options.outputFile});
    }
    m_done = true;
    emit finished(0);
}

void HostSession::fail(const QString& message)
{
    if (m_done)
        return;
    m_done = true;
    writeErr(QStringLiteral("rollcraft host: %1\n").arg(message));
    if (m_plugin.state() != QProcess::NotRunning)
        m_plugin.kill();
    emit finished(2);
}
