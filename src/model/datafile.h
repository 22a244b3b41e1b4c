// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "buttonrecord.h"
#include "buttonset.h"
#include "regularfile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// The largest data file read, from a file or from standard input. A set of
// 100 buttons with long paths and texts takes a few hundred kilobytes; what
// is larger is not a data file, and is refused before it is held whole.
inline constexpr qint64 MaxDataFileBytes = 32 * 1024 * 1024;

// What reading a data file produced. On a reading error everything read
// before it is kept: the default description image once line 2 was read, and
// every button whose name line was read, a partly read one with the fields
// that came before the error.
struct DataFileReadResult {
    bool ok = false;
    bool defaultDescriptionRead = false;
    QString DefaultDescriptionImage;
    QList<ButtonRecord> buttons;
    // Where and why reading stopped; line 0 when the file could not be opened.
    int errorLine = 0;
    QString expected;
};

// Reads the bytes of a data file. Never fails on any input; a malformed file
// gives ok == false with the line and what was expected there.
[[nodiscard]] DataFileReadResult readDataFile(QByteArrayView bytes);

// Reads the rest of `file` (open for reading: a regular file, or standard
// input as a pipe) as a data file, never more than MaxDataFileBytes; a larger
// one, or one that fails to read, is a reading error at line 0. `bytes`, when
// given, receives the bytes read.
[[nodiscard]] DataFileReadResult readDataFileFrom(QFile& file, QByteArray* bytes = nullptr);

// Reads what openRegularFile opened; what it refused (a FIFO, a device, a
// folder, a file that is not there) is a reading error at line 0 saying why.
[[nodiscard]] DataFileReadResult readDataFile(const OpenedFile& opened,
                                              QByteArray* bytes = nullptr);

// Reads the data file at `path`: a regular file only, opened without blocking.
[[nodiscard]] DataFileReadResult readDataFileAt(const QString& path);

// The bytes of a data file: "[COMMON]", the default description image, then
// nine lines a button, "#" for empty values (never for names), CR LF after
// every line; Windows-1252, or UTF-8 behind the byte-order mark when the set
// holds a character Windows-1252 cannot. Nothing when a value holds a CR or an
// LF: written, it would split its line and spoil every line after it.
[[nodiscard]] std::optional<QByteArray> writeDataFile(const QString& defaultDescriptionImage,
                                                      const QList<ButtonRecord>& buttons);

// The text of that data file, before it is encoded.
[[nodiscard]] QString dataFileText(const QString& defaultDescriptionImage,
                                   const QList<ButtonRecord>& buttons);

// Reads the text of a data file (as dataFileText gives it) as the bytes it
// stands for are read.
[[nodiscard]] DataFileReadResult readDataFileText(QStringView text);

// The path the open command reads: ".rk2" appended unless the name already
// ends in it, in any mix of case.
[[nodiscard]] QString withDataFileExtension(const QString& path);

// Replaces the file at `path` with `bytes` in one step: on failure the earlier
// file stays as it was.
[[nodiscard]] bool saveFileAtomically(const QString& path, const QByteArray& bytes);

// The set as the window holds it after opening the file: its buttons in the
// first slots, its default description image.
[[nodiscard]] ButtonSet toButtonSet(const DataFileReadResult& read);
