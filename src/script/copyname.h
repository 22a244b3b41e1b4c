// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// A copy of a picture is named in the destination folder by the file name the
// path helpers take from its path. Only a plain file name stays inside the
// folder: a path such as "/home/ann/dl/evil\../.bashrc" (a folder "evil\.." on
// this platform) gives "../.bashrc". Says why `name` cannot be a copy's name,
// or the empty text when it can.
[[nodiscard]] QString copyNameProblem(QStringView name);
