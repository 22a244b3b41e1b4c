// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class Form2;
}

// Form2: the program's name, maker and version.
class AboutWindow final : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* mainWindow);
    ~AboutWindow() override;

private:
    void Form_Load();

    std::unique_ptr<Ui::Form2> m_ui;
};
