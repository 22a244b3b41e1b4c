// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "console.h"
#include "imagecopy.h"

#include <QDate>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

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
            "it asks about each image already in DEST. Failed copies are listed in %1.\n\n"
            "Exit status: 0 every image was copied or kept as asked, 1 some copies failed (the log "
            "names them) or the run was cancelled, 2 the data file cannot be read or DEST is not a "
            "folder, 64 wrong usage.")
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
    const ExistingImages existing =
        parser.isSet(overwrite) ? ExistingImages::Replace : ExistingImages::Ask;
    TerminalQuestions questions(parser.isSet(keep));
    const CopyRun run = copyImages(imagesToCopy(set, set.DefaultDescriptionImage),
                                   destinationFolder(dest), existing, questions);
    if (run.cancelled) {
        writeErr(
            QStringLiteral("Cancelled after %1 images; nothing was logged.\n").arg(run.copied));
        return Exit::Partial;
    }
    writeErr(QStringLiteral("%1 images copied to %2\n").arg(run.copied).arg(dest));
    if (run.failures.isEmpty())
        return Exit::Ok;
    const QString log = errorLogPath();
    if (!saveFileAtomically(log, errorLog(run.failures, QDate::currentDate())))
        writeErr(QStringLiteral("rollcraft copy-images: cannot write %1\n").arg(log));
    writeErr(QStringLiteral("ERROR! One or more images could not be copied !\n"
                            "For further details, please see \"%1\"\n")
                 .arg(log));
    return Exit::Partial;
}
