// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "console.h"
#include "modernoptions.h"
#include "pagegenerator.h"

int runRender(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes to standard output (or to the file given with -o), in UTF-8, the "
                       "page that \"Insert script\" would "
                       "publish for the button set in FILE.\n\nA FILE that exists is read as "
                       "given, another name gets \".rk2\" added, and \"-\" reads standard "
                       "input.\n\nExit status: 0 page written, 1 the set has no "
                       "buttons (\"Insert script\" publishes nothing), 2 the data file cannot be "
                       "read, the output cannot be written, or it is the data file itself, 64 "
                       "wrong usage."));
    const QCommandLineOption preview(
        QStringLiteral("preview"),
        QStringLiteral("The page \"Instant preview\" would publish: images as file:/// "
                       "addresses of the local files."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Write the page to FILE (UTF-8 with a "
                                                   "byte-order mark, as \"host -o\" writes it) "
                                                   "instead of standard output. A regular file "
                                                   "is replaced whole; a device or FIFO is "
                                                   "written to."),
                                    QStringLiteral("FILE"));
    const ModernPageArguments modern;
    parser.addOptions({preview, output});
    modern.addTo(parser);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The data file."));
    int status = Exit::Ok;
    if (!parseCommand(parser, QStringLiteral("render"), arguments, 1, status))
        return status;
    std::optional<ModernPageOptions> modernOptions;
    if (!modern.read(parser, QStringLiteral("render"), modernOptions))
        return Exit::Usage;

    const QString path = dataFileArgument(parser.positionalArguments().constFirst());
    DataFileReadResult read;
    FileIdentity input;
    if (!readForCommand(path, read, nullptr, &input))
        return Exit::Failure;
    if (parser.isSet(output) &&
        outputIsInput(QStringLiteral("render"), parser.value(output), input))
        return Exit::Failure;
    const bool isPreview = parser.isSet(preview);
    if (!isPreview && read.buttons.isEmpty()) {
        writeErr(QStringLiteral("%1 holds no buttons: \"Insert script\" publishes nothing for "
                                "it (--preview renders it all the same).\n")
                     .arg(path));
        return Exit::Partial;
    }
    const ButtonSet set = toButtonSet(read);
    const PageMode mode = isPreview ? PageMode::Preview : PageMode::Page;
    QString page;
    if (modernOptions) {
        modernOptions->mode = mode;
        page = renderModernPage(set, *modernOptions);
    } else {
        page = buildPage(set, mode);
    }
    if (!parser.isSet(output))
        return writePageOut(QStringLiteral("render"), page) ? Exit::Ok : Exit::Failure;
    if (!writePageFile(parser.value(output), page)) {
        writeErr(QStringLiteral("rollcraft render: cannot write %1\n").arg(parser.value(output)));
        return Exit::Failure;
    }
    return Exit::Ok;
}
