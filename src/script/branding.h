// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The maker's lines shown in the page banner and the About window.
namespace Branding {
inline constexpr char Copyright[] = "Copyright (C) 2026 The Rollcraft II developers";
inline constexpr char WebAddress[] = "https://rollcraft.example.org/";
inline constexpr char EmailAddress[] = "rollcraft@rollcraft.example.org";
// The About window's shorter lines.
inline constexpr char AboutCopyright[] = "\u00A9 2026 Rollcraft";
inline constexpr char WebSite[] = "rollcraft.example.org";
} // namespace Branding
