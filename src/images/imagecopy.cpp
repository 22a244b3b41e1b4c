// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagecopy.h"

#include "codepage.h"
#include "copyname.h"
#include "datafile.h"
#include "pathhelpers.h"
#include "regularfile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <utility>

QList<ImageToCopy> imagesToCopy(const ButtonSet& set, const QString& defaultDescriptionField)
{
    QList<ImageToCopy> images;
    const auto add = [&images](const QString& source, const QString& reportedAs) {
        if (!source.isEmpty())
            images.append({source, reportedAs});
    };
    for (const ButtonPicture& picture : buttonPictures(leadingButtons(set)))
        add(picture.path, picture.path);
    add(defaultDescriptionField, set.DefaultDescriptionImage);
    return images;
}

namespace {

// The named file of the copy in progress, for the signal handler, which may
// neither allocate nor lock: the folder's descriptor and the name in fixed
// storage. Empty -> Writing -> Set -> Empty; the handler takes Set -> Removing.
enum PendingState : int { Empty, Writing, Set, Removing };
std::atomic<int> s_pendingState{Empty};
static_assert(std::atomic<int>::is_always_lock_free);
int s_pendingFolder = -1;
char s_pendingName[32];

void removePendingAndEnd(int signal)
{
    int set = Set;
    if (s_pendingState.compare_exchange_strong(set, Removing))
        ::unlinkat(s_pendingFolder, s_pendingName, 0);
    std::signal(signal, SIG_DFL);
    std::raise(signal); // delivered once the handler returns
}

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

// A descriptor closed when this goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int get() const { return m_fd; }

private:
    int m_fd;
};

// The new file that takes the copy, in the target's folder: anonymous where
// the file system allows, so that nothing of it can stay behind, or else
// under a short hidden name (never derived from the picture's, which may be
// as long as names go). Unless renamed over the target, it is gone when this
// goes out of scope.
class NewFile {
public:
    NewFile(int folder, CopyTemporary way, mode_t mode) : m_folder(folder)
    {
        if (way == CopyTemporary::Anonymous) {
            m_fd = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
            m_refused = m_fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL);
            return;
        }
        for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
            newName();
            m_fd = ::openat(folder, m_name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (m_fd < 0 && errno != EEXIST)
                return;
        }
        if (m_fd >= 0)
            named();
    }
    ~NewFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (m_named && !m_renamed)
            ::unlinkat(m_folder, m_name, 0);
        if (m_registered) {
            int set = Set;
            s_pendingState.compare_exchange_strong(set, Empty);
        }
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    [[nodiscard]] int fd() const { return m_fd; }
    // The file system has no anonymous files (or cannot name one): go on with a named one.
    [[nodiscard]] bool refused() const { return m_refused; }

    // Flushes the copy to the disk, names it if it has no name yet, and
    // closes it; errno tells why not.
    [[nodiscard]] bool finish()
    {
        if (::fsync(m_fd) != 0 || (!m_named && !nameAnonymous()))
            return false;
        return ::close(std::exchange(m_fd, -1)) == 0;
    }

    // Puts the finished copy in the target's place in one step.
    [[nodiscard]] bool renameOver(const QByteArray& name)
    {
        m_renamed = ::renameat(m_folder, m_name, m_folder, name.constData()) == 0;
        return m_renamed;
    }

private:
    void newName()
    {
        std::snprintf(m_name, sizeof m_name, ".rollcraft-%08x",
                      QRandomGenerator::global()->generate());
    }

    void named()
    {
        m_named = true;
        int empty = Empty;
        // One copy at a time is looked after; two at once, the second is not.
        if (!s_pendingState.compare_exchange_strong(empty, Writing))
            return;
        s_pendingFolder = m_folder;
        std::memcpy(s_pendingName, m_name, sizeof m_name);
        s_pendingState.store(Set);
        m_registered = true;
    }

    bool nameAnonymous()
    {
        char self[32];
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", m_fd);
        for (int attempt = 0; attempt < 100; ++attempt) {
            newName();
            // Without /proc the descriptor itself, where the program may.
            if (::linkat(AT_FDCWD, self, m_folder, m_name, AT_SYMLINK_FOLLOW) == 0 ||
                (errno != EEXIST && ::linkat(m_fd, "", m_folder, m_name, AT_EMPTY_PATH) == 0)) {
                named();
                return true;
            }
            if (errno != EEXIST)
                break;
        }
        m_refused = true;
        return false;
    }

    int m_folder;
    int m_fd = -1;
    char m_name[sizeof s_pendingName] = {};
    bool m_refused = false;
    bool m_named = false;
    bool m_registered = false;
    bool m_renamed = false;
};

// A copy that replaces a file keeps the file's mode, and its owner and group
// where the program may set them (else the group alone, if it may).
bool keepOwnerAndMode(int fd, const struct stat& replaced)
{
    // One that may set neither keeps the copy as its own, as cp does: no failure.
    if (::fchown(fd, replaced.st_uid, replaced.st_gid) != 0 && errno == EPERM)
        std::ignore = ::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid);
    return ::fchmod(fd, replaced.st_mode & 07777) == 0;
}

