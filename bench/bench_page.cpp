// SPDX-License-Identifier: GPL-3.0-or-later
// Generating the page for 100 buttons, beside the floor of copying a
// finished page of the same length.
#include "pagegenerator.h"

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

// The floor: one deep copy of a finished page of the same length.
void BM_CopyFinishedPage(benchmark::State& state)
{
    const QString page = buildPage(fullSet(), PageMode::Page);
    for (auto _ : state) {
        QString copy(page.constData(), page.size());
        benchmark::DoNotOptimize(copy.data());
    }
}

} // namespace

BENCHMARK(BM_BuildPage100);
BENCHMARK(BM_BuildPreview100);
BENCHMARK(BM_CopyFinishedPage);
BENCHMARK_MAIN();
