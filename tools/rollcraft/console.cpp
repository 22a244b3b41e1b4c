// SPDX-License-Identifier: GPL-3.0-or-later
#include "console.h"

#include "commands.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Standard output's first failure, kept until the command ends.
struct OutputState {
    bool failed = false;
    bool said = false; // already named on standard error
    int code = 0;
};
OutputState s_out;

bool writeTo(std::FILE* stream, const QByteArray& bytes)
{
    errno = 0;
    return std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream) ==
               static_cast<std::size_t>(bytes.size()) &&
           std::fflush(stream) == 0;
}

bool writeOutBytes(const QByteArray& bytes)
{
    if (s_out.failed)
        return false;
    if (writeTo(stdout, bytes))
        return true;
    s_out = {true, false, errno};
    if (s_out.code == EPIPE) {
        // Whoever read has all they wanted: end as cat does.
        std::signal(SIGPIPE, SIG_DFL);
        std::raise(SIGPIPE);
    }
    return false;
}

void sayOutputFailed(const QString& command, const QString& what)
{
    const QString who =
        command.isEmpty() ? QStringLiteral("rollcraft") : QStringLiteral("rollcraft ") + command;
    writeErr(QStringLiteral("%1: cannot write %2 to standard output: %3\n")
                 .arg(who, what,
                      s_out.code ? QString::fromLocal8Bit(std::strerror(s_out.code))
                                 : QStringLiteral("short write")));
    s_out.said = true;
}

} // namespace

void writeOut(const QString& text)
{
    writeOutBytes(text.toUtf8());
}

void writeErr(const QString& text)
{
    // Nowhere is left to say that this failed.
    static_cast<void>(writeTo(stderr, text.toUtf8()));
}

bool writePageOut(const QString& command, const QString& page)
{
    if (writeOutBytes(page.toUtf8()))
        return true;
    sayOutputFailed(command, QStringLiteral("the page"));
    return false;
}

int finishOutput(const QString& command, int status)
{
    if (s_out.failed && !s_out.said)
        sayOutputFailed(command, QStringLiteral("its output"));
    // The next command, in a test run in this same process, starts afresh.
    const bool failed = std::exchange(s_out, {}).failed;
    return failed ? Exit::Failure : status;
}

bool writePageFile(const QString& path, const QString& page)
{
    const QByteArray bytes = QByteArray("\xEF\xBB\xBF") + page.toUtf8();
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
        // A device, a FIFO or a terminal is not ours to replace: it takes the bytes.
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
               file.write(bytes) == bytes.size();
    }
    return saveFileAtomically(path, bytes);
}

bool outputIsInput(const QString& command, const QString& output, const FileIdentity& input)
{
    struct stat out {};
    if (!input.known || ::stat(QFile::encodeName(output).constData(), &out) != 0 ||
        out.st_dev != input.device || out.st_ino != input.inode)
        return false;
    writeErr(QStringLiteral("rollcraft %1: %2 is the data file being read; not writing over it\n")
                 .arg(command, output));
    return true;
}

bool parseCommand(QCommandLineParser& parser, const QString& command, const QStringList& arguments,
                  qsizetype positional, int& status)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    parser.addOption(help);
    if (!parser.parse(QStringList{QStringLiteral("rollcraft ") + command} + arguments)) {
        writeErr(QStringLiteral("rollcraft %1: %2\nTry 'rollcraft %1 --help'.\n")
                     .arg(command, parser.errorText()));
        status = Exit::Usage;
        return false;
    }
    if (parser.isSet(help)) {
        // Qt's usage line names the executable as started, without the command.
        QString text = parser.helpText();
        const QString qtUsage =
            QStringLiteral("Usage: ") + QCoreApplication::arguments().constFirst();
        if (text.startsWith(qtUsage))
            text.replace(0, qtUsage.size(), QStringLiteral("Usage: rollcraft ") + command);
        writeOut(text);
        status = Exit::Ok;
        return false;
    }
    if (positional >= 0 && parser.positionalArguments().size() != positional) {
        writeErr(QStringLiteral("rollcraft %1: expected %2 argument(s), got %3\n"
                                "Try 'rollcraft %1 --help'.\n")
                     .arg(command)
                     .arg(positional)
                     .arg(parser.positionalArguments().size()));
        status = Exit::Usage;
        return false;
    }
    return true;
}

QString dataFileArgument(const QString& argument)
{
    if (argument == QLatin1String("-") || QFileInfo::exists(argument))
        return argument;
    return withDataFileExtension(argument);
}

QString shownDataFile(const QString& path)
{
    return path == QLatin1String("-") ? QStringLiteral("standard input") : path;
}

bool readForCommand(const QString& path, DataFileReadResult& result, QByteArray* bytes,
                    FileIdentity* identity)
{
    OpenedFile opened;
    if (path == QLatin1String("-")) {
        // Standard input is whatever the shell made it: a pipe, a terminal, a file.
        opened.file = std::make_unique<QFile>();
        if (!opened.file->open(STDIN_FILENO, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
            opened.error = opened.file->errorString();
            opened.file.reset();
        }
    } else {
        opened = openRegularFile(path);
    }
    struct stat info {};
    if (identity && opened && ::fstat(opened.file->handle(), &info) == 0)
        *identity = {true, info.st_dev, info.st_ino};
    result = readDataFile(opened, bytes);
    if (result.ok)
        return true;
    const QString shown = shownDataFile(path);
    const QString where = result.errorLine > 0
                              ? QStringLiteral("%1: line %2: expected %3\n")
                                    .arg(shown, QString::number(result.errorLine), result.expected)
                              : QStringLiteral("%1: expected %2\n").arg(shown, result.expected);
    writeErr(QStringLiteral("ERROR! Unable to open file.\n") + where);
    return false;
}
