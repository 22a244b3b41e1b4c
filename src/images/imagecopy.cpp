// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagecopy.h"

#include "codepage.h"
#include "pathhelpers.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QList<ImageToCopy> imagesToCopy(const ButtonSet& set, const QString& defaultDescriptionField)
{
    QList<ImageToCopy> images;
    const auto add = [&images](const QString& source, const QString& reportedAs) {
        if (!source.isEmpty())
            images.append({source, reportedAs});
    };
    const int count = leadingButtonCount(set);
    for (int i = 0; i < count; ++i) {
        const ButtonRecord& b = set.Buttons[static_cast<std::size_t>(i)];
        add(b.MouseOutImage, b.MouseOutImage);
        add(b.MouseOverImage, b.MouseOverImage);
        add(b.DescriptionImage, b.DescriptionImage);
    }
    add(defaultDescriptionField, set.DefaultDescriptionImage);
    return images;
}

QString destinationFolder(const QString& chosen)
{
    if (chosen.endsWith(QLatin1Char('/')))
        return chosen;
    return chosen + QLatin1Char('/');
}

namespace {

CopyFailure failure(const QString& source, int code)
{
    return {source, QString::fromLocal8Bit(std::strerror(code)), code};
}

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// The kernel copies without the bytes passing through the program where it
// can; otherwise plain reads and writes.
bool copyContents(int from, int to)
{
    for (;;) {
        const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
        if (n == 0)
            return true;
        if (n > 0)
            continue;
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
            return false;
        break;
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (ssize_t written = 0; written < n;) {
            const ssize_t w = ::write(to, buffer + written, static_cast<size_t>(n - written));
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            written += w;
        }
    }
}

} // namespace

std::optional<CopyFailure> copyImageFile(const QString& source, const QString& target)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(target);
    const Descriptor in{::open(from.constData(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0)
        return failure(source, errno);
    struct stat sourceInfo {};
    if (::fstat(in.fd, &sourceInfo) != 0)
        return failure(source, errno);
    if (S_ISDIR(sourceInfo.st_mode))
        return failure(source, EISDIR);
    // Truncating the target first would empty a source that is the target.
    struct stat targetInfo {};
    if (::stat(to.constData(), &targetInfo) == 0 && targetInfo.st_dev == sourceInfo.st_dev &&
        targetInfo.st_ino == sourceInfo.st_ino)
        return std::nullopt;
    const Descriptor out{::open(to.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)};
    if (out.fd < 0)
        return failure(source, errno);
    if (!copyContents(in.fd, out.fd))
        return failure(source, errno);
    return std::nullopt;
}

CopyRun copyImages(const QList<ImageToCopy>& images, const QString& folder, ExistingImages existing,
                   CopyQuestions& questions)
{
    CopyRun run;
    const int total = static_cast<int>(images.size());
    for (int i = 0; i < total; ++i) {
        if (!questions.progress(i, total)) {
            run.cancelled = true;
            return run;
        }
        const ImageToCopy& image = images[i];
        const QString target = folder + GetFilenameOrFilePathFromString(image.source, 1);
        if (existing == ExistingImages::Ask && FileExist(target)) {
            const CopyQuestions::Answer answer = questions.overwrite(target);
            if (answer == CopyQuestions::Answer::Cancel) {
                run.cancelled = true;
                return run;
            }
            if (answer == CopyQuestions::Answer::No)
                continue;
        }
        if (std::optional<CopyFailure> failed = copyImageFile(image.source, target)) {
            failed->source = image.reportedAs;
            run.failures.append(*failed);
        } else {
            ++run.copied;
        }
    }
    run.cancelled = !questions.progress(total, total);
    return run;
}

QByteArray errorLog(const QList<CopyFailure>& failures, QDate date)
{
    const QString separator(119, QLatin1Char('-'));
    QString text = QStringLiteral("ERROR LOG CREATED BY - TARNWICK - PLUGIN ( Rollcraft 2 ) : ") +
                   date.toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral("\r\n") +
                   separator + QStringLiteral("\r\nERRORS ARE LISTED IN ERROR-ORDER..:\r\n") +
                   separator + QStringLiteral("\r\n");
    for (const CopyFailure& f : failures)
        text += f.source + QStringLiteral("\r\nError : ") + f.description +
                QStringLiteral(" code: ") + QString::number(f.code) + QStringLiteral("\r\n");
    return encodeWindows1252(text);
}

QString errorLogPath()
{
    return QDir::home().filePath(QStringLiteral("twk_error.log"));
}
