// SPDX-License-Identifier: GPL-3.0-or-later
#include "pathhelpers.h"

#include <QFileInfo>
#include <algorithm>

namespace {
constexpr char16_t FileScheme[] = u"file:///";
constexpr qsizetype FileSchemeLength = std::size(FileScheme) - 1;
} // namespace

bool isNativePath(QStringView FilePath)
{
    return FilePath.startsWith(u'/') && !FilePath.contains(u'\\');
}

qsizetype lastSeparator(QStringView FilePath)
{
    // One backward scan: the last backslash wins; with none, a native path
    // splits at its last '/'.
    qsizetype lastSlash = -1;
    for (qsizetype i = FilePath.size() - 1; i >= 0; --i) {
        const char16_t c = FilePath[i].unicode();
        if (c == u'\\')
            return i;
        if (c == u'/' && lastSlash < 0)
            lastSlash = i;
    }
    return FilePath.startsWith(u'/') ? lastSlash : -1;
}

QStringView fileNamePart(QStringView FilePath)
{
    const qsizetype at = lastSeparator(FilePath);
    return at < 0 ? QStringView() : FilePath.sliced(at + 1);
}

QString CheckSlash(const QString& FilePath)
{
    if (FilePath.isEmpty() || FilePath.endsWith(QLatin1Char('/')))
        return FilePath;
    return FilePath + QLatin1Char('/');
}

QString GetFilenameOrFilePathFromString(const QString& FilePath, int GetWhat)
{
    const qsizetype at = lastSeparator(FilePath);
    if (at < 0)
        return {};
    switch (GetWhat) {
    case 0:
        return FilePath.left(at + 1);
    case 1:
        return FilePath.mid(at + 1);
    default:
        return {};
    }
}

bool FileExist(const QString& FilePath)
{
    if (FilePath.isEmpty())
        return false;
    const QFileInfo info(FilePath);
    return info.isFile() && info.size() > 0;
}

qsizetype prevPathLength(QStringView FilePath)
{
    // "file://" and the native path; or "file:///", the drive, '|' and the rest.
    return isNativePath(FilePath) ? FileSchemeLength - 1 + FilePath.size()
                                  : FileSchemeLength + FilePath.size();
}

char16_t* writePrevPath(QStringView FilePath, char16_t* out)
{
    if (isNativePath(FilePath)) {
        out = std::copy_n(FileScheme, FileSchemeLength - 1, out);
        return std::copy_n(FilePath.utf16(), FilePath.size(), out);
    }
    out = std::copy_n(FileScheme, FileSchemeLength, out);
    *out++ = FilePath[0].unicode();
    *out++ = u'|';
    for (const QChar c : FilePath.sliced(2))
        *out++ = c == u'\\' ? u'/' : c.unicode();
    return out;
}

std::optional<QString> GetPrevPath(const QString& FilePath)
{
    if (FilePath.size() < 2)
        return std::nullopt;
    QString address(prevPathLength(FilePath), Qt::Uninitialized);
    writePrevPath(FilePath, reinterpret_cast<char16_t*>(address.data()));
    return address;
}
