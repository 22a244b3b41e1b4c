// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Names both ends of the host link agree on.
inline constexpr char PluginObjectPath[] = "/PLUGIN";
inline constexpr char PluginInterface[] = "org.tarnwick.Plugin";
// Beside the three exchange fields: the data-file text of the set behind the
// inserted page, published before the page, for a host that renders the
// modern page of it.
inline constexpr char InsertedSetProperty[] = "SCRIPTSET";

// "org.tarnwick.plugin." and the executable's base name, every character
// other than a letter, digit or '_' turned into '_'.
[[nodiscard]] QString pluginBusName(const QString& executablePath);
