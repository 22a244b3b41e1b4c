// SPDX-License-Identifier: GPL-3.0-or-later
#include "webtext.h"

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

bool isUnreserved(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'-' || c == u'.' || c == u'_' || c == u'~';
}

// Appends `text`, the runs `keep` accepts as they are and the others as %XX
// of their UTF-8 bytes. A run is encoded whole, so a surrogate pair stays one
// character.
template <typename Keep> void appendEncoded(QString& out, QStringView text, Keep keep)
{
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype start = i;
        while (i < text.size() && keep(text[i].unicode()))
            ++i;
        out += text.sliced(start, i - start);
        const qsizetype encodedStart = i;
        while (i < text.size() && !keep(text[i].unicode()))
            ++i;
        if (i == encodedStart)
            continue;
        for (const char byte : text.sliced(encodedStart, i - encodedStart).toUtf8()) {
            const auto b = static_cast<unsigned char>(byte);
            const char escape[] = {'%', HexDigits[b >> 4], HexDigits[b & 0xF]};
            out += QLatin1StringView(escape, sizeof escape);
        }
    }
}

} // namespace

void appendHtmlEscaped(QString& out, QStringView text)
{
    qsizetype done = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QStringView reference;
        switch (text[i].unicode()) {
        case u'&':
            reference = u"&amp;";
            break;
        case u'<':
            reference = u"&lt;";
            break;
        case u'>':
            reference = u"&gt;";
            break;
        case u'"':
            reference = u"&quot;";
            break;
        case u'\'':
            reference = u"&#39;";
            break;
        default:
            continue;
        }
        out += text.sliced(done, i - done);
        out += reference;
        done = i + 1;
    }
    out += text.sliced(done);
}

void appendPercentEncoded(QString& out, QStringView text, QStringView keep)
{
    appendEncoded(out, text,
                  [keep](char16_t c) { return isUnreserved(c) || keep.contains(QChar(c)); });
}

void appendUrlCleaned(QString& out, QStringView url)
{
    appendEncoded(out, url, [](char16_t c) {
        switch (c) {
        case u'"':
        case u'<':
        case u'>':
        case u'\\':
        case u'^':
        case u'`':
        case u'{':
        case u'|':
        case u'}':
        case 0x7F:
            return false;
        default:
            return c > 0x20;
        }
    });
}
