// SPDX-License-Identifier: GPL-3.0-or-later
#include "setontop.h"

#include <QWidget>

void SetOnTop(QWidget* window, bool onTop)
{
    const QRect geometry = window->geometry();
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    // Changing a window's flags hides it; put it back as it was.
    window->setGeometry(geometry);
    if (visible)
        window->show();
}
