// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

class PluginExchange;

// Publishes a plug-in's exchange on the session bus: object /PLUGIN,
// interface org.tarnwick.Plugin, read-only properties SCRIPT, SCRIPTTYPE and
// PREVIEW, and one PropertiesChanged signal per change, in the order the
// exchange makes them; beside them SCRIPTSET, the set behind the inserted
// page. The link accepts nothing that changes anything, and must not outlive
// the exchange (the plug-in makes the exchange's owner, its window, its parent).
class HostLink : public QObject {
    Q_OBJECT
public:
    explicit HostLink(const PluginExchange& exchange, QObject* parent = nullptr);
    ~HostLink() override;

    // Whether it owns the plug-in's bus name: false without a session bus, or
    // when another program holds the name.
    [[nodiscard]] bool isLinked() const { return m_linked; }
    [[nodiscard]] QString busName() const { return m_busName; }

private:
    // Sends one change; one the bus would not carry is said on standard error.
    void publish(const QString& item, const QString& value);
    void refused(const QString& item, const QString& why);

    QDBusConnection m_bus;
    QString m_busName;
    bool m_linked = false;
};
