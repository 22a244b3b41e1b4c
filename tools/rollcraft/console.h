// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "datafile.h"

#include <QCommandLineParser>
#include <QString>

// Standard output and error, UTF-8.
void writeOut(const QString& text);
void writeErr(const QString& text);

// Writes a page to a file, replacing it: UTF-8 behind a byte-order mark. The
// page names no charset, and a file served without one would otherwise be
// read in the browser's guess. Standard output carries the page text alone.
[[nodiscard]] bool writePageFile(const QString& path, const QString& page);

// Parses `arguments` for a command; prints help and returns false (with
// `status` set) when the command should end at once: --help, an unknown
// option, or a wrong number of positional arguments.
[[nodiscard]] bool parseCommand(QCommandLineParser& parser, const QString& command,
                                const QStringList& arguments, qsizetype positional, int& status);

// Reads a data file as the window's open command does. On a reading error
// prints "ERROR! Unable to open file." and where reading stopped to standard
// error, and returns false.
[[nodiscard]] bool readForCommand(const QString& path, DataFileReadResult& result);
