// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QSet>
#include <QSize>
#include <QStringList>

// Each picture's size, read from its file's header without decoding it; a
// file that cannot be read, or is not a regular file, is left out.
[[nodiscard]] QHash<QString, QSize> readPictureSizes(const QStringList& paths);

// The pictures that have a readable picture of twice the size beside them
// (hiDpiPicturePath).
[[nodiscard]] QSet<QString> findHiDpiPictures(const QStringList& paths);
