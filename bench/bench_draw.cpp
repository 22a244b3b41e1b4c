// SPDX-License-Identifier: GPL-3.0-or-later
// `rollcraft draw` on a set of 100 buttons, the whole command as a user runs
// it (start, fonts, 301 pictures at 1x and at 2x, the data file), beside the
// floor of saving the same 602 pictures as PNG files of one colour, in this
// process, without text or shapes.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A 100-button data file with names and Alt texts of a real menu's lengths.
class HundredButtons {
public:
    HundredButtons()
    {
        QByteArray bytes = "[COMMON]\r\n#\r\n";
        for (int i = 1; i <= 100; ++i)
            bytes +=
                QStringLiteral("[Button]\r\nSection %1\r\n#\r\n#\r\n#\r\npages/s%1.html\r\n#\r\n"
                               "Go to section %1 of the site\r\nimg\r\n")
                    .arg(i)
                    .toLatin1();
        QFile file(path());
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    [[nodiscard]] QString path() const { return m_dir.filePath(QStringLiteral("set.rk2")); }
    [[nodiscard]] QString pictures() const { return m_dir.filePath(QStringLiteral("pictures")); }

    // Draws the set once; false when the command failed.
    [[nodiscard]] bool draw() const
    {
        const QString rollcraft = QDir(QCoreApplication::applicationDirPath())
                                      .filePath(QStringLiteral("../bin/rollcraft"));
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(rollcraft, {QStringLiteral("draw"), path(), pictures(), QStringLiteral("-o"),
                                  m_dir.filePath(QStringLiteral("out.rk2"))});
        return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

private:
    QTemporaryDir m_dir;
};

const HundredButtons& set()
{
    static const HundredButtons made;
    return made;
}

void BM_DrawCommand100(benchmark::State& state)
{
    for (auto _ : state) {
        if (!set().draw()) {
            state.SkipWithError("rollcraft draw failed");
            return;
        }
    }
}

// The floor: the same number of PNG files of the same sizes, one colour each.
void BM_SavePlainPictures(benchmark::State& state)
{
    if (!set().draw()) {
        state.SkipWithError("rollcraft draw failed");
        return;
    }
    QList<QSize> sizes;
    for (QDirIterator it(set().pictures(), {QStringLiteral("*.png")}, QDir::Files); it.hasNext();)
        sizes << QImageReader(it.next()).size();
    QTemporaryDir out;
    for (auto _ : state) {
        for (qsizetype i = 0; i < sizes.size(); ++i) {
            QImage image(sizes[i], QImage::Format_ARGB32_Premultiplied);
            image.fill(0xFF1F3A5F);
            image.save(out.filePath(QStringLiteral("%1.png").arg(i)));
        }
    }
}

} // namespace

BENCHMARK(BM_DrawCommand100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SavePlainPictures)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
