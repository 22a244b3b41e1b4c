// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagecopy.h"

#include "codepage.h"
#include "pathhelpers.h"
#include "regularfile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <atomic>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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

// The temporary file of the copy in progress, for removeCopyTemporary().
std::atomic<const char*> s_temporary{nullptr};
static_assert(std::atomic<const char*>::is_always_lock_free);

QString describe(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

CopyFailure sourceFailure(const QString& source, int code)
{
    return {source, describe(code), code, {}, false};
}

CopyFailure destinationFailure(const QString& source, const QString& target, int code)
{
    return {source, describe(code), code, target, true};
}

// A new file beside the target, named after it, that takes the copy. Unless
// it was renamed over the target, it is removed when this goes out of scope.
class Temporary {
public:
    explicit Temporary(const QByteArray& target)
    {
        const qsizetype slash = target.lastIndexOf('/');
        const QByteArray folder = target.left(slash + 1);
        const QByteArray name = target.mid(slash + 1);
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_path = folder + '.' + name + '.' +
                     QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".part";
            m_fd = ::open(m_path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd >= 0 || errno != EEXIST)
                break;
        }
        m_created = m_fd >= 0;
        if (m_created)
            s_temporary.store(m_path.constData());
    }
    ~Temporary()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_created)
            return;
        const char* mine = m_path.constData();
        s_temporary.compare_exchange_strong(mine, nullptr);
        if (!m_renamed)
            ::unlink(m_path.constData());
    }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    [[nodiscard]] int fd() const { return m_fd; }

    // Flushes the copy to the disk and closes it; errno tells why not.
    [[nodiscard]] bool finish()
    {
        const int fd = std::exchange(m_fd, -1);
        const bool synced = ::fsync(fd) == 0;
        const int code = errno;
        const bool closed = ::close(fd) == 0;
        if (!synced)
            errno = code;
        return synced && closed;
    }

    // Puts the finished copy in the target's place in one step.
    [[nodiscard]] bool renameOver(const QByteArray& target)
    {
        m_renamed = ::rename(m_path.constData(), target.constData()) == 0;
        return m_renamed;
    }

private:
    QByteArray m_path;
    int m_fd = -1;
    bool m_created = false;
    bool m_renamed = false;
};

enum class Side { None, Source, Destination };

// The kernel copies without the bytes passing through the program where it
// can; otherwise plain reads and writes. Says which side failed, errno why.
Side copyContents(int from, int to)
{
    for (;;) {
        const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
        if (n == 0)
            return Side::None;
        if (n > 0)
            continue;
        if (errno == EINTR)
            continue;
        if (errno == ENOSPC || errno == EDQUOT || errno == EFBIG)
            return Side::Destination;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
            return Side::Source;
        break;
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n == 0)
            return Side::None;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Side::Source;
        }
        for (ssize_t written = 0; written < n;) {
            const ssize_t w = ::write(to, buffer + written, static_cast<size_t>(n - written));
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                return Side::Destination;
            }
            written += w;
        }
    }
}

} // namespace

void removeCopyTemporary() noexcept
{
    if (const char* path = s_temporary.exchange(nullptr))
        ::unlink(path);
}

std::optional<CopyFailure> copyImageFile(const QString& source, const QString& target)
{
    const QByteArray to = QFile::encodeName(target);
    const OpenedFile in = openRegularFile(source);
    if (!in)
        return CopyFailure{source, in.error, in.code, {}, false};
    const int from = in.file->handle();
    struct stat sourceInfo {};
    if (::fstat(from, &sourceInfo) != 0)
        return sourceFailure(source, errno);
    struct stat targetInfo {};
    if (::stat(to.constData(), &targetInfo) == 0 && targetInfo.st_dev == sourceInfo.st_dev &&
        targetInfo.st_ino == sourceInfo.st_ino)
        return std::nullopt;
    Temporary copy(to);
    if (copy.fd() < 0)
        return destinationFailure(source, target, errno);
    switch (copyContents(from, copy.fd())) {
    case Side::Source:
        return sourceFailure(source, errno);
    case Side::Destination:
        return destinationFailure(source, target, errno);
    case Side::None:
        break;
    }
    if (!copy.finish() || !copy.renameOver(to))
        return destinationFailure(source, target, errno);
    return std::nullopt;
}

CopyRun copyImages(const QList<ImageToCopy>& images, const QString& folder, ExistingImages existing,
                   CopyQuestions& questions, const FileCopier& copy)
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
        if (std::optional<CopyFailure> failed = copy(image.source, target)) {
            failed->source = image.reportedAs;
            failed->target = target;
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
    for (const CopyFailure& f : failures) {
        text += f.source + QStringLiteral("\r\nError : ") + f.description;
        if (f.atDestination)
            text += QStringLiteral(" (destination ") + f.target + u')';
        text += QStringLiteral(" code: ") + QString::number(f.code) + QStringLiteral("\r\n");
    }
    return encodeTextFile(text);
}

QString failureLine(const CopyFailure& failure)
{
    return failure.source + QStringLiteral(" -> ") + failure.target +
           (failure.atDestination ? QStringLiteral(": the destination: ")
                                  : QStringLiteral(": the source: ")) +
           failure.description;
}

QString errorLogPath()
{
    return QDir::home().filePath(QStringLiteral("twk_error.log"));
}
