// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows-1252, one byte per character. Decoding never fails: the five bytes
// the code page leaves undefined decode to the C1 control of the same value,
// so any file read and written again keeps its bytes.
[[nodiscard]] QString decodeWindows1252(QByteArrayView bytes);

// Characters the code page cannot hold are written as '?', one per character.
[[nodiscard]] QByteArray encodeWindows1252(QStringView text);

// Appends the encoding of `text` to `bytes`.
void appendWindows1252(QByteArray& bytes, QStringView text);
