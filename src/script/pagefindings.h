// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "datafile.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

// Something in a data file that will go wrong on the page "Insert script"
// publishes (which carries every text unescaped) or when its pictures are
// copied into one folder.
struct PageFinding {
    int button = 0; // 1 for the first button; 0 for the file or the set as a whole
    QString name;   // the button's name
    QString field;  // the field, as the window labels it
    QString effect; // what will happen
    QString remedy; // what to do about it
};

// What will go wrong for the set `read` from `bytes`: the file's own findings
// first, then each button's in list order, then the default description
// image's. Only what is certain from the texts; whether the pictures exist is
// the caller's to ask.
[[nodiscard]] QList<PageFinding> pageFindings(const DataFileReadResult& read, QByteArrayView bytes);

// One line: `button 2 "News", Alt: EFFECT; REMEDY.`
[[nodiscard]] QString findingText(const PageFinding& finding);
