// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The host's words, each on one line of standard error as "rollcraft host: MESSAGE".
void hostSays(const QString& message);

// Said, and where standard error is no terminal (the host started from the
// desktop's menu, where nobody reads it) shown as a desktop notification too.
void hostTells(const QString& message);
