// SPDX-License-Identifier: GPL-3.0-or-later
#include "pathhelpers.h"

#include <QFileInfo>
#include <QStringBuilder>

bool isNativePath(QStringView FilePath)
{
    return FilePath.startsWith(u'/') && !FilePath.contains(u'\\');
}

namespace {

// Position of the separator that ends the folder part, or -1.
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

} // namespace

QStringView fileNamePart(QStringView FilePath)
{
    const qsizetype at = lastSeparator(FilePath);
    return at < 0 ? QStringView() : FilePath.sliced(at + 1);
}

QString CheckSlash(const QString& FilePath)
{
    return FilePath.isEmpty() || FilePath.endsWith(u'/') ? FilePath : FilePath + u'/';
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

std::optional<QString> GetPrevPath(const QString& FilePath)
{
    // A native path follows "file://" as it is; a drive path becomes
    // "file:///", the drive, '|' and the rest with '/' for '\'.
    if (FilePath.size() < 2)
        return std::nullopt;
    if (isNativePath(FilePath))
        return u"file://" % FilePath;
    return u"file:///" % FilePath.at(0) % u'|' % FilePath.sliced(2).replace(u'\\', u'/');
}
