// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// A picture box of the demo: reports the pointer coming onto it, every move
// over it (mouse tracking is on) and its going, and every released button,
// with positions in its own pixels.
class DemoBox final : public QLabel {
    Q_OBJECT
public:
    explicit DemoBox(QWidget* parent = nullptr);

signals:
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPointF position);
    void mouseLeft();
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF position);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
