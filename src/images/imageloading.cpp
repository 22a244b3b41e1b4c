// SPDX-License-Identifier: GPL-3.0-or-later
#include "imageloading.h"

#include "regularfile.h"

#include <QImageReader>

QImage loadPicture(const QString& path)
{
    const OpenedFile file = openRegularFile(path);
    if (!file)
        return {};
    QImageReader reader(file.file.get());
    reader.setDecideFormatFromContent(true);
    return reader.read();
}
