// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer: the reader survives any bytes, what it reads comes back field for
// field after a save, each classic page built from it has exactly its line
// count, no text of it adds a script to the modern page or the fragment, and
// every picture of it that a copy writes lands directly inside the
// destination folder.
#include "datafile.h"
#include "imagecopy.h"
#include "modernpage.h"
#include "pagegenerator.h"

#include <QDir>
#include <QFileInfo>

#include <cstdint>
#include <cstdlib>

namespace {

class Replace final : public CopyQuestions {
public:
    Answer overwrite(const QString&) override { return Answer::Yes; }
    bool progress(int, int) override { return true; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const DataFileReadResult read = readDataFile(bytes);
    if (read.buttons.size() > MaxButtons || (!read.ok && read.errorLine < 1))
        std::abort();

    // Saved and read again, every field of every button comes back as it was.
    const std::optional<QByteArray> saved = writeDataFile(read.DefaultDescriptionImage, read.buttons);
    if (!saved)
        std::abort();
    const DataFileReadResult again = readDataFile(*saved);
    if (!again.ok || again.buttons != read.buttons || again.DefaultDescriptionImage != read.DefaultDescriptionImage)
        std::abort();

    const ButtonSet set = toButtonSet(read);
    const int n = leadingButtonCount(set);
    for (PageMode mode : {PageMode::Page, PageMode::Preview}) {
        const QString page = buildPage(set, mode);
        if (page.count(QLatin1String("\r\n")) != pageLineCount(n) || page.count(QLatin1Char('\n')) != pageLineCount(n))
            std::abort();
        ModernPageOptions options;
        options.mode = mode;
        options.lang = QStringLiteral("en");
        options.title = read.DefaultDescriptionImage;
        for (const QString& path : modernPagePictures(set))
            options.sizes.insert(path, QSize(159, 25));
        const QString modern = buildModernPage(set, options);
        if (!modern.endsWith(QLatin1String("</html>\n")) || modern.contains(QLatin1String("<script")))
            std::abort();
        // The fragment, with the texts as its own options too, stays one element.
        options.fragment = true;
        options.classPrefix = options.current = options.label = options.lang = read.DefaultDescriptionImage;
        options.hiDpi = QSet<QString>(options.sizes.keyBegin(), options.sizes.keyEnd());
        const QString fragment = buildModernPage(set, options);
        if (!fragment.startsWith(QLatin1String("<div class=\"")) ||
            !fragment.endsWith(QLatin1String("</div>\n</div>\n")) || fragment.contains(QLatin1String("<script")))
            std::abort();
    }

    // What the copy would write, recorded instead of written.
    const QString folder = QStringLiteral("/dest/");
    Replace replace;
    static_cast<void>(copyImages(imagesToCopy(set, read.DefaultDescriptionImage), folder, ExistingImages::Replace,
                                 replace, [folder](const QString&, const QString& target, const CopyStop&) {
                                     const QString clean = QDir::cleanPath(target);
                                     if (QFileInfo(clean).path() != QDir::cleanPath(folder) || clean != target ||
                                         target.contains(QChar(0)))
                                         std::abort();
                                     return std::optional<CopyFailure>();
                                 }));
    return 0;
}
