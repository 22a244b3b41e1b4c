// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// Appends `text` so that it stays text inside an HTML attribute or element:
// & < > " ' become character references.
void appendHtmlEscaped(QString& out, QStringView text);

// Appends `text` percent-encoded as UTF-8, keeping only ASCII letters, digits,
// "-._~" and the characters in `keep`: a file name or folder lands in a URL
// as itself, whatever it holds.
void appendPercentEncoded(QString& out, QStringView text, QStringView keep);

// Appends an address written by hand, encoding only what a URL can never hold
// literally (controls, space, " < > \ ^ ` { | }); '%', '#', '?' and non-ASCII
// letters keep their meaning.
void appendUrlCleaned(QString& out, QStringView url);
