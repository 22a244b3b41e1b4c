// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

// The program's one persisted setting: whether the "Auto image wizard" is on.
// Stored as "True" or "False" under [General] AutoImage in
// ~/.config/RollcraftII/RollcraftII.conf.

// The stored value; nothing when there is none or it is not a Boolean text.
[[nodiscard]] std::optional<bool> readAutoImage();
void writeAutoImage(bool on);
