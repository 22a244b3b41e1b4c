// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturesizes.h"

#include "regularfile.h"

#include <QImageReader>

QHash<QString, QSize> readPictureSizes(const QStringList& paths)
{
    QHash<QString, QSize> sizes;
    sizes.reserve(paths.size());
    for (const QString& path : paths) {
        // A FIFO or a device named as a picture would keep the reader waiting.
        const OpenedFile file = openRegularFile(path);
        if (!file)
            continue;
        QImageReader reader(file.file.get());
        const QSize size = reader.size();
        if (size.isValid())
            sizes.insert(path, size);
    }
    return sizes;
}
