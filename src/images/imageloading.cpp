// SPDX-License-Identifier: GPL-3.0-or-later
#include "imageloading.h"

#include <QFileInfo>
#include <QImageReader>

QImage loadPicture(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || !info.isReadable())
        return {};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}
