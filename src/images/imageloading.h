// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <functional>

// What a window shows of a picture: the decoded part, where that part lies
// in the whole picture, and the whole picture's size.
struct PicturePart {
    QImage image; // null when the file holds no picture that can be shown
    QRect rect;
    QSize size;
};

// Which part of a picture of the given size a window shows.
using PartChooser = std::function<QRect(QSize picture)>;

// Loads the part `choose` picks of a picture file, decoding no more of it
// than the format allows (a JPEG skips what lies outside the part; other
// formats decode whole and are cut). Anything that is not a readable regular
// file holding a picture within Qt's allocation limit gives a null image;
// nothing here blocks on special files or throws.
[[nodiscard]] PicturePart loadPicture(const QString& path, const PartChooser& choose);
