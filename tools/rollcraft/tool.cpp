// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "console.h"

namespace {

const char Usage[] =
    "Usage: rollcraft COMMAND [OPTIONS] ...\n"
    "\n"
    "Companion tool of the Rollcraft II plug-in.\n"
    "\n"
    "Commands:\n"
    "  host      play the host application: start the plug-in and receive its page\n"
    "  render    write the page for a data file (.rk2) to standard output\n"
    "  check     list a data file's buttons and missing images, warn what breaks its page\n"
    "  copy-images  copy every image a data file refers to into one folder\n"
    "  draw      draw every button's pictures from its name and Alt text, at 1x and 2x\n"
    "\n"
    "'rollcraft COMMAND --help' describes each command; 'rollcraft --version' prints the\n"
    "version.\n";

} // namespace

int runTool(QStringList arguments)
{
    if (arguments.isEmpty()) {
        writeErr(QString::fromLatin1(Usage));
        return Exit::Usage;
    }
    const QString command = arguments.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        writeOut(QString::fromLatin1(Usage));
        return finishOutput({}, Exit::Ok);
    }
    if (command == QLatin1String("--version")) {
        writeOut(QStringLiteral("rollcraft (Rollcraft II) " ROLLCRAFT_VERSION "\n"));
        return finishOutput({}, Exit::Ok);
    }
    if (command == QLatin1String("render"))
        return finishOutput(command, runRender(arguments));
    if (command == QLatin1String("check"))
        return finishOutput(command, runCheck(arguments));
    if (command == QLatin1String("host"))
        return finishOutput(command, runHost(arguments));
    if (command == QLatin1String("copy-images"))
        return finishOutput(command, runCopyImages(arguments));
    if (command == QLatin1String("draw"))
        return finishOutput(command, runDraw(arguments));
    writeErr(QStringLiteral("rollcraft: unknown command '%1'\n\n").arg(command) +
             QString::fromLatin1(Usage));
    return Exit::Usage;
}
