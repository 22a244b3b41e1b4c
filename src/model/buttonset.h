// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "buttonrecord.h"

#include <QStringList>
#include <array>

inline constexpr int MaxButtons = 100;

// The set the main window edits for its whole run. The number of buttons is
// the number of entries of the window's list; slots past it stay empty.
struct ButtonSet {
    std::array<ButtonRecord, MaxButtons> Buttons;
    QString DefaultDescriptionImage;
};

// Buttons found by walking the slots from 0 up to the first empty name: the
// set as the page generator, the image copier and the list rebuild see it.
[[nodiscard]] int leadingButtonCount(const ButtonSet& set);

// Moves the records after `index` up by one and empties slot count-1.
void compactAfterRemoval(ButtonSet& set, int index, int count);

// Empties every field of every slot.
void eraseAllRecords(ButtonSet& set);

// True when the set has buttons and at least one image to copy.
[[nodiscard]] bool refersToImages(const ButtonSet& set);
