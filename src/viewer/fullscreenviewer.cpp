// SPDX-License-Identifier: GPL-3.0-or-later
#include "fullscreenviewer.h"

#include <QLabel>

#include <cmath>

FullScreenViewer::FullScreenViewer(const PicturePart& picture, QWidget* owner)
    : QWidget(owner, Qt::Window), m_Image1(new QLabel(this)), m_part(picture.rect),
      m_pictureSize(picture.size)
{
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setPalette(QPalette(Qt::black));
    setAutoFillBackground(true);
    m_Image1->setObjectName(QStringLiteral("Image1"));
    m_Image1->setToolTip(QStringLiteral("Click to return"));
    // The picture ignores clicks: they reach the window, which closes.
    m_Image1->setPixmap(QPixmap::fromImage(picture.image));
    m_Image1->resize(m_part.size());
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
    m_Image1->move(centredCorner(m_pictureSize, size()) + m_part.topLeft());
}

void FullScreenViewer::Form_Click()
{
    close();
}

void FullScreenViewer::Form_KeyDown()
{
    close();
}

QPoint centredCorner(QSize picture, QSize window)
{
    // In floating point, as halves of odd sizes fall between pixels.
    const double left = window.width() / 2.0 - picture.width() / 2.0;
    const double top = window.height() / 2.0 - picture.height() / 2.0;
    return {static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top))};
}

QRect centredPart(QSize picture, QSize window)
{
    return QRect(-centredCorner(picture, window), window) & QRect(QPoint(), picture);
}

FullScreenViewer* openFullScreenViewer(const PicturePart& picture, QWidget* owner)
{
    auto* viewer = new FullScreenViewer(picture, owner);
    viewer->setScreen(owner->screen());
    viewer->showFullScreen();
    viewer->activateWindow();
    return viewer;
}
