// Opening and saving a 100-button data file, beside the floors of reading and
// writing the same bytes.
#include "datafile.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QList<ButtonRecord> hundredButtons()
{
    QList<ButtonRecord> buttons;
    for (int i = 0; i < MaxButtons; ++i) {
        ButtonRecord b;
        b.Name = QStringLiteral("Button%1").arg(i);
        b.Url = QStringLiteral("pages/section%1/index.html").arg(i);
        b.Alt = QStringLiteral("Go to section %1").arg(i);
        b.ImagePathPrefix = QStringLiteral("img/menu");
        b.MouseOutImage = QStringLiteral("C:\\site\\pics\\menu\\out%1.gif").arg(i);
        b.MouseOverImage = QStringLiteral("C:\\site\\pics\\menu\\over%1.gif").arg(i);
        b.DescriptionImage = QStringLiteral("C:\\site\\pics\\menu\\desc%1.jpg").arg(i);
        buttons << b;
    }
    return buttons;
}

struct Files {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("menu.rk2"));
    QList<ButtonRecord> buttons = hundredButtons();
    QByteArray bytes = writeDataFile(QStringLiteral("C:\\site\\default.jpg"), buttons);
    Files()
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
};

void BM_OpenDataFile100(benchmark::State& state)
{
    Files files;
    for (auto _ : state)
        benchmark::DoNotOptimize(readDataFileAt(files.path));
}

void BM_ReadSameBytes(benchmark::State& state)
{
    Files files;
    for (auto _ : state) {
        QFile f(files.path);
        f.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(f.readAll());
    }
}

void BM_SaveDataFile100(benchmark::State& state)
{
    Files files;
    for (auto _ : state)
        benchmark::DoNotOptimize(saveFileAtomically(
            files.path, writeDataFile(QStringLiteral("C:\\site\\default.jpg"), files.buttons)));
}

// The floor writes the same bytes the same safe way: a new file, renamed over.
void BM_WriteSameBytes(benchmark::State& state)
{
    Files files;
    for (auto _ : state) {
        QFile f(files.path + QStringLiteral(".new"));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(files.bytes);
        f.close();
        QFile::remove(files.path);
        QFile::rename(files.path + QStringLiteral(".new"), files.path);
    }
}

} // namespace

BENCHMARK(BM_OpenDataFile100);
BENCHMARK(BM_ReadSameBytes);
BENCHMARK(BM_SaveDataFile100);
BENCHMARK(BM_WriteSameBytes);
BENCHMARK_MAIN();
