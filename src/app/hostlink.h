// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

class TWKPLUGIN;

// Publishes the main window's exchange fields on the session bus: object
// /PLUGIN, interface org.tarnwick.Plugin, read-only properties SCRIPT,
// SCRIPTTYPE and PREVIEW, and one PropertiesChanged signal per change, in
// the order the window makes them. The link accepts nothing that changes
// anything. Without a session bus the window works on, unlinked.
class HostLink : public QObject {
    Q_OBJECT
public:
    explicit HostLink(TWKPLUGIN& window, QObject* parent = nullptr);
    ~HostLink() override;

    [[nodiscard]] bool isLinked() const { return m_linked; }

private:
    void publish(const QString& item, const QString& value);

    QDBusConnection m_bus;
    QString m_busName;
    bool m_linked = false;
};
