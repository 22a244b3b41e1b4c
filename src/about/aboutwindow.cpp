// SPDX-License-Identifier: GPL-3.0-or-later
#include "aboutwindow.h"

#include "branding.h"
#include "ui_aboutwindow.h"

AboutWindow::AboutWindow(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::Form2>())
{
    m_ui->setupUi(this);
    setFixedSize(size());
    // The form asks for Verdana at 9.75 and 14.25 points; where it is not
    // installed the font configuration picks its stand-in (DejaVu Sans).
    for (QLabel* label : {m_ui->Label1_0, m_ui->Label1_1, m_ui->Label1_2}) {
        QFont f = label->font();
        f.setPointSizeF(label == m_ui->Label1_2 ? 14.25 : 9.75);
        label->setFont(f);
    }
    m_ui->Label1_2->setText(QString::fromUtf8(Branding::AboutCopyright));
    m_ui->Label2->setText(QString::fromUtf8(Branding::WebSite));
    connect(m_ui->Command1, &QPushButton::clicked, this, &QDialog::accept);
    Form_Load();
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::Form_Load()
{
    if (parentWidget())
        setWindowIcon(parentWidget()->windowIcon());
}
