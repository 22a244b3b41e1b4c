// SPDX-License-Identifier: GPL-3.0-or-later
#include "dirbrowser.h"

#include "dialogs.h"

DirBrowser::DirBrowser(Dialogs& dialogs, QWidget* parent) : QLabel(parent), m_dialogs(dialogs)
{
    const QPixmap icon(QStringLiteral(":/icons/folder.png"));
    setPixmap(icon);
    setFixedSize(icon.size());
    setAccessibleName(QStringLiteral("Folder browser"));
}

QString DirBrowser::BrowseForFolder(QWidget* OwnerFrmHwnD, const QString& DialogTitle)
{
    return m_dialogs.chooseFolder(OwnerFrmHwnD, DialogTitle);
}
