// SPDX-License-Identifier: GPL-3.0-or-later
#include "buttonpainter.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <utility>

namespace {

QColor colorOf(Rgb rgb)
{
    return QColor::fromRgb(static_cast<QRgb>(rgb) | 0xFF000000u);
}

// One line of text, never wrapped, centred in `width` (a huge width when only
// measuring), in the direction its first strong character gives.
void layOut(QTextLayout& layout, qreal width)
{
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(layout.text().isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(width);
    layout.endLayout();
}

QSizeF measured(const QString& text, const QFont& font)
{
    QTextLayout layout(text, font);
    layOut(layout, 1e6);
    const QTextLine line = layout.lineAt(0);
    return line.isValid() ? QSizeF(line.naturalTextWidth(), line.height()) : QSizeF();
}

// Characters that take no glyph of their own: spaces, controls, and the
// invisible format characters (joiners, direction marks).
bool drawsNothing(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return QChar::isSpace(c) || category == QChar::Other_Control || category == QChar::Other_Format;
}

} // namespace

ButtonPainter::ButtonPainter(DrawStyle style, const QString& family) : m_style(std::move(style))
{
    m_font.setFamilies({family});
    m_font.setPixelSize(m_style.fontPixels);
    // Unhinted glyphs stand at the same places at 1x and at 2x, so the 2x
    // picture is the 1x one drawn finer, not laid out anew.
    m_font.setHintingPreference(QFont::PreferNoHinting);
}

QFont ButtonPainter::fontFor(Picture picture) const
{
    QFont font = m_font;
    if (picture == Picture::MouseOver) {
        font.setBold(true);
        font.setUnderline(m_style.cue == OverCue::BoldUnderlined);
    }
    return font;
}

QSizeF ButtonPainter::measureLabel(const QString& text) const
{
    return measured(text, fontFor(Picture::MouseOut))
        .expandedTo(measured(text, fontFor(Picture::MouseOver)));
}

QSizeF ButtonPainter::measureDescription(const QString& text) const
{
    return measured(text, fontFor(Picture::Description));
}

QString ButtonPainter::uncovered(const QString& text) const
{
    // The fonts Qt's layout chose for the text, fallbacks included; a
    // character none of them holds would show as an empty box.
    QTextLayout layout(text, m_font);
    layOut(layout, 1e6);
    QList<QRawFont> fonts;
    for (const QGlyphRun& run : layout.glyphRuns())
        fonts << run.rawFont();
    QString missing;
    for (const char32_t c : text.toUcs4()) {
        if (drawsNothing(c) || missing.contains(QString::fromUcs4(&c, 1)))
            continue;
        if (std::none_of(fonts.cbegin(), fonts.cend(),
                         [c](const QRawFont& font) { return font.supportsCharacter(c); }))
            missing += QString::fromUcs4(&c, 1);
    }
    return missing;
}

QImage ButtonPainter::draw(Picture picture, const QString& text, QSize size, int scale) const
{
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

    const bool over = picture == Picture::MouseOver;
    const QColor background = colorOf(over ? m_style.colors.over : m_style.colors.out);
    const QColor ink = colorOf(m_style.colors.text);
    const QRectF box(QPointF(0, 0), QSizeF(size));
    const DrawShape shape = picture == Picture::Description ? DrawShape::Bar : m_style.shape;
    switch (shape) {
    case DrawShape::Bar:
        painter.fillRect(box, background);
        break;
    case DrawShape::Pill: {
        const qreal radius = box.height() / 2;
        painter.setPen(Qt::NoPen);
        painter.setBrush(background);
        painter.drawRoundedRect(box, radius, radius);
        if (over) {
            painter.setPen(QPen(ink, 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(box.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
        }
        break;
    }
    case DrawShape::Tab: {
        // Rounded above, square below, outlined; MouseOver's outline is thicker.
        const qreal pen = over ? 3 : 1;
        const QRectF edge = box.adjusted(pen / 2, pen / 2, -pen / 2, 0);
        const qreal radius = 6;
        QPainterPath path(edge.bottomLeft());
        path.lineTo(edge.left(), edge.top() + radius);
        path.arcTo(QRectF(edge.topLeft(), QSizeF(2 * radius, 2 * radius)), 180, -90);
        path.lineTo(edge.right() - radius, edge.top());
        path.arcTo(QRectF(edge.right() - 2 * radius, edge.top(), 2 * radius, 2 * radius), 90, -90);
        path.lineTo(edge.bottomRight());
        painter.setPen(QPen(ink, pen));
        painter.setBrush(background);
        painter.drawPath(path);
        break;
    }
    }

    QTextLayout layout(text, fontFor(picture));
    layOut(layout, size.width() - 2.0 * m_style.paddingX);
    QTextLine line = layout.lineAt(0);
    if (line.isValid()) {
        line.setPosition(QPointF(m_style.paddingX, (size.height() - line.height()) / 2));
        painter.setPen(ink);
        layout.draw(&painter, QPointF());
    }
    return image;
}
