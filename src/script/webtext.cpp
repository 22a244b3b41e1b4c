// SPDX-License-Identifier: GPL-3.0-or-later
#include "webtext.h"

#include <QByteArray>
#include <QUrl>

QString htmlEscaped(const QString& text)
{
    return text.toHtmlEscaped().replace(u'\'', QStringLiteral("&#39;"));
}

QString percentEncoded(const QString& text, PercentKeeps keep)
{
    static const QByteArray Kept[] = {"@!$()*+,;=", "@!$()*+,;=/:", "/:|"};
    return QString::fromLatin1(QUrl::toPercentEncoding(text, Kept[int(keep)]));
}

QString urlCleaned(const QString& url)
{
    // Every byte but the controls and the refused ASCII, so that the UTF-8 of
    // a letter outside ASCII stays as it is.
    static const QByteArray Kept = [] {
        QByteArray kept;
        for (int c = 0x21; c < 0x100; ++c) {
            if (c != 0x7F && !QByteArrayView("\"<>\\^`{|}").contains(char(c)))
                kept += char(c);
        }
        return kept;
    }();
    // toPercentEncoding encodes its escape character wherever it stands, so a
    // NUL, itself encoded in any case, stands for '%' until the end.
    return QString::fromUtf8(url.toUtf8().toPercentEncoding(Kept, {}, '\0').replace('\0', '%'));
}
