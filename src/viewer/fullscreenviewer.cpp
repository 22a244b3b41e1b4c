// SPDX-License-Identifier: GPL-3.0-or-later
#include "fullscreenviewer.h"

#include <QLabel>

#include <cmath>

FullScreenViewer::FullScreenViewer(const QPixmap& picture, QWidget* owner)
    : QWidget(owner, Qt::Window), m_Image1(new QLabel(this))
{
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setPalette(QPalette(Qt::black));
    setAutoFillBackground(true);
    m_Image1->setObjectName(QStringLiteral("Image1"));
    m_Image1->setToolTip(QStringLiteral("Click to return"));
    // The picture ignores clicks: they reach the window, which closes.
    m_Image1->setPixmap(picture);
    m_Image1->resize(picture.size());
}

void FullScreenViewer::setFilePath(const QString& path)
{
    setAccessibleName(QStringLiteral("Full-screen view of ") + path);
    m_Image1->setAccessibleName(path);
}

void FullScreenViewer::mousePressEvent(QMouseEvent*)
{
    Form_Click();
}

void FullScreenViewer::keyPressEvent(QKeyEvent*)
{
    Form_KeyDown();
}

void FullScreenViewer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Centred in floating point; a picture larger than the screen gets
    // negative offsets and is cut off evenly.
    const double left = width() / 2.0 - m_Image1->width() / 2.0;
    const double top = height() / 2.0 - m_Image1->height() / 2.0;
    m_Image1->move(static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top)));
}

void FullScreenViewer::Form_Click()
{
    close();
}

void FullScreenViewer::Form_KeyDown()
{
    close();
}

FullScreenViewer* openFullScreenViewer(const QPixmap& picture, QWidget* owner)
{
    auto* viewer = new FullScreenViewer(picture, owner);
    viewer->setScreen(owner->screen());
    viewer->showFullScreen();
    viewer->activateWindow();
    return viewer;
}
