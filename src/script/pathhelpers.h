// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// What stands between a folder and a name in it: the image path prefix before
// a picture's file name, the chosen folder before a copy's. The folder with a
// trailing slash, unless it is empty or ends in one already; only '/' counts.
[[nodiscard]] QString CheckSlash(const QString& FilePath = QString());

// Splits a path at its last separator: GetWhat 0 gives the folder part (ending
// in the separator), 1 the file name, anything else the empty text. The
// separator is the backslash, or '/' for a native path (one that begins with
// '/' and holds no backslash). No separator gives the empty text.
[[nodiscard]] QString GetFilenameOrFilePathFromString(const QString& FilePath, int GetWhat);

// True for a file of at least one byte; any failure gives false.
[[nodiscard]] bool FileExist(const QString& FilePath);

// The file:/// address the preview page uses: "C:\a\b.gif" gives
// "file:///C|/a/b.gif", a native path "/a/b.gif" gives "file:///a/b.gif".
// Fails (no value) for texts shorter than two characters.
[[nodiscard]] std::optional<QString> GetPrevPath(const QString& FilePath);

// A path that begins with '/' and holds no backslash.
[[nodiscard]] bool isNativePath(QStringView FilePath);

// The file-name part, as GetFilenameOrFilePathFromString(FilePath, 1).
[[nodiscard]] QStringView fileNamePart(QStringView FilePath);
