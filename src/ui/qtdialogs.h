// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs.h"

#include <QPointer>
#include <QProgressDialog>

// The dialogs as Qt shows them.
class QtDialogs final : public Dialogs {
public:
    Answer messageBox(QWidget* owner, const QString& text, const QString& title, Icon icon,
                      Buttons buttons) override;
    QString inputBox(QWidget* owner, const QString& prompt, const QString& title,
                     const QString& defaultText) override;
    FileChoice openFile(QWidget* owner, const QString& title, const QString& filter,
                        const QString& initialFileName) override;
    FileChoice saveFile(QWidget* owner, const QString& title, const QString& filter,
                        const QString& initialFileName) override;
    QString chooseFolder(QWidget* owner, const QString& title) override;
    bool progress(QWidget* owner, const QString& text, int done, int total) override;
    void endProgress() override;

private:
    QPointer<QProgressDialog> m_progress;
};
