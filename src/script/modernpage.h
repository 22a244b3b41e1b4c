// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "buttonset.h"
#include "pagegenerator.h"

#include <QHash>
#include <QSize>
#include <QString>
#include <QStringList>

// What the modern page needs beside the set. `sizes` maps an image path, as
// the set holds it, to the picture's size; a path it lacks (or maps to an
// invalid size) gets no width and height.
struct ModernPageOptions {
    PageMode mode = PageMode::Page;
    QString lang;
    QString title;
    QHash<QString, QSize> sizes;
};

// The leading buttons of `set` as an HTML5 page that looks as buildPage's
// does, with the rollover in CSS alone: hovering and keyboard focus show the
// same pictures, a pointer that cannot hover just follows the link, and no
// script may run. Every text from the set is escaped or percent-encoded; a
// picture whose source cannot be formed is left out, and what was showing
// stays.
[[nodiscard]] QString buildModernPage(const ButtonSet& set, const ModernPageOptions& options);

// The image paths the modern page shows pictures of, each once: those whose
// sizes it wants.
[[nodiscard]] QStringList modernPagePictures(const ButtonSet& set);
