// SPDX-License-Identifier: GPL-3.0-or-later
#include "buttonlist.h"

#include <QSignalBlocker>

ButtonList::ButtonList(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    setMaxVisibleItems(20);
    connect(this, &QComboBox::activated, this, &ButtonList::entrySelected);
}

void ButtonList::appendEntry(const QString& name)
{
    const QSignalBlocker blocker(this);
    const int selected = currentIndex();
    addItem(name);
    // Qt selects the first entry of an empty list by itself; the list keeps
    // no selection until one is made.
    if (selected != currentIndex())
        setCurrentIndex(selected);
}

void ButtonList::selectEntry(int index)
{
    {
        const QSignalBlocker blocker(this);
        setCurrentIndex(index);
    }
    emit entrySelected();
}

void ButtonList::clearEntries()
{
    const QSignalBlocker blocker(this);
    clear();
}

void ButtonList::setEntryText(int index, const QString& name)
{
    const QSignalBlocker blocker(this);
    setItemText(index, name);
}
