// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "console.h"
#include "hostsession.h"
#include "modernoptions.h"
#include "privatebus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QEventLoop>
#include <QStandardPaths>

namespace {

// Whether starting the plug-in here would find no display to open its
// window on (a platform that draws nowhere, such as offscreen, needs none).
bool needsDisplay()
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    return qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           !platform.startsWith(QLatin1String("offscreen")) &&
           !platform.startsWith(QLatin1String("minimal"));
}

} // namespace

int runHost(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays the host application: starts the plug-in with -startplugin (or attaches to the "
        "one running), follows its SCRIPT, SCRIPTTYPE and PREVIEW fields over the session bus, "
        "writes the preview page on every preview request, and when the plug-in ends writes "
        "the inserted page and prints its title; with --modern it writes the modern page (or with "
        "--fragment the menu alone) of the set the plug-in published with it instead, and the "
        "previews stay the plug-in's own. Where no session bus runs, a private one is "
        "started for the plug-in.\n\nExit status: 0 a page was inserted, 1 the plug-in ended "
        "without inserting, 2 any other failure (the plug-in could not be started or was "
        "killed, it could not take its bus name, the page it inserted did not come over the "
        "bus, or there is no display), 64 wrong usage."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Write the inserted page to FILE (UTF-8 "
                                                   "with a byte-order mark) instead of standard "
                                                   "output."),
                                    QStringLiteral("FILE"));
    // A desktop entry cannot name the home folder, so --documents names this one.
    const QString documents =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath(QStringLiteral("Rollcraft"));
    const QCommandLineOption outputDir(
        QStringLiteral("output-dir"),
        QStringLiteral("Write the inserted page to DIR/page-TITLE.html (UTF-8), creating DIR; "
                       "characters a file name cannot hold become '_'."),
        QStringLiteral("DIR"));
    const QCommandLineOption inDocuments(
        QStringLiteral("documents"),
        QStringLiteral("Same as --output-dir %1 (what the desktop's menu entry uses).")
            .arg(QDir::toNativeSeparators(documents)));
    const QCommandLineOption previewDir(
        QStringLiteral("preview-dir"),
        QStringLiteral("Write preview pages to DIR/preview.html (default: "
                       "$XDG_RUNTIME_DIR/rollcraft-preview, made private to you, or a fresh "
                       "private folder under %1 where that cannot be had). A preview that cannot "
                       "be written or opened is said on standard error and, when that is no "
                       "terminal, as a desktop notification.")
            .arg(QDir::toNativeSeparators(QDir::tempPath())),
        QStringLiteral("DIR"));
    const QCommandLineOption open(QStringLiteral("open"),
                                  QStringLiteral("Open each preview, and the inserted page when "
                                                 "it goes to a file, in the desktop's browser."));
    const QCommandLineOption attach(QStringLiteral("attach"),
                                    QStringLiteral("Follow the plug-in already running instead "
                                                   "of starting one."));
    const QCommandLineOption plugin(QStringLiteral("plugin"),
                                    QStringLiteral("The plug-in to start (default: the "
                                                   "rollcraft2 beside this tool)."),
                                    QStringLiteral("PATH"));
    parser.addOptions({output, outputDir, inDocuments, previewDir, open, attach, plugin});
    const ModernPageArguments modern;
    modern.addTo(parser);
    int status = Exit::Ok;
    if (!parseCommand(parser, QStringLiteral("host"), arguments, 0, status))
        return status;
    HostOptions options;
    if (!modern.read(parser, QStringLiteral("host"), options.delivery.modern))
        return Exit::Usage;
    if (int(parser.isSet(output)) + int(parser.isSet(outputDir)) + int(parser.isSet(inDocuments)) >
        1) {
        writeErr(QStringLiteral("rollcraft host: -o, --output-dir and --documents exclude each "
                                "other\n"));
        return Exit::Usage;
    }

    options.delivery.outputFile = parser.value(output);
    options.delivery.outputDir = parser.isSet(inDocuments) ? documents : parser.value(outputDir);
    options.delivery.previewDir = parser.value(previewDir);
    options.delivery.openPages = parser.isSet(open);
    options.attach = parser.isSet(attach);
    options.pluginPath =
        parser.isSet(plugin)
            ? parser.value(plugin)
            : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("rollcraft2"));

    if (!options.attach && needsDisplay()) {
        writeErr(QStringLiteral("rollcraft host: the plug-in needs a display, and neither DISPLAY "
                                "nor WAYLAND_DISPLAY is set.\n'rollcraft render' writes the page "
                                "for a data file without one.\n"));
        return Exit::Failure;
    }

    PrivateBus privateBus;
    QDBusConnection bus = QDBusConnection::sessionBus();
    QString busAddress;
    if (!bus.isConnected()) {
        if (options.attach) {
            writeErr(QStringLiteral("rollcraft host: no session bus to attach to\n"));
            return Exit::Failure;
        }
        QString error;
        if (!privateBus.start(error)) {
            writeErr(QStringLiteral("rollcraft host: no session bus, and %1\n").arg(error));
            return Exit::Failure;
        }
        busAddress = privateBus.address();
        bus = QDBusConnection::connectToBus(busAddress, QStringLiteral("rollcraft-host"));
        if (!bus.isConnected()) {
            writeErr(QStringLiteral("rollcraft host: cannot reach the private bus\n"));
            return Exit::Failure;
        }
        writeErr(QStringLiteral("rollcraft host: no session bus; started a private one\n"));
    }

    HostSession session(bus, busAddress, options);
    QEventLoop loop;
    QObject::connect(&session, &HostSession::finished, &loop, &QEventLoop::exit);
    // Begun from the loop: a session that fails at once must find it running.
    QMetaObject::invokeMethod(&session, &HostSession::begin, Qt::QueuedConnection);
    return loop.exec();
}
