// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pagedelivery.h"
#include "pluginexchange.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QProcess>
#include <QVariantMap>

// What the reference host does: which plug-in it follows, where the pages go.
struct HostOptions {
    DeliveryOptions delivery;
    bool attach = false;
    QString pluginPath;
};

// Follows one plug-in over the bus: starts it (or attaches to the one
// running), mirrors its exchange, hands each preview pulse and, when the
// plug-in ends, its inserted page to the delivery.
class HostSession : public QObject {
    Q_OBJECT
public:
    HostSession(QDBusConnection bus, QString busAddress, const HostOptions& options);

    // Starts or attaches; the outcome is reported through finished().
    void begin();

signals:
    void finished(int status);

private slots:
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed,
                             const QStringList& invalidated);

private:
    // Where the session is; every event is read against it.
    enum class State {
        Starting,  // the plug-in has not taken its name yet
        Following, // the plug-in holds its name; its changes come in
        NameLost,  // the name is gone while the plug-in started here runs: its end decides
        Draining,  // the plug-in started here ended holding its name, whose loss the bus
                   // reports after the last changes: awaited for a moment
        Done,
    };

    void onOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);
    void onPluginFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void follow(const QString& owner);
    void apply(const QString& item, const QString& value);
    // The plug-in has gone: its inserted page is delivered.
    void linkEnded();
    void finish(int status);
    void fail(const QString& message);
    [[nodiscard]] bool ownedByOurPlugin(const QString& owner) const;

    QDBusConnection m_bus;
    QString m_busAddress;
    bool m_attach;
    QString m_pluginPath;
    QString m_busName;
    QString m_owner;
    QDBusServiceWatcher m_watcher;
    QProcess m_plugin;
    PluginExchange m_received;
    PageDelivery m_delivery;
    State m_state = State::Starting;
};
