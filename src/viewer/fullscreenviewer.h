// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;

// Form1: one picture at its natural size, centred on a black window that
// covers the screen. Any click or key closes and destroys it.
class FullScreenViewer final : public QWidget {
    Q_OBJECT
public:
    explicit FullScreenViewer(const QPixmap& picture);

    [[nodiscard]] QLabel* Image1() const { return m_Image1; }
    // Names the file shown, for screen readers; nothing on screen says it.
    void setFilePath(const QString& path);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Click();
    void Form_KeyDown();

    QLabel* m_Image1;
};

// Opens the viewer for `picture` over the whole of `screen`, above every
// other window.
FullScreenViewer* openFullScreenViewer(const QPixmap& picture, QScreen* screen);
