// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// `text` as one line, the way a one-line field holds what is pasted into it:
// line breaks (CR LF, a lone CR, a lone LF) at its end are dropped, each one
// inside it becomes a blank. A value of the data file is one line of it.
[[nodiscard]] QString singleLine(QStringView text);
