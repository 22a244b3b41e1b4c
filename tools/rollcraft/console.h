#pragma once

#include "datafile.h"

#include <QCommandLineParser>
#include <QString>

// Standard output and error, UTF-8.
void writeOut(const QString& text);
void writeErr(const QString& text);

// Parses `arguments` for a command; prints help and returns false (with
// `status` set) when the command should end at once: --help, an unknown
// option, or a wrong number of positional arguments.
[[nodiscard]] bool parseCommand(QCommandLineParser& parser, const QString& command,
                                const QStringList& arguments, qsizetype positional, int& status);

// Reads a data file as the window's open command does. On a reading error
// prints "ERROR! Unable to open file." and where reading stopped to standard
// error, and returns false.
[[nodiscard]] bool readForCommand(const QString& path, DataFileReadResult& result);
