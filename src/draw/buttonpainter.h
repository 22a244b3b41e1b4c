// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drawrules.h"

#include <QFont>
#include <QImage>
#include <QSizeF>
#include <QString>

// Draws a set's pictures in one style with Qt's text layout, which shapes
// every script (joined Arabic, right to left where the text runs so) and takes
// what the chosen font lacks from the fonts installed beside it. Needs a
// QGuiApplication; the offscreen platform serves.
class ButtonPainter {
public:
    enum class Picture { MouseOut, MouseOver, Description };

    ButtonPainter(DrawStyle style, const QString& family);

    // The room a label takes on a button: the wider and taller of its two
    // states, as MouseOver draws it bold.
    [[nodiscard]] QSizeF measureLabel(const QString& text) const;
    // The room a text takes on a description picture.
    [[nodiscard]] QSizeF measureDescription(const QString& text) const;

    // The characters of `text` that no installed font can draw (without
    // repeats), empty when every one is covered.
    [[nodiscard]] QString uncovered(const QString& text) const;

    // One picture of `size` at 1x, drawn at `scale` times its pixels.
    [[nodiscard]] QImage draw(Picture picture, const QString& text, QSize size, int scale) const;

private:
    [[nodiscard]] QFont fontFor(Picture picture) const;

    DrawStyle m_style;
    QFont m_font;
};
