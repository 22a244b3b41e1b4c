// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "console.h"
#include "imagecopy.h"
#include "pathhelpers.h"

#include <QDate>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace {

// Asks on the terminal about each image already in the destination.
class TerminalQuestions final : public CopyQuestions {
public:
    explicit TerminalQuestions(bool keepExisting) : m_keepExisting(keepExisting) {}

    Answer overwrite(const QString& target) override
    {
        if (m_keepExisting)
            return Answer::No;
        for (;;) {
            writeErr(QStringLiteral("File: \"%1\" allready exist, overwrite ? [y]es, [n]o, "
                                    "[c]ancel: ")
                         .arg(target));
            const QString reply = m_in.readLine();
            if (reply.isNull()) // end of input: nothing more will be answered
                return Answer::Cancel;
            const QString answer = reply.trimmed().toLower();
            if (answer == QLatin1String("y") || answer == QLatin1String("yes"))
                return Answer::Yes;
            if (answer == QLatin1String("n") || answer == QLatin1String("no"))
                return Answer::No;
            if (answer == QLatin1String("c") || answer == QLatin1String("cancel"))
                return Answer::Cancel;
        }
    }

    bool progress(int, int) override { return true; }

private:
    bool m_keepExisting;
    QTextStream m_in{stdin};
};

} // namespace

int runCopyImages(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Copies every image the button set in FILE refers to into the folder DEST, as \"Copy "
            "images to path...\" does: each button's MouseOut, MouseOver and Description image, "
            "then the default description image, under their own file names. Without an option "
            "it asks on the terminal about each image already in DEST; without a terminal on "
            "standard input it copies nothing when images are there, and says so. Each copy goes "
            "to a new file renamed over the target when complete, so an interrupted copy leaves "
            "the earlier image whole and nothing else behind. An image whose file name would "
            "put its copy outside DEST (such as \"../x\" after a backslash) is not copied. Failed "
            "copies are said on standard error and listed in "
            "%1.\n\nA FILE that exists is read as given, another name gets \".rk2\" added, "
            "and \"-\" reads standard input.\n\n"
            "Exit status: 0 every image was copied or kept as asked, 1 some copies failed (the log "
            "names them) or the run was cancelled, 2 the data file cannot be read, DEST is not a "
            "folder, or images in DEST would need a question without a terminal, 64 wrong usage.")
            .arg(errorLogPath()));
    const QCommandLineOption overwrite(QStringLiteral("overwrite"),
                                       QStringLiteral("Replace images already in DEST."));
    const QCommandLineOption keep(QStringLiteral("keep-existing"),
                                  QStringLiteral("Leave images already in DEST as they are."));
    parser.addOptions({overwrite, keep});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The data file."));
    parser.addPositionalArgument(QStringLiteral("DEST"), QStringLiteral("The folder."));
    int status = Exit::Ok;
    if (!parseCommand(parser, QStringLiteral("copy-images"), arguments, 2, status))
        return status;
    if (parser.isSet(overwrite) && parser.isSet(keep)) {
        writeErr(QStringLiteral("rollcraft copy-images: --overwrite and --keep-existing "
                                "exclude each other\n"));
        return Exit::Usage;
    }

    const QString path = dataFileArgument(parser.positionalArguments().at(0));
    const QString dest = parser.positionalArguments().at(1);
    DataFileReadResult read;
    if (!readForCommand(path, read))
        return Exit::Failure;
    if (!QFileInfo(dest).isDir()) {
        writeErr(QStringLiteral("rollcraft copy-images: %1 is not a folder\n").arg(dest));
        return Exit::Failure;
    }
    const ButtonSet set = toButtonSet(read);
    const QList<ImageToCopy> images = imagesToCopy(set, set.DefaultDescriptionImage);
    const QString folder = CheckSlash(dest);
    const ExistingImages existing =
        parser.isSet(overwrite) ? ExistingImages::Replace : ExistingImages::Ask;
    if (existing == ExistingImages::Ask && !parser.isSet(keep) && !::isatty(STDIN_FILENO)) {
        // Nobody is there to answer: stop before the first copy.
        const QStringList asked = targetsToAsk(images, folder);
        if (!asked.isEmpty()) {
            writeErr(QStringLiteral("rollcraft copy-images: these files already exist in %1, and "
                                    "without a terminal nobody can be asked about them:\n  %2\n"
                                    "Nothing was copied. Run again with --overwrite to replace "
                                    "them or --keep-existing to leave them as they are.\n")
                         .arg(dest, asked.join(QStringLiteral("\n  "))));
            return Exit::Failure;
        }
    }
    removeCopyTemporaryOnSignals();
    TerminalQuestions questions(parser.isSet(keep));
    const CopyRun run = copyImages(images, folder, existing, questions);
    if (run.cancelled) {
        writeErr(
            QStringLiteral("Cancelled after %1 images; nothing was logged.\n").arg(run.copied));
        return Exit::Partial;
    }
    writeErr(QStringLiteral("%1 images copied to %2\n").arg(run.copied).arg(dest));
    if (run.failures.isEmpty())
        return Exit::Ok;
    for (const CopyFailure& failure : run.failures)
        writeErr(
            QStringLiteral("rollcraft copy-images: not copied: %1\n").arg(failureLine(failure)));
    const FailureReport report = logFailures(run.failures, QDate::currentDate());
    writeErr(report.headline + u'\n' + report.logLine +
             (report.logged ? QStringLiteral("\n")
                            : QStringLiteral("; the failed copies are the %1 listed above.\n")
                                  .arg(run.failures.size())));
    return Exit::Partial;
}
