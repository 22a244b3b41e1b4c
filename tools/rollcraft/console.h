// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "datafile.h"

#include <QCommandLineParser>
#include <QString>

// Standard output and error, UTF-8.
void writeOut(const QString& text);
void writeErr(const QString& text);

// Writes a page to a file: UTF-8 behind a byte-order mark. The page names no
// charset, and a file served without one would otherwise be read in the
// browser's guess. A regular file (or none) is replaced in one step; a
// device, a FIFO or a terminal is written to as it is.
[[nodiscard]] bool writePageFile(const QString& path, const QString& page);

// Writes the page text alone to standard output. A write that fails or comes
// up short is said on standard error for `command` and gives false; a reader
// that went away (a closed pipe) ends the program quietly, as cat does.
[[nodiscard]] bool writePageOut(const QString& command, const QString& page);

// Whether `output` is the data file `input` itself (the same file, by any
// name); if so, says so for `command` on standard error.
[[nodiscard]] bool outputIsInput(const QString& command, const QString& output,
                                 const QString& input);

// Parses `arguments` for a command; prints help and returns false (with
// `status` set) when the command should end at once: --help, an unknown
// option, or a wrong number of positional arguments.
[[nodiscard]] bool parseCommand(QCommandLineParser& parser, const QString& command,
                                const QStringList& arguments, qsizetype positional, int& status);

// The data file a command line names, as a shell user expects: a path that
// exists is taken as given, "-" is standard input, and only a name that does
// not exist gets ".rk2" added (the window's open command adds it always).
[[nodiscard]] QString dataFileArgument(const QString& argument);

// How messages name the data file `path`.
[[nodiscard]] QString shownDataFile(const QString& path);

// Reads a data file ("-" standard input) as the window's open command does;
// `bytes`, when given, receives what was read. On a reading error prints
// "ERROR! Unable to open file." and where reading stopped to standard error,
// and returns false.
[[nodiscard]] bool readForCommand(const QString& path, DataFileReadResult& result,
                                  QByteArray* bytes = nullptr);
