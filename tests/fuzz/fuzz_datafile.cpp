// libFuzzer target: the data-file reader must survive any bytes, and what it
// reads must write, read back and render without surprises.
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

    // Written again and read back, a set read without error is the same set.
    if (read.ok) {
        const DataFileReadResult again =
            readDataFile(writeDataFile(read.DefaultDescriptionImage, read.buttons));
        if (!again.ok || again.buttons.size() != read.buttons.size())
            std::abort();
    }
    const ButtonSet set = toButtonSet(read);
    const int n = leadingButtonCount(set);
    for (PageMode mode : {PageMode::Page, PageMode::Preview}) {
        const QString page = buildPage(set, mode);
        if (page.count(QLatin1String("\r\n")) < pageLineCount(n))
            std::abort();
    }
    return 0;
}
