// SPDX-License-Identifier: GPL-3.0-or-later
#include "demobox.h"

#include <QGuiApplication>
#include <QMouseEvent>

DemoBox::DemoBox(QWidget* parent) : QLabel(parent)
{
    setMouseTracking(true);
}

void DemoBox::enterEvent(QEnterEvent* event)
{
    // Coming onto the box is its first move: it lights at once, even when
    // the pointer comes straight from the other button.
    emit mouseMoved(QGuiApplication::mouseButtons(), event->modifiers(), event->position());
    QLabel::enterEvent(event);
}

void DemoBox::leaveEvent(QEvent* event)
{
    emit mouseLeft();
    QLabel::leaveEvent(event);
}

void DemoBox::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event->buttons(), event->modifiers(), event->position());
}

void DemoBox::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseReleased(event->button(), event->modifiers(), event->position());
}
