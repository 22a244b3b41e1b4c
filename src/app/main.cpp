// SPDX-License-Identifier: GPL-3.0-or-later
#include "hostlink.h"
#include "imagecopy.h"
#include "qtdialogs.h"
#include "twkplugin.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    // The host starts the plug-in with exactly this one argument; started any
    // other way it ends at once, without a window and without a word.
    if (argc != 2 || std::strcmp(argv[1], "-startplugin") != 0)
        return 0;

    // A logout or a closed terminal takes no half-made picture copy with it.
    removeCopyTemporaryOnSignals();
    // The window carries the menu entry's name, as the entry's StartupWMClass
    // says, so a dock finds the entry's icon: as its Wayland app id, and as
    // its X11 resource name (WM_CLASS; Qt reads it as the application starts).
    const char* const desktopFileName = "org.tarnwick.plugin.rollcraft2";
    if (!qEnvironmentVariableIsSet("RESOURCE_NAME"))
        qputenv("RESOURCE_NAME", desktopFileName);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Rollcraft II"));
    QGuiApplication::setDesktopFileName(QLatin1String(desktopFileName));
    QtDialogs dialogs;
    TWKPLUGIN window(dialogs);
    const auto* link = new HostLink(window.exchange(), &window);
    // Unlinked, its page would reach nobody: end before the window opens.
    if (!link->isLinked()) {
        std::fprintf(stderr,
                     "rollcraft2: cannot own the bus name %s on the session bus (no session "
                     "bus, or another plug-in holds it); not starting\n",
                     qPrintable(link->busName()));
        return 2;
    }
    QObject::connect(&window, &TWKPLUGIN::closed, &app, &QCoreApplication::quit);
    window.show();
    return QApplication::exec();
}
