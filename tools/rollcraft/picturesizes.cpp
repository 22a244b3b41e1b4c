// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturesizes.h"

#include "modernpage.h"
#include "regularfile.h"

#include <QFileInfo>
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

QSet<QString> findHiDpiPictures(const QStringList& paths)
{
    QSet<QString> found;
    for (const QString& path : paths) {
        const QFileInfo twice(hiDpiPicturePath(path));
        if (twice.isFile() && twice.isReadable())
            found.insert(path);
    }
    return found;
}
