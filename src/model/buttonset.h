// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "buttonrecord.h"

#include <QList>
#include <QStringList>
#include <array>
#include <span>

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
[[nodiscard]] std::span<const ButtonRecord> leadingButtons(const ButtonSet& set);

// Which picture of a button (or of the set, its default description) a path is.
enum class PictureField { MouseOut, MouseOver, Description, DefaultDescription };

// One picture field of a button: the button's index, which field, its path.
struct ButtonPicture {
    int button = 0;
    PictureField field = PictureField::MouseOut;
    QString path;
};

// Every picture field of `buttons` (leadingButtons, for what a page or a copy
// uses), button by button in the order MouseOut, MouseOver, Description; empty
// ones too.
[[nodiscard]] QList<ButtonPicture> buttonPictures(std::span<const ButtonRecord> buttons);

// Moves the records after `index` up by one and empties slot count-1.
void compactAfterRemoval(ButtonSet& set, int index, int count);

// Empties every field of every slot.
void eraseAllRecords(ButtonSet& set);

// True when the set has buttons and at least one image to copy.
[[nodiscard]] bool refersToImages(const ButtonSet& set);