enum class Side { None, Source, Destination, Stopped };

// The kernel copies without the bytes passing through the program where it
// can; otherwise plain reads and writes. Either way `stop` is asked before
// each block. Says which side failed, errno why.
Side copyContents(int from, int to, const CopyStop& stop)
{
    const auto stopped = [&stop] { return stop && stop(); };
    for (;;) {
        if (stopped())
            return Side::Stopped;
        const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, 1 << 20, 0);
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
        if (stopped())
            return Side::Stopped;
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

void removeCopyTemporaryOnSignals()
{
    for (const int signal : {SIGHUP, SIGINT, SIGTERM}) {
        struct sigaction action {};
        action.sa_handler = removePendingAndEnd;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}

std::optional<CopyFailure> copyImageFile(const QString& source, const QString& target,
                                         const CopyStop& stop)
{
    return copyImageFileVia(CopyTemporary::Anonymous, source, target, stop);
}

std::optional<CopyFailure> copyImageFileVia(CopyTemporary first, const QString& source,
                                            const QString& target, const CopyStop& stop)
{
    const OpenedFile in = openRegularFile(source);
    if (!in)
        return CopyFailure{source, in.error, in.code, {}, false};
    const int from = in.file->handle();
    struct stat sourceInfo {};
    if (::fstat(from, &sourceInfo) != 0)
        return sourceFailure(source, errno);
    const QByteArray to = QFile::encodeName(target);
    const qsizetype slash = to.lastIndexOf('/');
    const QByteArray name = to.mid(slash + 1);
    const Descriptor folder(::open(slash < 0    ? "."
                                   : slash == 0 ? "/"
                                                : to.left(slash).constData(),
                                   O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0)
        return destinationFailure(source, target, errno);
    struct stat targetInfo {};
    const bool exists = ::fstatat(folder.get(), name.constData(), &targetInfo, 0) == 0;
    if (exists && targetInfo.st_dev == sourceInfo.st_dev && targetInfo.st_ino == sourceInfo.st_ino)
        return std::nullopt;
    for (CopyTemporary way = first;; way = CopyTemporary::Named) {
        NewFile copy(folder.get(), way, sourceInfo.st_mode & 0777);
        if (copy.refused())
            continue;
        if (copy.fd() < 0)
            return destinationFailure(source, target, errno);
        if (exists && S_ISREG(targetInfo.st_mode) && !keepOwnerAndMode(copy.fd(), targetInfo))
            return destinationFailure(source, target, errno);
        switch (copyContents(from, copy.fd(), stop)) {
        case Side::Source:
            return sourceFailure(source, errno);
        case Side::Destination:
            return destinationFailure(source, target, errno);
        case Side::Stopped:
            return destinationFailure(source, target, ECANCELED);
        case Side::None:
            break;
        }
        if (!copy.finish()) {
            if (copy.refused() && ::lseek(from, 0, SEEK_SET) == 0)
                continue;
            return destinationFailure(source, target, errno);
        }
        if (!copy.renameOver(name))
            return destinationFailure(source, target, errno);
        return std::nullopt;
    }
}

QString copyTarget(const QString& folder, const QString& source)
{
    return folder + GetFilenameOrFilePathFromString(source, 1);
}

QStringList targetsToAsk(const QList<ImageToCopy>& images, const QString& folder)
{
    QStringList asked;
    QStringList written;
    for (const ImageToCopy& image : images) {
        if (!copyNameProblem(fileNamePart(image.source)).isEmpty())
            continue; // never copied, so never asked about
        const QString target = copyTarget(folder, image.source);
        if ((FileExist(target) || written.contains(target)) && !asked.contains(target))
            asked << target;
        written << target;
    }
    return asked;
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
        const QString target = copyTarget(folder, image.source);
        if (const QString problem = copyNameProblem(fileNamePart(image.source));
            !problem.isEmpty()) {
            run.failures.append({image.reportedAs, problem, EINVAL, target, true});
            continue;
        }
        if (existing == ExistingImages::Ask && FileExist(target)) {
            const CopyQuestions::Answer answer = questions.overwrite(target);
            if (answer == CopyQuestions::Answer::Cancel) {
                run.cancelled = true;
                return run;
            }
            if (answer == CopyQuestions::Answer::No)
                continue;
        }
        const std::optional<CopyFailure> failed =
            copy(image.source, target, [&questions] { return questions.stopped(); });
        if (questions.stopped()) {
            run.copied += failed ? 0 : 1;
            run.cancelled = true;
            return run;
        }
        if (failed) {
            run.failures.append(*failed);
            run.failures.last().source = image.reportedAs;
            run.failures.last().target = target;
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

FailureReport logFailures(const QList<CopyFailure>& failures, QDate date)
{
    const QString log = errorLogPath();
    const bool logged = saveFileAtomically(log, errorLog(failures, date));
    return {QStringLiteral("ERROR! One or more images could not be copied !"),
            (logged ? QStringLiteral("For further details, please see \"%1\"")
                    : QStringLiteral("The log \"%1\" could not be written"))
                .arg(log),
            logged};
}
