// SPDX-License-Identifier: GPL-3.0-or-later
#include "regularfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

OpenedFile refused(int code, QString error)
{
    return {nullptr, std::move(error), code};
}

QString notRegular(mode_t mode)
{
    const char* kind = S_ISFIFO(mode)                   ? "a FIFO"
                       : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
                       : S_ISSOCK(mode)                 ? "a socket"
                                                        : "something else";
    return QStringLiteral("Not a regular file (%1)").arg(QLatin1String(kind));
}

} // namespace

OpenedFile openRegularFile(const QString& path)
{
    if (path.isEmpty())
        return refused(ENOENT, QString::fromLocal8Bit(std::strerror(ENOENT)));
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        return refused(code, QString::fromLocal8Bit(std::strerror(code)));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int code = errno;
        ::close(fd);
        return refused(code, QString::fromLocal8Bit(std::strerror(code)));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        if (S_ISDIR(info.st_mode))
            return refused(EISDIR, QString::fromLocal8Bit(std::strerror(EISDIR)));
        return refused(EINVAL, notRegular(info.st_mode));
    }
    // Reading a regular file never blocks; the flag only kept the open from waiting.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    auto file = std::make_unique<QFile>(path);
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return refused(EIO, file->errorString());
    }
    return {std::move(file), {}, 0};
}

bool readAtMost(QFile& file, qint64 limit, QByteArray& bytes)
{
    bytes.clear();
    // A pipe says nothing of its size: it is read in blocks until it ends or
    // the limit is passed.
    constexpr qint64 Block = 1 << 16;
    // A regular file says its size: the first read takes it whole, with one
    // byte more to see a file that grew meanwhile.
    qint64 want = file.isSequential() ? Block : file.size() + 1;
    for (;;) {
        const QByteArray block = file.read(std::min(want, limit + 1 - bytes.size()));
        want = Block;
        if (block.isEmpty()) {
            if (file.error() == QFileDevice::NoError)
                return true;
            break;
        }
        bytes += block;
        if (bytes.size() > limit)
            break;
    }
    bytes.clear();
    return false;
}
