// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The forms were drawn for a small 8-point interface font; Liberation Sans
// (Arial's metrics) at 10 pixels fits every caption in its place.
inline QFont formFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(10);
    return font;
}
