// SPDX-License-Identifier: GPL-3.0-or-later
#include "pathhelpers.h"

#include <QFileInfo>
#include <QStringBuilder>

#include <algorithm>

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

void appendPrevPath(QString& text, QStringView FilePath)
{
    // A native path follows "file://" as it is; a drive path becomes
    // "file:///", the drive, '|' and the rest with '/' for '\'.
    if (isNativePath(FilePath)) {
        text += u"file://" % FilePath;
        return;
    }
    text += u"file:///" % FilePath.at(0) % u'|';
    const qsizetype rest = text.size();
    text += FilePath.sliced(2);
    std::replace(text.begin() + rest, text.end(), u'\\', u'/');
}

std::optional<QString> GetPrevPath(const QString& FilePath)
{
    if (FilePath.size() < 2)
        return std::nullopt;
    QString address;
    appendPrevPath(address, FilePath);
    return address;
}
