// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Text that stays text inside an HTML attribute or element: & < > " ' as
// character references.
[[nodiscard]] QString htmlEscaped(const QString& text);

// What percent-encoding keeps beside ASCII letters, digits and "-._~": in a
// file name the sub-delimiters "@!$()*+,;="; in a folder also '/' and ':';
// in a file address '/', ':' and '|' alone.
enum class PercentKeeps { Name, Folder, Address };

// Percent-encoded as UTF-8, keeping only what `keep` says: a file name or
// folder lands in a URL as itself, whatever it holds.
[[nodiscard]] QString percentEncoded(const QString& text, PercentKeeps keep);

// An address written by hand, encoding only what a URL can never hold
// literally (controls, space, " < > \ ^ ` { | }); '%', '#', '?' and non-ASCII
// letters keep their meaning.
[[nodiscard]] QString urlCleaned(const QString& url);
