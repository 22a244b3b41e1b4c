// SPDX-License-Identifier: GPL-3.0-or-later
#include "webtext.h"

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

bool isUnreserved(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'.' || c == u'_' || c == u'~';
}

// Appends the runs of `text` that `keep` rejects as %XX of their UTF-8 bytes.
// A run is encoded whole, so a surrogate pair stays one character.
template <typename Keep> void appendEncoded(QString& out, QStringView text, Keep keep)
{
    qsizetype i = 0;
    while (i < text.size()) {
        if (keep(text[i].unicode())) {
            out += text[i++];
            continue;
        }
        const qsizetype start = i;
        while (i < text.size() && !keep(text[i].unicode()))
            ++i;
        for (const char byte : text.sliced(start, i - start).toUtf8()) {
            const auto b = static_cast<unsigned char>(byte);
            out += u'%';
            out += QLatin1Char(HexDigits[b >> 4]);
            out += QLatin1Char(HexDigits[b & 0xF]);
        }
    }
}

} // namespace

void appendHtmlEscaped(QString& out, QStringView text)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += u"&amp;";
            break;
        case u'<':
            out += u"&lt;";
            break;
        case u'>':
            out += u"&gt;";
            break;
        case u'"':
            out += u"&quot;";
            break;
        case u'\'':
            out += u"&#39;";
            break;
        default:
            out += c;
        }
    }
}

void appendPercentEncoded(QString& out, QStringView text, QStringView keep)
{
    appendEncoded(out, text, [keep](char16_t c) { return isUnreserved(c) || keep.contains(c); });
}

void appendUrlCleaned(QString& out, QStringView url)
{
    appendEncoded(out, url, [](char16_t c) {
        return c > 0x20 && c != 0x7F && !QStringView(u"\"<>\\^`{|}").contains(c);
    });
}
