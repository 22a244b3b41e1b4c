// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

// A file named by a stranger (a data file, a picture path), opened for
// reading only if it is a regular file. The open does not block, so a FIFO
// never waits for a writer, and the check is made on the descriptor that was
// opened, so nothing swapped in under the name between a check and the open
// gets through. A device such as /dev/zero, a socket or a folder is refused.
struct OpenedFile {
    std::unique_ptr<QFile> file; // open for reading; null when refused
    QString error;               // why not: the system's words, or what the path is instead
    int code = 0;                // the system's error number

    [[nodiscard]] explicit operator bool() const { return file != nullptr; }
};

[[nodiscard]] OpenedFile openRegularFile(const QString& path);

// Reads what is left of `file` (a regular file, or standard input as a pipe)
// into `bytes`, never holding more than `limit` bytes: false, with `bytes`
// empty, when reading fails or there is more than that.
[[nodiscard]] bool readAtMost(QFile& file, qint64 limit, QByteArray& bytes);
