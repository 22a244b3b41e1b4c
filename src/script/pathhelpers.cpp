#include "pathhelpers.h"

#include <QFileInfo>

bool isNativePath(const QString& FilePath)
{
    return FilePath.startsWith(QLatin1Char('/')) && !FilePath.contains(QLatin1Char('\\'));
}

QString CheckSlash(const QString& FilePath)
{
    if (FilePath.isEmpty() || FilePath.endsWith(QLatin1Char('/')))
        return FilePath;
    return FilePath + QLatin1Char('/');
}

QString GetFilenameOrFilePathFromString(const QString& FilePath, int GetWhat)
{
    const QChar separator = isNativePath(FilePath) ? QLatin1Char('/') : QLatin1Char('\\');
    const qsizetype at = FilePath.lastIndexOf(separator);
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
    if (FilePath.size() < 2)
        return std::nullopt;
    if (isNativePath(FilePath))
        return QStringLiteral("file://") + FilePath;
    QString rest = FilePath.mid(2);
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QStringLiteral("file:///") + FilePath.at(0) + QLatin1Char('|') + rest;
}
