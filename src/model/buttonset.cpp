// SPDX-License-Identifier: GPL-3.0-or-later
#include "buttonset.h"

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

bool refersToImages(const ButtonSet& set)
{
    const int n = leadingButtonCount(set);
    if (n == 0)
        return false;
    for (int i = 0; i < n; ++i) {
        const ButtonRecord& b = set.Buttons[i];
        if (!b.MouseOutImage.isEmpty() || !b.MouseOverImage.isEmpty() ||
            !b.DescriptionImage.isEmpty())
            return true;
    }
    return !set.DefaultDescriptionImage.isEmpty();
}
