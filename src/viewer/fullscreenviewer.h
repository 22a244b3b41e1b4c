// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "imageloading.h"

#include <QWidget>

class QLabel;

// Form1: one picture at its natural size, centred on black, in the window's
// own full-screen state. Any click or key closes and destroys it.
class FullScreenViewer final : public QWidget {
    Q_OBJECT
public:
    // A window of its own, owned by `owner`: it goes when the owner goes.
    // It holds only the part of the picture a screen of its size shows.
    FullScreenViewer(const PicturePart& picture, QWidget* owner);

    [[nodiscard]] QLabel* Image1() const { return m_Image1; }
    // Names the file shown, for screen readers; nothing on screen says it.
    void setFilePath(const QString& path);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Click();
    void Form_KeyDown();

    QLabel* m_Image1;
    QRect m_part;
    QSize m_pictureSize;
};

// Where the top left corner of a picture of size `picture` lies when it is
// centred in a window of size `window`: negative on the sides where the
// picture is larger, so that its middle stays at the window's middle.
[[nodiscard]] QPoint centredCorner(QSize picture, QSize window);
// The part of such a picture that the window shows.
[[nodiscard]] QRect centredPart(QSize picture, QSize window);

// Opens the viewer for `picture`, owned by `owner`, full screen on the
// owner's screen.
FullScreenViewer* openFullScreenViewer(const PicturePart& picture, QWidget* owner);
