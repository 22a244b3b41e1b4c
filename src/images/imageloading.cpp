// SPDX-License-Identifier: GPL-3.0-or-later
#include "imageloading.h"

#include "regularfile.h"

#include <QImageReader>

namespace {

// Whether the whole picture would pass Qt's allocation limit. Qt checks the
// limit against what it decodes, the part alone when a reader clips; the
// whole is checked here, so that a picture too large to decode whole is
// refused as it is in the formats that cannot clip.
bool withinAllocationLimit(QSize size, QImage::Format format)
{
    const qint64 limit = qint64(QImageReader::allocationLimit()) << 20;
    if (limit == 0)
        return true;
    const int depth =
        format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
    const qint64 bytesPerLine = (qint64(size.width()) * depth + 31) / 32 * 4;
    return bytesPerLine * size.height() <= limit;
}

PicturePart readPart(QImageReader& reader, const PartChooser& choose)
{
    const QSize size = reader.size(); // from the headers
    if (size.isValid() && reader.supportsOption(QImageIOHandler::ClipRect)) {
        if (!withinAllocationLimit(size, reader.imageFormat()))
            return {};
        const QRect part = choose(size) & QRect(QPoint(), size);
        reader.setClipRect(part);
        const QImage image = reader.read();
        if (image.isNull())
            return {};
        return {image, part, size};
    }
    const QImage whole = reader.read();
    if (whole.isNull())
        return {};
    const QRect part = choose(whole.size()) & whole.rect();
    return {whole.copy(part), part, whole.size()};
}

} // namespace

PicturePart loadPicture(const QString& path, const PartChooser& choose)
{
    const OpenedFile file = openRegularFile(path);
    if (!file)
        return {};
    QImageReader reader(file.file.get());
    reader.setDecideFormatFromContent(true);
    return readPart(reader, choose);
}
