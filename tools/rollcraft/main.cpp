// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"

#include <QGuiApplication>

#include <cstring>
#include <memory>

int main(int argc, char* argv[])
{
    // Drawing needs fonts and a painter, never a display.
    const bool drawing = argc > 1 && std::strcmp(argv[1], "draw") == 0;
    if (drawing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The command reads every argument itself: QGuiApplication would take
    // Qt's own options (--style, --platform, ...) out of the command line.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    int programOnly = 1;
    const std::unique_ptr<QCoreApplication> app =
        drawing ? std::make_unique<QGuiApplication>(programOnly, argv)
                : std::make_unique<QCoreApplication>(argc, argv);
    return runTool(arguments);
}
