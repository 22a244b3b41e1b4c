// SPDX-License-Identifier: GPL-3.0-or-later
#include "hostsession.h"

#include "console.h"
#include "hostlinknames.h"
#include "modernoptions.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

// The user's own folder for previews: under $XDG_RUNTIME_DIR, made private;
// where that is missing or the folder there is not the user's alone, a fresh
// private temporary folder. Empty when neither can be had.
QString privatePreviewDir()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        const QByteArray dir = runtime + "/rollcraft-preview";
        ::mkdir(dir.constData(), 0700);
        struct stat info {};
        if (::lstat(dir.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
            info.st_uid == ::getuid() && (info.st_mode & 077) == 0)
            return QFile::decodeName(dir);
    }
    QTemporaryDir fresh(QDir::temp().filePath(QStringLiteral("rollcraft-preview-XXXXXX")));
    fresh.setAutoRemove(false); // the browser reads it after this program has ended
    return fresh.isValid() ? fresh.path() : QString();
}

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
    const QDBusReply<QString> holder = m_bus.interface()->serviceOwner(m_busName);
    const bool held = holder.isValid() && !holder.value().isEmpty();
    if (!m_options.attach && held)
        return fail(QStringLiteral("%1 is already held, most likely by a plug-in that is running: "
                                   "a second one would not start (--attach follows the one "
                                   "running)")
                        .arg(m_busName));
    if (m_options.attach) {
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
    writeErr(QStringLiteral("rollcraft host: %1 was taken by another program\n").arg(m_busName));
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
    } else if (item == QLatin1String(InsertedSetProperty)) {
        m_insertedSet = value;
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
    // A preview's page, never empty, comes before its pulse.
    if (m_script.isEmpty()) {
        tell(QStringLiteral("the plug-in asked for preview %1, but its page did not come over the "
                            "bus (the plug-in's message above says why)")
                 .arg(m_previews));
        return;
    }
    if (m_options.previewDir.isEmpty())
        m_options.previewDir = privatePreviewDir();
    else
        QDir().mkpath(m_options.previewDir);
    const QString path =
        QDir(m_options.previewDir).absoluteFilePath(QStringLiteral("preview.html"));
    if (m_options.previewDir.isEmpty() || !writePageFile(path, m_script)) {
        tell(QStringLiteral("cannot write the preview to %1").arg(path));
        return;
    }
    writeErr(QStringLiteral("preview %1: %2\n").arg(m_previews).arg(path));
    if (m_options.openPreview)
        openPreview(path);
}

void HostSession::openPreview(const QString& path)
{
    auto* opener = new QProcess(this);
    connect(opener, &QProcess::finished, this,
            [this, opener, path](int code, QProcess::ExitStatus status) {
                if (status != QProcess::NormalExit || code != 0)
                    tell(QStringLiteral("the browser could not open %1 (xdg-open ended with "
                                        "status %2)")
                             .arg(path)
                             .arg(code));
                opener->deleteLater();
            });
    connect(opener, &QProcess::errorOccurred, this,
            [this, opener, path](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart)
                    return;
                tell(QStringLiteral("cannot start xdg-open for %1: %2")
                         .arg(path, opener->errorString()));
                opener->deleteLater();
            });
    opener->start(QStringLiteral("xdg-open"), {path});
}

void HostSession::tell(const QString& message)
{
    writeErr(QStringLiteral("rollcraft host: %1\n").arg(message));
    // Started from the menu, nobody reads standard error: the desktop's
    // notifications are where the user looks.
    if (::isatty(STDERR_FILENO))
        return;
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    notify << QStringLiteral("Rollcraft II") << 0U << QStringLiteral("rollcraft2")
           << QStringLiteral("Rollcraft II") << message << QStringList() << QVariantMap() << -1;
    QDBusConnection::sessionBus().send(notify);
}

void HostSession::onPluginFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    m_pluginCrashed = exitStatus == QProcess::CrashExit;
    if (m_owner.isEmpty()) {
        if (exitStatus == QProcess::NormalExit && exitCode == 2)
            fail(QStringLiteral("the plug-in could not take %1 on the bus (it found no session "
                                "bus, or another program holds the name), so it did not open "
                                "its window")
                     .arg(m_busName));
        else
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
    // "Insert script" names the page, then publishes it, never empty: a name
    // without a page means the page never reached us.
    if (m_script.isEmpty() && !m_scriptType.isEmpty()) {
        m_done = true;
        tell(QStringLiteral("the plug-in inserted \"%1\", but its page did not come over the bus "
                            "(the plug-in's message above says why); nothing was written")
                 .arg(m_scriptType));
        emit finished(2);
        return;
    }
    if (m_script.isEmpty() || m_scriptType.isEmpty()) {
        m_done = true;
        writeErr(QStringLiteral("rollcraft host: the plug-in ended without inserting a page\n"));
        emit finished(1);
        return;
    }
    QString page;
    if (!insertedPage(page))
        return;
    if (!m_options.outputDir.isEmpty()) {
        QDir().mkpath(m_options.outputDir);
        m_options.outputFile = pageFileIn(m_options.outputDir, m_scriptType);
    }
    if (m_options.outputFile.isEmpty()) {
        if (!writePageOut(QStringLiteral("host"), page)) {
            m_done = true;
            emit finished(2);
            return;
        }
        writeErr(QStringLiteral("Inserted: %1\n").arg(m_scriptType));
    } else {
        if (!writePageFile(m_options.outputFile, page))
            return fail(QStringLiteral("cannot write %1").arg(m_options.outputFile));
        writeOut(QStringLiteral("Inserted: %1\n").arg(m_scriptType));
        if (!m_options.outputDir.isEmpty())
            writeErr(QStringLiteral("page: %1\n").arg(m_options.outputFile));
        // Detached: the browser outlives this program, which ends now.
        if (m_options.openPreview &&
            !QProcess::startDetached(QStringLiteral("xdg-open"), {m_options.outputFile}))
            tell(QStringLiteral("cannot start xdg-open for %1").arg(m_options.outputFile));
    }
    m_done = true;
    emit finished(0);
}

bool HostSession::insertedPage(QString& page)
{
    if (!m_options.modern) {
        page = m_script;
        return true;
    }
    if (m_insertedSet.isEmpty()) {
        fail(QStringLiteral("the plug-in published no set with its page (one older than this "
                            "tool?), so there is no modern page to write"));
        return false;
    }
    const DataFileReadResult read = readDataFileText(m_insertedSet);
    if (!read.ok) {
        fail(QStringLiteral("the set the plug-in published does not read: line %1: %2")
                 .arg(read.errorLine)
                 .arg(read.expected));
        return false;
    }
    page = renderModernPage(toButtonSet(read), *m_options.modern);
    return true;
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
