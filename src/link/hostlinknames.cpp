// SPDX-License-Identifier: GPL-3.0-or-later
#include "hostlinknames.h"

#include <QFileInfo>

QString pluginBusName(const QString& executablePath)
{
    QString base = QFileInfo(executablePath).fileName();
    for (QChar& c : base) {
        const char16_t u = c.unicode();
        const bool plain =
            (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
        if (!plain)
            c = QLatin1Char('_');
    }
    return QStringLiteral("org.tarnwick.plugin.") + base;
}
