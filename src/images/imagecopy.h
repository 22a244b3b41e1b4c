// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "buttonset.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// One image the copy command copies: the path it copies from, and the path
// its failure is reported under (they differ only for the default
// description image after a data file was opened).
struct ImageToCopy {
    QString source;
    QString reportedAs;
};

// The images a set refers to, in copy order: for each button up to the first
// empty name its MouseOut, MouseOver and Description images, then the default
// description image as the window's field shows it. Empty fields are left out.
[[nodiscard]] QList<ImageToCopy> imagesToCopy(const ButtonSet& set,
                                              const QString& defaultDescriptionField);

struct CopyFailure {
    QString source;
    QString description;
    int code = 0;
    QString target;
    bool atDestination = false; // the destination failed, not the source
};

// One failure on one line, for a terminal or a message: the source, the
// target, and which of them failed why.
[[nodiscard]] QString failureLine(const CopyFailure& failure);

// Asked between two blocks of a picture being copied, from the thread that
// copies: true stops that copy, leaving the earlier target as it was.
using CopyStop = std::function<bool()>;

// Copies `source` over `target` as cp would, except that a copy never shows
// half made: it is written into an anonymous file in the target's folder
// (O_TMPFILE), flushed to the disk, given a short hidden name and renamed
// over the target, so no signal, crash or power loss leaves a fragment behind
// or the earlier target damaged. A new copy takes the source's permissions
// less the umask; a copy that replaces a file keeps that file's mode, and its
// owner and group where the program may set them. Only regular files are
// copied. A failure carries the system's description and number; a stopped
// copy fails with ECANCELED. A target that is the source itself is left alone
// and counts as copied.
[[nodiscard]] std::optional<CopyFailure> copyImageFile(const QString& source, const QString& target,
                                                       const CopyStop& stop = {});

// Where a file system refuses anonymous files, the copy goes into a short
// named temporary instead, which removeCopyTemporaryOnSignals() takes away on
// a signal. `Named` starts there.
enum class CopyTemporary { Anonymous, Named };
[[nodiscard]] std::optional<CopyFailure> copyImageFileVia(CopyTemporary first,
                                                          const QString& source,
                                                          const QString& target,
                                                          const CopyStop& stop = {});

// From now on SIGHUP, SIGINT and SIGTERM first remove the named temporary of
// the copy in progress, if any, then end the program as they would have.
void removeCopyTemporaryOnSignals();

// What copies one image; copyImageFile unless a caller brings its own.
using FileCopier = std::function<std::optional<CopyFailure>(
    const QString& source, const QString& target, const CopyStop& stop)>;

// What a copy run asks of whoever started it.
class CopyQuestions {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~CopyQuestions() = default;
    // The target exists (FileExist) and the run was told to ask.
    virtual Answer overwrite(const QString& target) = 0;
    // Called before each image and after the last; false cancels the run.
    virtual bool progress(int done, int total) = 0;
    // Called between two blocks of each picture, from the thread that copies:
    // true stops the picture in progress and cancels the run.
    [[nodiscard]] virtual bool stopped() { return false; }
};

enum class ExistingImages { Replace, Ask };

struct CopyRun {
    bool cancelled = false;
    int copied = 0;
    QList<CopyFailure> failures; // in the order they happened
};

// Where the copy of `source` goes in `folder` (ending in '/', as CheckSlash gives
// it): the folder followed by the file name the path helpers take from `source`.
[[nodiscard]] QString copyTarget(const QString& folder, const QString& source);

// The targets a run told to ask would ask about, each once: images already
// in `folder`, and those an earlier image of the same run writes first.
[[nodiscard]] QStringList targetsToAsk(const QList<ImageToCopy>& images, const QString& folder);

// Copies every image into `folder` (ending in '/', as CheckSlash gives it) under its
// file name, when that is a plain file name (copyNameProblem); any other is a
// failed copy and nothing is written for it. Failures are collected and the
// run goes on; a Cancel ends it at once with what was copied so far kept.
[[nodiscard]] CopyRun copyImages(const QList<ImageToCopy>& images, const QString& folder,
                                 ExistingImages existing, CopyQuestions& questions,
                                 const FileCopier& copy = copyImageFile);

// The error log's bytes (CR LF, in the data file's code page rule): the header dated `date`
// DD/MM/YYYY, two lines per failure.
[[nodiscard]] QByteArray errorLog(const QList<CopyFailure>& failures, QDate date);

// twk_error.log in the user's home folder.
[[nodiscard]] QString errorLogPath();

// What the user is told of a run's failures once errorLog is written to
// errorLogPath(): the headline, then where the details are or, when the log
// could not be written, that, for the caller to go on with the failures.
struct FailureReport {
    QString headline;
    QString logLine;
    bool logged = false;
};
[[nodiscard]] FailureReport logFailures(const QList<CopyFailure>& failures, QDate date);
