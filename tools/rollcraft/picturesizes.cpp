// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturesizes.h"

#include <QImageReader>

QHash<QString, QSize> readPictureSizes(const QStringList& paths)
{
    QHash<QString, QSize> sizes;
    sizes.reserve(paths.size());
    for (const QString& path : paths) {
        QImageReader reader(path);
        const QSize size = reader.size();
        if (size.isValid())
            sizes.insert(path, size);
    }
    return sizes;
}
