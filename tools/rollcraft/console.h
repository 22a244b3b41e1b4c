// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "datafile.h"

#include <QCommandLineParser>
#include <QString>

#include <sys/types.h>

// Standard output and error, UTF-8. A failed write to standard output is
// kept, and every later one skipped, until finishOutput; a reader that went
// away (a closed pipe) ends the program quietly, as cat does.
void writeOut(const QString& text);
void writeErr(const QString& text);

// The status a command ends with: `status`, or Exit::Failure, said on
// standard error for `command` (empty: the tool itself), when a write to
// standard output failed. Standard output is fresh again after it.
[[nodiscard]] int finishOutput(const QString& command, int status);

// Writes a page to a file: UTF-8 behind a byte-order mark. The page names no
// charset, and a file served without one would otherwise be read in the
// browser's guess. A regular file (or none) is replaced in one step; a
// device, a FIFO or a terminal is written to as it is.
[[nodiscard]] bool writePageFile(const QString& path, const QString& page);

// Writes the page text alone to standard output. A write that fails or comes
// up short is said on standard error for `command` and gives false.
[[nodiscard]] bool writePageOut(const QString& command, const QString& page);

// Which file a data file was: the device and inode of the descriptor read.
struct FileIdentity {
    bool known = false;
    dev_t device = 0;
    ino_t inode = 0;
};

// Whether `output` is the data file read (`input`: the same file, by any
// name, or standard input redirected from it); if so, says so for `command`
// on standard error.
[[nodiscard]] bool outputIsInput(const QString& command, const QString& output,
                                 const FileIdentity& input);

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

// Reads a data file ("-" standard input) as the window's open command does:
// a name only as a regular file, opened without blocking, and no more than a
// data file can hold. `bytes`, when given, receives what was read, `identity`
// which file it was. On a reading error prints "ERROR! Unable to open file."
// and where reading stopped, or why it did not start, to standard error, and
// returns false.
[[nodiscard]] bool readForCommand(const QString& path, DataFileReadResult& result,
                                  QByteArray* bytes = nullptr, FileIdentity* identity = nullptr);
