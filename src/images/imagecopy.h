// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "buttonset.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

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

// The chosen folder with a trailing '/', never doubled (a root stays "/").
[[nodiscard]] QString destinationFolder(const QString& chosen);

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

// Copies `source` over `target`: into a new file beside the target, flushed
// to the disk, then renamed over it, so that a copy that fails or is cut
// short leaves the earlier target whole and no fragment behind. Only regular
// files are copied. A failure carries the system's description and number.
// A target that is the source itself is left alone and counts as copied.
[[nodiscard]] std::optional<CopyFailure> copyImageFile(const QString& source,
                                                       const QString& target);

// Removes the file a copy in progress is writing, if any. Safe to call from a
// signal handler, for a program that ends on a signal.
void removeCopyTemporary() noexcept;

// What copies one image; copyImageFile unless a caller brings its own.
using FileCopier =
    std::function<std::optional<CopyFailure>(const QString& source, const QString& target)>;

// What a copy run asks of whoever started it.
class CopyQuestions {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~CopyQuestions() = default;
    // The target exists (FileExist) and the run was told to ask.
    virtual Answer overwrite(const QString& target) = 0;
    // Called before each image and after the last; false cancels the run.
    virtual bool progress(int done, int total) = 0;
};

enum class ExistingImages { Replace, Ask };

struct CopyRun {
    bool cancelled = false;
    int copied = 0;
    QList<CopyFailure> failures; // in the order they happened
};

// Copies every image into `folder` (as destinationFolder gives it) under its
// file name. Failures are collected and the run goes on; a Cancel ends it at
// once with what was copied so far kept.
[[nodiscard]] CopyRun copyImages(const QList<ImageToCopy>& images, const QString& folder,
                                 ExistingImages existing, CopyQuestions& questions,
                                 const FileCopier& copy = copyImageFile);

// The error log's bytes (CR LF, in the data file's code page rule): the header dated `date`
// DD/MM/YYYY, two lines per failure.
[[nodiscard]] QByteArray errorLog(const QList<CopyFailure>& failures, QDate date);

// twk_error.log in the user's home folder.
[[nodiscard]] QString errorLogPath();
