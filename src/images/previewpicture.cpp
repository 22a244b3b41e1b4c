// SPDX-License-Identifier: GPL-3.0-or-later
#include "previewpicture.h"

#include <QMouseEvent>

void PreviewPicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}
