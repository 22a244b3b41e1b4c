// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

// The button list `Combo1`. The window's handlers rely on these rules:
// selecting an entry from code reports entrySelected() once before the call
// returns; a user's pick reports it too (also for the entry already
// selected); appending, clearing and renaming entries report nothing and
// never change which entry is selected.
class ButtonList : public QComboBox {
    Q_OBJECT
public:
    explicit ButtonList(QWidget* parent = nullptr);

    void appendEntry(const QString& name);
    void selectEntry(int index);
    void clearEntries();
    void setEntryText(int index, const QString& name);
    [[nodiscard]] int selectedIndex() const { return currentIndex(); }

signals:
    void entrySelected();
};
