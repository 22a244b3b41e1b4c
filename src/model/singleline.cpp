// SPDX-License-Identifier: GPL-3.0-or-later
#include "singleline.h"

namespace {

bool isBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

} // namespace

QString singleLine(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && isBreak(text[end - 1]))
        --end;
    QString line;
    line.reserve(end);
    for (qsizetype i = 0; i < end; ++i) {
        // CR LF is one break: its LF gives the blank.
        if (text[i] == u'\r' && i + 1 < end && text[i + 1] == u'\n')
            continue;
        line += isBreak(text[i]) ? QChar(u' ') : text[i];
    }
    return line;
}
