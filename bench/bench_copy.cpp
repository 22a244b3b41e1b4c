// SPDX-License-Identifier: GPL-3.0-or-later
// Copying the 301 images a full set can refer to (1 MB each) into an empty
// folder, beside cp copying the same files and sync flushing each of them to
// disk, as every copy of the program is flushed before it replaces anything.
// Each copy is written into an anonymous file, asked between its blocks
// whether to stop, then named and renamed over its target.
#include "imagecopy.h"
#include "pathhelpers.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Images = 301;

class NoQuestions final : public CopyQuestions {
public:
    Answer overwrite(const QString&) override { return Answer::Yes; }
    bool progress(int, int) override { return true; }
};

struct Sources {
    QTemporaryDir dir;
    QList<ImageToCopy> images;
    QStringList paths;
    Sources()
    {
        const QByteArray megabyte(1 << 20, 'x');
        for (int i = 0; i < Images; ++i) {
            const QString path = dir.filePath(QStringLiteral("image%1.jpg").arg(i));
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write(megabyte);
            images.append({path, path});
            paths << path;
        }
    }
};

// Each round copies into a fresh, empty folder; making it is not timed.
template <typename Copy> void timeCopies(benchmark::State& state, Copy copy)
{
    const Sources sources;
    for (auto _ : state) {
        state.PauseTiming();
        auto dest = std::make_unique<QTemporaryDir>();
        state.ResumeTiming();
        copy(sources, dest->path());
        state.PauseTiming();
        dest.reset();
        state.ResumeTiming();
    }
}

void BM_CopyImages301(benchmark::State& state)
{
    timeCopies(state, [](const Sources& s, const QString& dest) {
        NoQuestions questions;
        const CopyRun run =
            copyImages(s.images, CheckSlash(dest), ExistingImages::Replace, questions);
        benchmark::DoNotOptimize(run.copied);
    });
}

void BM_CpSameFiles(benchmark::State& state)
{
    timeCopies(state, [](const Sources& s, const QString& dest) {
        QProcess::execute(QStringLiteral("cp"), QStringList(s.paths) << dest);
    });
}

void BM_CpSameFilesDurably(benchmark::State& state)
{
    timeCopies(state, [](const Sources& s, const QString& dest) {
        QProcess::execute(QStringLiteral("cp"), QStringList(s.paths) << dest);
        QStringList copies;
        for (int i = 0; i < Images; ++i)
            copies << QDir(dest).filePath(QStringLiteral("image%1.jpg").arg(i));
        QProcess::execute(QStringLiteral("sync"), copies);
    });
}

} // namespace

BENCHMARK(BM_CopyImages301)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CpSameFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CpSameFilesDurably)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
