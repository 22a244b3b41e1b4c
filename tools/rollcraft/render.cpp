// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "console.h"
#include "modernpage.h"
#include "pagegenerator.h"
#include "picturesizes.h"

#include <QLocale>

namespace {

// The user's language as a tag such as "de-CH"; "en" where the locale names none.
QString userLanguage()
{
    const QLocale locale = QLocale::system();
    return locale.language() == QLocale::C ? QStringLiteral("en") : locale.bcp47Name();
}

} // namespace

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
    const QCommandLineOption modern(
        QStringLiteral("modern"),
        QStringLiteral("Write the same menu as an HTML5 page instead: the rollover in CSS alone "
                       "(no script; its own Content-Security-Policy forbids scripts), shown on "
                       "keyboard focus as on hover, a tap following the link on touch screens, "
                       "and every picture's width and height read from its file."));
    const QCommandLineOption lang(QStringLiteral("lang"),
                                  QStringLiteral("With --modern: the page's language, a tag such "
                                                 "as \"de\" (default: the user's locale, "
                                                 "\"en\" where it names none)."),
                                  QStringLiteral("TAG"));
    const QCommandLineOption title(QStringLiteral("title"),
                                   QStringLiteral("With --modern: the page's title (default: "
                                                  "the classic page's, \"ButtonMenu\")."),
                                   QStringLiteral("TEXT"));
    parser.addOptions({preview, output, modern, lang, title});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The data file."));
    int status = Exit::Ok;
    if (!parseCommand(parser, QStringLiteral("render"), arguments, 1, status))
        return status;
    if (!parser.isSet(modern) && (parser.isSet(lang) || parser.isSet(title))) {
        writeErr(QStringLiteral("rollcraft render: --lang and --title go with --modern\n"));
        return Exit::Usage;
    }

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
    if (parser.isSet(modern)) {
        page = buildModernPage(
            set, {mode, parser.isSet(lang) ? parser.value(lang) : userLanguage(),
                  parser.isSet(title) ? parser.value(title) : QStringLiteral("ButtonMenu"),
                  readPictureSizes(modernPagePictures(set))});
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
