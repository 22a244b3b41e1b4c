// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

// Loads a picture file for a preview. Anything that is not a readable
// regular file holding a picture within Qt's allocation limit gives a null
// image; nothing here blocks on special files or throws.
[[nodiscard]] QImage loadPicture(const QString& path);
