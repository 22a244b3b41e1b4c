// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// Exit statuses shared by the commands.
namespace Exit {
inline constexpr int Ok = 0;
inline constexpr int Partial = 1; // the command ran, but not everything was as asked
inline constexpr int Failure = 2;
inline constexpr int Usage = 64;
} // namespace Exit

// The tool: its command line without the program's name; the exit status,
// once standard output has taken everything.
int runTool(QStringList arguments);

// Each command gets its own arguments (without the command's name).
int runRender(const QStringList& arguments);
int runCheck(const QStringList& arguments);
int runHost(const QStringList& arguments);
int runCopyImages(const QStringList& arguments);
// Needs a QGuiApplication.
int runDraw(const QStringList& arguments);
