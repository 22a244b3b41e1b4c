// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The caption of the program's message boxes.
inline const QString AppTitle = QStringLiteral("TWKPLUGIN");
