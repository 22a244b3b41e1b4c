// SPDX-License-Identifier: GPL-3.0-or-later
// Peak resident memory, in kB, of the plug-in's window holding 100 buttons
// (every button visited once) whose pictures are 12-megapixel photos
// (4000 x 3000) or small pictures (200 x 200), or of a bare Qt Widgets
// window of the same size: memory_probe large|small|bare.
// Prints one line of Google Benchmark JSON for bench/compare.py.
#include "windowdriver.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Forgets the peak so far: making the pictures is not the window's memory.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void hundredButtons(const QTemporaryDir& dir, QSize size)
{
    QStringList pictures;
    for (int i = 0; i < 4; ++i) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor::fromHsv(i * 80, 200, 200));
        pictures << dir.filePath(QStringLiteral("p%1.jpg").arg(i));
        image.save(pictures.constLast(), "JPG", 90);
    }
    QByteArray data = "[COMMON]\r\n" + pictures[3].toUtf8() + "\r\n";
    for (int b = 0; b < 100; ++b)
        data += "[Button]\r\nButton " + QByteArray::number(b) + "\r\n" + pictures[0].toUtf8() +
                "\r\n" + pictures[1].toUtf8() + "\r\n" + pictures[2].toUtf8() +
                "\r\npage.htm\r\n#\r\nalt\r\nimg\r\n";
    QFile file(dir.filePath(QStringLiteral("set.rk2")));
    file.open(QIODevice::WriteOnly);
    file.write(data);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QByteArray mode = argc > 1 ? argv[1] : "bare";
    QTemporaryDir dir;
    std::unique_ptr<WindowFixture> f;
    QWidget bare;
    if (mode == "large" || mode == "small") {
        hundredButtons(dir, mode == "large" ? QSize(4000, 3000) : QSize(200, 200));
        resetPeak();
        f = std::make_unique<WindowFixture>();
        f->window.show();
        f->folder.setPath(dir.path());
        f->open(QStringLiteral("set.rk2"));
        for (int b = 0; b < 100; ++b) {
            f->pick(b);
            settle();
        }
    } else {
        bare.resize(522, 447);
        bare.show();
        settle();
    }
    const char* name = mode == "large"   ? "BM_LargePicturesPeakMemory"
                       : mode == "small" ? "BM_SmallPicturesPeakMemory"
                                         : "BM_BareWindowPeakMemory";
    std::printf("{\"benchmarks\": [{\"name\": \"%s\", \"peak_kb\": %ld}]}\n", name, peakKb());
    return 0;
}
