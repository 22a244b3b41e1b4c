// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// A picture box of the demo: reports every pointer move (mouse tracking is
// on, and while it holds the capture the moves outside it too) and every
// released button, with positions in its own pixels.
class DemoBox final : public QLabel {
    Q_OBJECT
public:
    explicit DemoBox(QWidget* parent = nullptr);

signals:
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPointF position);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF position);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
