// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "buttonset.h"
#include "pagegenerator.h"

#include <QHash>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>

// What the modern page needs beside the set. `sizes` maps an image path, as
// the set holds it, to the picture's size; a path it lacks (or maps to an
// invalid size) gets no width and height. `hiDpi` holds the image paths that
// have a picture of twice the size beside them (hiDpiPicturePath), which the
// page then offers to screens of twice the density.
struct ModernPageOptions {
    PageMode mode = PageMode::Page;
    // The language tag; empty (for a fragment) leaves the language to the page
    // around it. A right-to-left language turns the menu right to left.
    QString lang;
    QString title;
    QHash<QString, QSize> sizes;
    QSet<QString> hiDpi;
    // The menu alone, to paste into a page: one root element holding its
    // style, the menu and the description area, every rule under that root.
    bool fragment = false;
    // What every class name begins with; one that is no class prefix
    // (isClassPrefix) gives "rc-".
    QString classPrefix = QStringLiteral("rc-");
    // The address of the page the menu stands on: the first button linking
    // there is marked as the current page.
    QString current;
    // The menu's accessible name; empty: the title.
    QString label;
};

// The leading buttons of `set` as an HTML5 page (or fragment) that looks as
// buildPage's does, with the rollover in CSS alone: hovering and keyboard
// focus lay the MouseOver picture over the MouseOut one (which stays, so a
// button never goes blank while its picture loads, and nothing moves), a
// pointer that cannot hover just follows the link, and no script may run.
// Every text from the set is escaped or percent-encoded; a picture whose
// source cannot be formed is left out, and what was showing stays.
[[nodiscard]] QString buildModernPage(const ButtonSet& set, const ModernPageOptions& options);

// The image paths the modern page shows pictures of, each once: those whose
// sizes it wants, and whose picture of twice the size it looks for.
[[nodiscard]] QStringList modernPagePictures(const ButtonSet& set);

// Where the picture of twice the size of `path` lies: beside it, "@2x" before
// the extension ("C:\p\home.gif" gives "C:\p\home@2x.gif"); empty where the
// path names no file.
[[nodiscard]] QString hiDpiPicturePath(const QString& path);

// Whether `prefix` can begin a CSS class name as it stands: empty, or an ASCII
// letter or '_' followed by letters, digits, '-' and '_'.
[[nodiscard]] bool isClassPrefix(QStringView prefix);

// Whether the language of tag `lang` ("ar", "he-IL", "pa-Arab") is written
// right to left.
[[nodiscard]] bool isRightToLeft(const QString& lang);
