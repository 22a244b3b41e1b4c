// SPDX-License-Identifier: GPL-3.0-or-later
#include "buttonset.h"

#include <algorithm>

int leadingButtonCount(const ButtonSet& set)
{
    int n = 0;
    while (n < MaxButtons && !set.Buttons[n].Name.isEmpty())
        ++n;
    return n;
}

void compactAfterRemoval(ButtonSet& set, int index, int count)
{
    for (int i = index; i < count; ++i)
        set.Buttons[i] = i < count - 1 ? set.Buttons[i + 1] : ButtonRecord{};
}

void eraseAllRecords(ButtonSet& set)
{
    set.Buttons.fill(ButtonRecord{});
}

std::span<const ButtonRecord> leadingButtons(const ButtonSet& set)
{
    return std::span(set.Buttons).first(std::size_t(leadingButtonCount(set)));
}

QList<ButtonPicture> buttonPictures(std::span<const ButtonRecord> buttons)
{
    QList<ButtonPicture> pictures;
    for (int k = 0; k < int(buttons.size()); ++k) {
        const ButtonRecord& b = buttons[std::size_t(k)];
        pictures += {{k, PictureField::MouseOut, b.MouseOutImage},
                     {k, PictureField::MouseOver, b.MouseOverImage},
                     {k, PictureField::Description, b.DescriptionImage}};
    }
    return pictures;
}

bool refersToImages(const ButtonSet& set)
{
    const QList<ButtonPicture> pictures = buttonPictures(leadingButtons(set));
    return !pictures.isEmpty() &&
           (!set.DefaultDescriptionImage.isEmpty() ||
            std::any_of(pictures.begin(), pictures.end(),
                        [](const ButtonPicture& p) { return !p.path.isEmpty(); }));
}
