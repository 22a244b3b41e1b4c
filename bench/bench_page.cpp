// SPDX-License-Identifier: GPL-3.0-or-later
// Generating the page for 100 buttons, classic, modern and the modern fragment
// (every picture with one of twice the size), each against a fixed bound; and
// reading the sizes of 301 pictures from their headers, beside opening and
// reading the first 4 KB of each file.
#include "modernpage.h"
#include "pagegenerator.h"
#include "picturesizes.h"

#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

ButtonSet fullSet()
{
    ButtonSet set;
    for (int i = 0; i < MaxButtons; ++i) {
        ButtonRecord& b = set.Buttons[i];
        b.Name = QStringLiteral("Button%1").arg(i + 1);
        b.Url = QStringLiteral("pages/section%1/index.html").arg(i);
        b.Target = i % 2 ? QStringLiteral("_blank") : QString();
        b.Alt = QStringLiteral("Go to section %1").arg(i);
        b.ImagePathPrefix = QStringLiteral("img/menu");
        b.MouseOutImage = QStringLiteral("C:\\site\\pics\\menu\\out%1.gif").arg(i);
        b.MouseOverImage = QStringLiteral("C:\\site\\pics\\menu\\over%1.gif").arg(i);
        b.DescriptionImage = QStringLiteral("C:\\site\\pics\\menu\\desc%1.jpg").arg(i);
    }
    set.DefaultDescriptionImage = QStringLiteral("C:\\site\\pics\\menu\\default.jpg");
    return set;
}

void BM_BuildPage100(benchmark::State& state)
{
    const ButtonSet set = fullSet();
    for (auto _ : state)
        benchmark::DoNotOptimize(buildPage(set, PageMode::Page));
}

void BM_BuildPreview100(benchmark::State& state)
{
    const ButtonSet set = fullSet();
    for (auto _ : state)
        benchmark::DoNotOptimize(buildPage(set, PageMode::Preview));
}

ModernPageOptions modernOptions(const ButtonSet& set)
{
    ModernPageOptions options;
    options.lang = QStringLiteral("en");
    options.title = QStringLiteral("ButtonMenu");
    for (const QString& path : modernPagePictures(set)) {
        options.sizes.insert(path, QSize(159, 25));
        options.hiDpi.insert(path);
    }
    options.current = QStringLiteral("pages/section99/index.html");
    return options;
}

void BM_BuildModernPage100(benchmark::State& state)
{
    const ButtonSet set = fullSet();
    const ModernPageOptions options = modernOptions(set);
    for (auto _ : state)
        benchmark::DoNotOptimize(buildModernPage(set, options));
}

void BM_BuildModernFragment100(benchmark::State& state)
{
    const ButtonSet set = fullSet();
    ModernPageOptions options = modernOptions(set);
    options.fragment = true;
    for (auto _ : state)
        benchmark::DoNotOptimize(buildModernPage(set, options));
}

// 301 pictures as a full set has them (three a button and the default),
// 159 x 100 of noise, so each file is well over 4 KB.
class Pictures {
public:
    Pictures()
    {
        QImage image(159, 100, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, QRandomGenerator::global()->generate());
        }
        for (int i = 0; i < 3 * MaxButtons + 1; ++i) {
            m_paths += m_dir.filePath(QStringLiteral("picture %1.png").arg(i));
            image.save(m_paths.constLast());
        }
    }
    [[nodiscard]] const QStringList& paths() const { return m_paths; }

private:
    QTemporaryDir m_dir;
    QStringList m_paths;
};

const Pictures& pictures()
{
    static const Pictures made;
    return made;
}

void BM_ReadPictureSizes301(benchmark::State& state)
{
    const QStringList& paths = pictures().paths();
    for (auto _ : state)
        benchmark::DoNotOptimize(readPictureSizes(paths));
}

// The floor: opening each file and reading its first 4 KB.
void BM_ReadFirst4KB301(benchmark::State& state)
{
    const QStringList& paths = pictures().paths();
    for (auto _ : state) {
        for (const QString& path : paths) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                benchmark::DoNotOptimize(file.read(4096));
        }
    }
}

} // namespace

BENCHMARK(BM_BuildPage100);
BENCHMARK(BM_BuildPreview100);
BENCHMARK(BM_BuildModernPage100);
BENCHMARK(BM_BuildModernFragment100);
BENCHMARK(BM_ReadPictureSizes301);
BENCHMARK(BM_ReadFirst4KB301);
BENCHMARK_MAIN();
