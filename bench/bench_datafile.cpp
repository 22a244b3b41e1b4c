// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and saving a 100-button data file, beside the floors of reading and
// writing the same bytes.
#include "datafile.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <unistd.h>

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
    QByteArray bytes = *writeDataFile(QStringLiteral("C:\\site\\default.jpg"), buttons);
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
            files.path, *writeDataFile(QStringLiteral("C:\\site\\default.jpg"), files.buttons)));
}

// Writing the same bytes into a new file that is then renamed over the old
// one; `durably` adds the flush to disk before the rename without which a
// crash could leave neither the old file nor the new one.
void writeSameBytes(benchmark::State& state, bool durably)
{
    Files files;
    const QString fresh = files.path + QStringLiteral(".new");
    for (auto _ : state) {
        QFile f(fresh);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
        f.write(files.bytes);
        if (durably)
            ::fdatasync(f.handle());
        f.close();
        ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(files.path).constData());
    }
}

void BM_WriteSameBytes(benchmark::State& state)
{
    writeSameBytes(state, false);
}

void BM_WriteSameBytesDurably(benchmark::State& state)
{
    writeSameBytes(state, true);
}

} // namespace

BENCHMARK(BM_OpenDataFile100);
BENCHMARK(BM_ReadSameBytes);
BENCHMARK(BM_SaveDataFile100);
BENCHMARK(BM_WriteSameBytes);
BENCHMARK(BM_WriteSameBytesDurably);
BENCHMARK_MAIN();
