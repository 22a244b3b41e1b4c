// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "buttonset.h"

#include <QDateTime>
#include <QString>

enum class PageMode {
    Page,    // relative image sources: the button's prefix and the bare file name
    Preview, // file:/// sources pointing at the local files
};

// The complete button-menu page for the leading buttons of `set`: 68 + 4n
// lines, each followed by CR LF. Never fails: a line whose image source cannot
// be formed (preview mode, a path shorter than two characters) is left empty.
[[nodiscard]] QString buildPage(const ButtonSet& set, PageMode mode);

// The page's line count for n buttons.
[[nodiscard]] constexpr int pageLineCount(int n)
{
    return 68 + 4 * n;
}

// The title "Insert script" gives the page: "Rollcraft II dd-mm-yy - hh-mm-ss".
[[nodiscard]] QString scriptTitle(const QDateTime& when);
