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
#include <sys/stat.h>

namespace {

void writeTo(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

void writeOut(const QString& text)
{
    writeTo(stdout, text);
}

void writeErr(const QString& text)
{
    writeTo(stderr, text);
}

bool writePageOut(const QString& command, const QString& page)
{
    const QByteArray bytes = page.toUtf8();
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) ==
            static_cast<std::size_t>(bytes.size()) &&
        std::fflush(stdout) == 0)
        return true;
    const int code = errno;
    if (code == EPIPE) {
        // Whoever read has all they wanted: end as cat does.
        std::signal(SIGPIPE, SIG_DFL);
        std::raise(SIGPIPE);
    }
    writeErr(QStringLiteral("rollcraft %1: cannot write the page to standard output: %2\n")
                 .arg(command, code ? QString::fromLocal8Bit(std::strerror(code))
                                    : QStringLiteral("short write")));
    return false;
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

bool outputIsInput(const QString& command, const QString& output, const QString& input)
{
    struct stat out {};
    struct stat in {};
    if (::stat(QFile::encodeName(output).constData(), &out) != 0 ||
        ::stat(QFile::encodeName(input).constData(), &in) != 0 || out.st_dev != in.st_dev ||
        out.st_ino != in.st_ino)
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

bool readForCommand(const QString& path, DataFileReadResult& result, QByteArray* bytes)
{
    result = {};
    QByteArray data;
    if (QFileInfo(path).isDir()) {
        result.expected = QStringLiteral("a data file, not a folder");
    } else {
        QFile file(path);
        const bool open = path == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                     : file.open(QIODevice::ReadOnly);
        if (open)
            data = file.readAll();
        if (open && file.error() == QFileDevice::NoError)
            result = readDataFile(data);
        else
            result.expected = QStringLiteral("a readable file (%1)").arg(file.errorString());
    }
    if (bytes)
        *bytes = data;
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
