// SPDX-License-Identifier: GPL-3.0-or-later
#include "codepage.h"

#include <algorithm>
#include <array>

namespace {

// Bytes 0x80..0x9F; the rest of the code page matches Latin-1.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char Utf8Mark[] = "\xEF\xBB\xBF";

// The byte for `c`, or -1 when the code page cannot hold it.
int encodeOne(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == c)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

} // namespace

QString decodeWindows1252(QByteArrayView bytes)
{
    const bool latin1 = std::none_of(bytes.begin(), bytes.end(), [](char b) {
        const auto u = static_cast<unsigned char>(b);
        return u >= 0x80 && u < 0xA0;
    });
    if (latin1)
        return QString::fromLatin1(bytes);
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = (u >= 0x80 && u < 0xA0) ? QChar(HighControls[u - 0x80]) : QChar(u);
    }
    return text;
}

bool appendWindows1252(QByteArray& bytes, QStringView text)
{
    const qsizetype start = bytes.size();
    bytes.resize(start + text.size());
    char* out = bytes.data() + start;
    for (const QChar c : text) {
        const int b = encodeOne(c.unicode());
        if (b < 0) {
            bytes.truncate(start);
            return false;
        }
        *out++ = static_cast<char>(b);
    }
    return true;
}

bool startsWithUtf8Mark(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView(Utf8Mark, 3));
}

QByteArray encodeTextFile(QStringView text)
{
    QByteArray bytes;
    if (appendWindows1252(bytes, text))
        return bytes;
    return QByteArray(Utf8Mark, 3) + text.toUtf8();
}
