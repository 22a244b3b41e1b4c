// SPDX-License-Identifier: GPL-3.0-or-later
// Switching between two buttons whose three previews are 12-megapixel JPEGs
// (4000 x 3000, as a phone takes them), beside decoding those three files
// whole once: what each switch cost while previews kept whole pictures.
#include "buttonlist.h"
#include "previewdecoder.h"
#include "windowdriver.h"

#include <QApplication>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QTemporaryDir* g_images = nullptr;

QString picture(int i)
{
    return g_images->filePath(QStringLiteral("p%1.jpg").arg(i));
}

void makePictures()
{
    QRandomGenerator random(7);
    for (int i = 0; i < 6; ++i) {
        QImage image(4000, 3000, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = qRgb((x + i * 40) & 255, (y * 3) & 255, random.bounded(64) + i * 20);
        }
        image.save(picture(i), "JPG", 90);
    }
}

// Picks a button as the list does and waits just until its previews are
// decoded: the driver's own wait looks only every 50 ms.
void pick(WindowFixture& f, int index)
{
    auto* list = f.control<ButtonList>(QStringLiteral("Combo1"));
    list->setCurrentIndex(index);
    emit list->activated(index);
    const QList<PreviewDecoder*> decoders = f.window.findChildren<PreviewDecoder*>();
    while (std::ranges::any_of(decoders, &PreviewDecoder::pending))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BM_SwitchButtons(benchmark::State& state)
{
    WindowFixture f;
    for (int b = 0; b < 2; ++b) {
        f.add(QStringLiteral("B%1").arg(b));
        for (int field = 0; field < 3; ++field)
            f.type(field, picture(b * 3 + field));
    }
    int next = 0;
    for (auto _ : state) {
        pick(f, next);
        next = 1 - next;
    }
}

void BM_DecodeThreeJpegs(benchmark::State& state)
{
    for (auto _ : state) {
        for (int i = 0; i < 3; ++i) {
            QImageReader reader(picture(i));
            benchmark::DoNotOptimize(reader.read());
        }
    }
}

} // namespace

BENCHMARK(BM_SwitchButtons)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeThreeJpegs)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    // Settings and pictures live in a folder of their own.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir images;
    g_images = &images;
    makePictures();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
