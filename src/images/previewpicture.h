// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// A picture element that reports a click. It takes no focus; a screen reader
// reaches it through its accessible "press" action, which clicks it too. The
// sibling label named by its "failureLabel" property says when its picture
// cannot be shown, and is read as part of its name while visible.
class PreviewPicture : public QLabel {
    Q_OBJECT
public:
    explicit PreviewPicture(QWidget* parent = nullptr);

    // The label that reports a failed load of this picture, if any.
    [[nodiscard]] QLabel* failureLabel() const;
    // How much of a picture, from its top left corner, the frame around this
    // element shows: the picture is shown unscaled from here and the frame
    // cuts off the rest.
    [[nodiscard]] QSize shownSize() const;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
