// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer: the reader survives any bytes, what it reads comes back field for
// field after a save, and each page built from it has exactly its line count.
#include "datafile.h"
#include "pagegenerator.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const DataFileReadResult read = readDataFile(bytes);
    if (read.buttons.size() > MaxButtons || (!read.ok && read.errorLine < 1))
        std::abort();

    // Saved and read again, every field of every button comes back as it was.
    const DataFileReadResult again =
        readDataFile(writeDataFile(read.DefaultDescriptionImage, read.buttons));
    if (!again.ok || again.buttons != read.buttons ||
        again.DefaultDescriptionImage != read.DefaultDescriptionImage)
        std::abort();

    const ButtonSet set = toButtonSet(read);
    const int n = leadingButtonCount(set);
    for (PageMode mode : {PageMode::Page, PageMode::Preview}) {
        const QString page = buildPage(set, mode);
        if (page.count(QLatin1String("\r\n")) != pageLineCount(n) ||
            page.count(QLatin1Char('\n')) != pageLineCount(n))
            std::abort();
    }
    return 0;
}
