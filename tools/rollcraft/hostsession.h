// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "modernpage.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QProcess>
#include <QVariantMap>
#include <optional>

// What the reference host does with what it receives.
struct HostOptions {
    QString outputFile; // empty: standard output
    QString outputDir;  // when set, the page goes to a file here named after its title
    QString previewDir; // where each preview page is written; empty: a private one
    bool openPreview = false;
    bool attach = false;
    QString pluginPath;
    // Set: the inserted page is the modern page (or fragment) of the set the
    // plug-in published with it, not the page itself.
    std::optional<ModernPageOptions> modern;
};

// Follows one plug-in over the bus: starts it (or attaches to the one
// running), mirrors its three exchange fields, writes a preview page on every
// "PREVIEW" pulse, and when the plug-in ends, writes the inserted page.
class HostSession : public QObject {
    Q_OBJECT
public:
    HostSession(QDBusConnection bus, QString busAddress, HostOptions options);

    // Starts or attaches; the outcome is reported through finished().
    void begin();

signals:
    void finished(int status);

private slots:
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed,
                             const QStringList& invalidated);

private:
    void onOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);
    void onPluginFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void follow(const QString& owner);
    void apply(const QString& item, const QString& value);
    void writePreview();
    // The page to write for the insert: false, said, where it cannot be had.
    [[nodiscard]] bool insertedPage(QString& page);
    void openPreview(const QString& path);
    // Says what went wrong on standard error and, without a terminal there,
    // as a desktop notification.
    void tell(const QString& message);
    void linkEnded();
    void fail(const QString& message);
    [[nodiscard]] bool ownedByOurPlugin(const QString& owner) const;

    QDBusConnection m_bus;
    QString m_busAddress;
    HostOptions m_options;
    QString m_busName;
    QString m_owner;
    QDBusServiceWatcher m_watcher;
    QProcess m_plugin;
    QString m_script;
    QString m_scriptType;
    QString m_preview;
    QString m_insertedSet;
    int m_previews = 0;
    bool m_done = false;
    bool m_pluginCrashed = false;
    bool m_nameLost = false;
};
