// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

class Dialogs;

// A 32 x 32 picture that lets the user pick a folder. It keeps the icon's
// size whatever size it is asked for.
class DirBrowser final : public QLabel {
    Q_OBJECT
public:
    DirBrowser(Dialogs& dialogs, QWidget* parent = nullptr);

    // The full path of the folder chosen in a folder-only dialog owned by
    // `OwnerFrmHwnD`, or the empty text when the user cancels.
    [[nodiscard]] QString BrowseForFolder(QWidget* OwnerFrmHwnD,
                                          const QString& DialogTitle = QString());

private:
    Dialogs& m_dialogs;
};
