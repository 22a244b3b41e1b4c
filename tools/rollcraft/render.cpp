#include "commands.h"
#include "console.h"
#include "pagegenerator.h"

int runRender(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes to standard output, in UTF-8, the page that \"Insert script\" would "
                       "publish for the button set in FILE (\".rk2\" is added as the window's "
                       "open command adds it).\n\nExit status: 0 page written, 1 the set has no "
                       "buttons (\"Insert script\" publishes nothing), 2 the file cannot be read, "
                       "64 wrong usage."));
    const QCommandLineOption preview(
        QStringLiteral("preview"),
        QStringLiteral("The page \"Instant preview\" would publish: images as file:/// "
                       "addresses of the local files."));
    parser.addOption(preview);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The data file."));
    int status = Exit::Ok;
    if (!parseCommand(parser, QStringLiteral("render"), arguments, 1, status))
        return status;

    const QString path = withDataFileExtension(parser.positionalArguments().constFirst());
    DataFileReadResult read;
    if (!readForCommand(path, read))
        return Exit::Failure;
    const bool isPreview = parser.isSet(preview);
    if (!isPreview && read.buttons.isEmpty()) {
        writeErr(QStringLiteral("%1 holds no buttons: \"Insert script\" publishes nothing for "
                                "it (--preview renders it all the same).\n")
                     .arg(path));
        return Exit::Partial;
    }
    writeOut(buildPage(toButtonSet(read), isPreview ? PageMode::Preview : PageMode::Page));
    return Exit::Ok;
}
