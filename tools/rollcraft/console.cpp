// SPDX-License-Identifier: GPL-3.0-or-later
#include "console.h"

#include "commands.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

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

bool writePageFile(const QString& path, const QString& page)
{
    return saveFileAtomically(path, QByteArray("\xEF\xBB\xBF") + page.toUtf8());
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
