// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings.h"

#include <QSettings>

namespace {

QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("RollcraftII"),
                     QStringLiteral("RollcraftII"));
}

const QString Key = QStringLiteral("AutoImage");

} // namespace

std::optional<bool> readAutoImage()
{
    const QString text = store().value(Key).toString().trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

void writeAutoImage(bool on)
{
    QSettings settings = store();
    settings.setValue(Key, on ? QStringLiteral("True") : QStringLiteral("False"));
    settings.sync();
}
