// SPDX-License-Identifier: GPL-3.0-or-later
#include "fullscreenviewer.h"

#include "setontop.h"

#include <QLabel>
#include <QScreen>

#include <cmath>

FullScreenViewer::FullScreenViewer(const QPixmap& picture)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_Image1(new QLabel(this))
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

void FullScreenViewer::Form_Click()
{
    close();
}

void FullScreenViewer::Form_KeyDown()
{
    close();
}

FullScreenViewer* openFullScreenViewer(const QPixmap& picture, QScreen* screen)
{
    auto* viewer = new FullScreenViewer(picture);
    const QRect area = screen->geometry();
    viewer->setScreen(screen);
    viewer->setGeometry(area);
    // Centred in floating point; a picture larger than the screen gets
    // negative offsets and is cut off evenly.
    const double left = area.width() / 2.0 - picture.width() / 2.0;
    const double top = area.height() / 2.0 - picture.height() / 2.0;
    viewer->Image1()->move(static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top)));
    viewer->show();
    SetOnTop(viewer, true);
    viewer->activateWindow();
    return viewer;
}
