// SPDX-License-Identifier: GPL-3.0-or-later
#include "notifier.h"

#include "console.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include <unistd.h>

void hostSays(const QString& message)
{
    writeErr(QStringLiteral("rollcraft host: %1\n").arg(message));
}

void hostTells(const QString& message)
{
    hostSays(message);
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
