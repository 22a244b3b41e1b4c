// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// Each of these gives `text` as it must land in a page: the text itself when
// nothing in it needs changing (the usual case, which copies nothing), or
// its changed form, written into `room`, which the result then views.

// Text that stays text inside an HTML attribute or element: & < > " ' as
// character references.
[[nodiscard]] QStringView htmlEscaped(QStringView text, QString& room);

// What percent-encoding keeps beside ASCII letters, digits and "-._~": in a
// file name the sub-delimiters "@!$()*+,;="; in a folder also '/' and ':';
// in a file address '/', ':' and '|' alone.
enum class PercentKeeps { Name, Folder, Address };

// Percent-encoded as UTF-8, keeping only what `keep` says: a file name or
// folder lands in a URL as itself, whatever it holds.
[[nodiscard]] QStringView percentEncoded(QStringView text, PercentKeeps keep, QString& room);

// An address written by hand, encoding only what a URL can never hold
// literally (controls, space, " < > \ ^ ` { | }); '%', '#', '?' and non-ASCII
// letters keep their meaning.
[[nodiscard]] QStringView urlCleaned(QStringView url, QString& room);
