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

// Appends the encoding of `text` to `bytes`; false, with `bytes` as it was,
// when the code page cannot hold one of its characters.
[[nodiscard]] bool appendWindows1252(QByteArray& bytes, QStringView text);

// Whether a file's bytes begin with the UTF-8 byte-order mark: such a file is
// UTF-8 after the mark, any other is Windows-1252.
[[nodiscard]] bool startsWithUtf8Mark(QByteArrayView bytes);

// A whole text file: Windows-1252 when it holds every character, otherwise
// UTF-8 behind the byte-order mark, so that no character is ever lost.
[[nodiscard]] QByteArray encodeTextFile(QStringView text);
