// SPDX-License-Identifier: GPL-3.0-or-later
#include "webtext.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {

constexpr char16_t HexDigits[] = u"0123456789ABCDEF";

// Which ASCII characters a rule keeps, looked up in one step.
class AsciiSet {
public:
    constexpr AsciiSet(std::u16string_view members)
    {
        for (const char16_t c : members)
            m_bits[c / 64] |= std::uint64_t(1) << (c % 64);
    }
    [[nodiscard]] constexpr bool contains(char16_t c) const
    {
        return c < 128 && (m_bits[c / 64] >> (c % 64) & 1);
    }

private:
    std::uint64_t m_bits[2] = {};
};

// `text` with the runs `keep` refuses as %XX of their UTF-8 bytes. A run is
// encoded whole, so a surrogate pair stays one character.
template <typename Keep> QStringView encoded(QStringView text, QString& room, Keep keep)
{
    const auto refused = [&keep](QChar c) { return !keep(c.unicode()); };
    qsizetype i = std::find_if(text.begin(), text.end(), refused) - text.begin();
    if (i == text.size())
        return text;
    room.truncate(0);
    room += text.first(i);
    while (i < text.size()) {
        const qsizetype start = i;
        while (i < text.size() && !keep(text[i].unicode()))
            ++i;
        for (const char byte : text.sliced(start, i - start).toUtf8()) {
            const auto b = static_cast<unsigned char>(byte);
            const char16_t escape[] = {u'%', HexDigits[b >> 4], HexDigits[b & 0xF]};
            room += QStringView(escape, 3);
        }
        const qsizetype kept = i;
        while (i < text.size() && keep(text[i].unicode()))
            ++i;
        room += text.sliced(kept, i - kept);
    }
    return room;
}

QStringView characterReference(char16_t c)
{
    switch (c) {
    case u'&':
        return u"&amp;";
    case u'<':
        return u"&lt;";
    case u'>':
        return u"&gt;";
    case u'"':
        return u"&quot;";
    case u'\'':
        return u"&#39;";
    default:
        return {};
    }
}

} // namespace

QStringView htmlEscaped(QStringView text, QString& room)
{
    static constexpr AsciiSet Special(u"&<>\"'");
    const auto special = [](QChar c) { return Special.contains(c.unicode()); };
    const qsizetype first = std::find_if(text.begin(), text.end(), special) - text.begin();
    if (first == text.size())
        return text;
    room.truncate(0);
    qsizetype done = 0;
    for (qsizetype i = first; i < text.size(); ++i) {
        if (!special(text[i]))
            continue;
        const QStringView reference = characterReference(text[i].unicode());
        room += text.sliced(done, i - done);
        room += reference;
        done = i + 1;
    }
    room += text.sliced(done);
    return room;
}

QStringView percentEncoded(QStringView text, PercentKeeps keep, QString& room)
{
    // Sub-delimiters a path segment may hold as they are, and with them the
    // separators a folder or an address keeps.
    static constexpr AsciiSet InName(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                     u"0123456789-._~@!$()*+,;=");
    static constexpr AsciiSet InFolder(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                       u"0123456789-._~@!$()*+,;=/:");
    static constexpr AsciiSet InAddress(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                        u"0123456789-._~/:|");
    const AsciiSet& kept = keep == PercentKeeps::Name     ? InName
                           : keep == PercentKeeps::Folder ? InFolder
                                                          : InAddress;
    return encoded(text, room, [&kept](char16_t c) { return kept.contains(c); });
}

QStringView urlCleaned(QStringView url, QString& room)
{
    return encoded(url, room, [](char16_t c) {
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
