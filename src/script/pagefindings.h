// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "buttonset.h"
#include "datafile.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

// Something in a data file that will go wrong on the page "Insert script"
// publishes (which carries every text unescaped) or when its pictures are
// copied into one folder: which kind of thing, where, and what it quotes. The
// words for it are the reader's.
struct PageFinding {
    // Beside each, what of the finding it fills in; a picture's kinds also
    // `picture`, the prefix's, Url's, Target's and Alt's the button alone.
    enum class Kind {
        Utf8WithoutMark,       // quoted: the first letter outside ASCII
        NoButtons,             // nothing
        PageEndsBefore,        // count: the buttons the file lists
        NoFileName,            // quoted: the path; source: the prefix as the page writes it
        FileNameEndsScript,    // quoted: the file name; its apostrophe ends the script's string
        FileNameEndsAttribute, // quoted: the file name; its " ends the picture's attribute
        FileNameBreaksAddress, // quoted: the file name; mark: its '#', '?' or '%'
        NotCopied,             // quoted: why, as copyNameProblem says
        CopiedOver,            // quoted: the file name; replaced: the picture first copied so
        PrefixBreaksScript,    // mark: the apostrophe, or the backslash the script cannot read
        PrefixDropsBackslash,
        PrefixEndsAttribute,
        PrefixBreaksAddress, // mark: its '#', '?' or '%'
        UrlEndsAttribute,    // quoted: the link up to its "
        TargetEndsAttribute, // quoted: the target up to its "
        AltEndsAttribute,
        AltBreaksScript, // mark: as for PrefixBreaksScript
    };
    // A button's picture: the button (1 for the first), its name, which one.
    struct Picture {
        int button = 0;
        QString name{};
        PictureField field = PictureField::MouseOut;
        QString path{};
        friend bool operator==(const Picture&, const Picture&) = default;
    };

    Kind kind = Kind::NoButtons;
    int button = 0; // 1 for the first button; 0 for the file or the set as a whole
    QString name{}; // the button's name
    PictureField picture = PictureField::MouseOut;
    QString quoted{};
    QChar mark{};
    QString source{};
    int count = 0;
    Picture replaced{};
    friend bool operator==(const PageFinding&, const PageFinding&) = default;
};

// What will go wrong for the set `read` from `bytes`: the file's own findings
// first, then each button's in list order, then the default description
// image's. Only what is certain from the texts; whether the pictures exist is
// the caller's to ask.
[[nodiscard]] QList<PageFinding> pageFindings(const DataFileReadResult& read, QByteArrayView bytes);
