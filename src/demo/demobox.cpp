// SPDX-License-Identifier: GPL-3.0-or-later
#include "demobox.h"

#include <QMouseEvent>

DemoBox::DemoBox(QWidget* parent) : QLabel(parent)
{
    setMouseTracking(true);
}

void DemoBox::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->buttons(), event->modifiers(), event->position());
}

void DemoBox::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseReleased(event->button(), event->modifiers(), event->position());
}
