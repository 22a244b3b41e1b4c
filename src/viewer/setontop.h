// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Puts a window into the layer above all others (true) or back into the
// ordinary one (false), where it is, at its size.
void SetOnTop(QWidget* window, bool onTop);
