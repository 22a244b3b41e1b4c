// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "buttonrecord.h"
#include "codepage.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

// A record as QCOMPARE prints it, every field named.
inline char* toString(const ButtonRecord& b)
{
    return QTest::toString(
        QStringLiteral("{Name \"%1\", Url \"%2\", Target \"%3\", Alt \"%4\", ImagePathPrefix \"%5\", "
                       "MouseOutImage \"%6\", MouseOverImage \"%7\", DescriptionImage \"%8\"}")
            .arg(b.Name, b.Url, b.Target, b.Alt, b.ImagePathPrefix, b.MouseOutImage, b.MouseOverImage,
                 b.DescriptionImage));
}

// A file that cannot be read reads as "<missing>", never the bytes expected.
inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size(), qPrintable(path));
}

// A program run to its end: its exit status (-1 if it crashed or hung) and output.
struct Run {
    int status = -1;
    QByteArray out, err;
};

inline Run runProgram(const QString& program, const QStringList& arguments, const QByteArray& input = {},
                      int timeout = 20000)
{
    QProcess p;
    p.start(program, arguments);
    p.write(input);
    p.closeWriteChannel();
    const bool ended = p.waitForFinished(timeout);
    if (!ended)
        p.kill();
    p.waitForFinished();
    return {ended && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

// One of this project's programs, as built.
inline QString built(const QString& name)
{
    return QDir(qEnvironmentVariable("ROLLCRAFT_BIN")).filePath(name);
}

// What `write` returns with files cut short at `bytes` (SIGXFSZ ignored: the write fails).
template <typename Write> auto underFileSizeLimit(rlim_t bytes, Write write)
{
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit{std::min(bytes, old.rlim_max), old.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    const auto result = write();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return result;
}

// Data-file bytes: each line followed by CR LF (Windows-1252 for what fits).
inline QByteArray rk2(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += encodeTextFile(line) + "\r\n";
    return bytes;
}

// One button's nine lines: header, name and seven values in file order (MouseOut,
// MouseOver, Description, Url, Target, Alt, prefix), "#" for those left out.
inline QStringList block(const QString& name, QStringList values = {})
{
    values.resize(7, "#");
    return QStringList{"[Button]", name} + values;
}

// The program's setting and its copy log, under the test's HOME (see isolatedhome.cpp).
inline QString settingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/RollcraftII/RollcraftII.conf";
}
inline QString errorLogFile()
{
    return QDir::home().filePath("twk_error.log");
}

inline void writeSettings(const QByteArray& text)
{
    QDir().mkpath(QFileInfo(settingsPath()).path());
    writeBytes(settingsPath(), text);
}
