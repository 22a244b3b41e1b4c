// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawrules.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

const QList<DrawStyle>& builtInStyles()
{
    // Every style reads at least 4.5:1 in both states; the MouseOver state
    // is bold and marked by a line or a border as well as by its colour.
    static const QList<DrawStyle> styles = {
        {QStringLiteral("bar"),
         QStringLiteral("a flat bar, white on navy; MouseOver lighter, bold and underlined"),
         DrawShape::Bar,
         OverCue::BoldUnderlined,
         {0x1F3A5F, 0x2E5C8A, 0xFFFFFF},
         QStringLiteral("DejaVu Sans"),
         15,
         16,
         8,
         32},
        {QStringLiteral("pill"),
         QStringLiteral("a rounded pill, navy on pale blue; MouseOver deeper, bold, with a ring"),
         DrawShape::Pill,
         OverCue::BoldRing,
         {0xE3ECF7, 0xC5D7EE, 0x12263F},
         QStringLiteral("DejaVu Sans"),
         15,
         22,
         8,
         34},
        {QStringLiteral("tab"),
         QStringLiteral("an outlined tab, black on white; MouseOver grey, bold, with a thick "
                        "border"),
         DrawShape::Tab,
         OverCue::BoldThickBorder,
         {0xFFFFFF, 0xE8ECF1, 0x1A1A1A},
         QStringLiteral("DejaVu Sans"),
         15,
         18,
         8,
         32},
    };
    return styles;
}

std::optional<DrawStyle> findStyle(const QString& name)
{
    for (const DrawStyle& style : builtInStyles()) {
        if (style.name == name)
            return style;
    }
    return std::nullopt;
}

double relativeLuminance(Rgb color)
{
    const auto channel = [color](int shift) {
        const double c = ((color >> shift) & 0xFF) / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(16) + 0.7152 * channel(8) + 0.0722 * channel(0);
}

double contrastRatio(Rgb a, Rgb b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::optional<Rgb> parseColor(QStringView text)
{
    if (text.startsWith(u'#'))
        text = text.sliced(1);
    if (text.size() != 3 && text.size() != 6)
        return std::nullopt;
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    if (!ok || text.contains(u'+') || text.contains(u'-'))
        return std::nullopt;
    if (text.size() == 6)
        return value;
    // #RGB stands for #RRGGBB.
    const uint r = (value >> 8) & 0xF, g = (value >> 4) & 0xF, b = value & 0xF;
    return (r * 0x11) << 16 | (g * 0x11) << 8 | b * 0x11;
}

std::optional<DrawColors> parseColors(QStringView text)
{
    const QList<QStringView> parts = text.split(u',');
    if (parts.size() != 3)
        return std::nullopt;
    const auto out = parseColor(parts[0].trimmed());
    const auto over = parseColor(parts[1].trimmed());
    const auto ink = parseColor(parts[2].trimmed());
    if (!out || !over || !ink)
        return std::nullopt;
    return DrawColors{*out, *over, *ink};
}

QString colorName(Rgb color)
{
    return QStringLiteral("#%1").arg(color & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

QString contrastRefusal(const DrawColors& colors)
{
    const double out = contrastRatio(colors.text, colors.out);
    const double over = contrastRatio(colors.text, colors.over);
    const bool outLower = out <= over;
    const double lower = outLower ? out : over;
    if (lower >= MinContrast)
        return {};
    return QStringLiteral("the text %1 on the %2 background %3 has a contrast of %4:1; at "
                          "least 4.5:1 is needed")
        .arg(colorName(colors.text),
             outLower ? QStringLiteral("MouseOut") : QStringLiteral("MouseOver"),
             colorName(outLower ? colors.out : colors.over),
             QString::number(std::floor(lower * 100) / 100, 'f', 2));
}

std::optional<QSize> parseSize(QStringView text)
{
    static const QRegularExpression form(QStringLiteral("^([1-9][0-9]{0,4})x([1-9][0-9]{0,4})$"));
    const QRegularExpressionMatch match = form.match(text.toString());
    if (!match.hasMatch())
        return std::nullopt;
    return QSize(match.captured(1).toInt(), match.captured(2).toInt());
}

PictureLayout layoutPictures(const QList<QSizeF>& labels, const DrawStyle& style,
                             std::optional<QSize> fixed)
{
    PictureLayout layout;
    if (fixed) {
        layout.size = *fixed;
        layout.tooLow = fixed->height() < MinPictureHeight;
        const double roomX = fixed->width() - 2.0 * style.paddingX;
        const double roomY = fixed->height() - 2.0 * style.paddingY;
        for (qsizetype i = 0; i < labels.size(); ++i) {
            if (labels[i].width() > roomX || labels[i].height() > roomY)
                layout.refused << static_cast<int>(i);
        }
        return layout;
    }
    double width = 0;
    double height = 0;
    for (const QSizeF& label : labels) {
        width = std::max(width, label.width());
        height = std::max(height, label.height());
    }
    layout.size = QSize(static_cast<int>(std::ceil(width)) + 2 * style.paddingX,
                        std::max({static_cast<int>(std::ceil(height)) + 2 * style.paddingY,
                                  style.minHeight, MinPictureHeight}));
    return layout;
}

QStringList pictureStems(const QStringList& names)
{
    QStringList stems;
    stems.reserve(names.size());
    const int digits = names.size() >= 100 ? 3 : 2;
    for (qsizetype i = 0; i < names.size(); ++i) {
        // Decomposed, an accented letter is its ASCII letter and a mark to drop.
        QString slug;
        for (const QChar c : names[i].normalized(QString::NormalizationForm_KD)) {
            if (c.unicode() < 0x80 && c.isLetterOrNumber())
                slug += c;
            else if (!c.isMark() && !slug.endsWith(u'-'))
                slug += u'-';
        }
        while (slug.startsWith(u'-'))
            slug.remove(0, 1);
        slug.truncate(40);
        while (slug.endsWith(u'-'))
            slug.chop(1);
        QString stem = QStringLiteral("%1").arg(i + 1, digits, 10, QLatin1Char('0'));
        if (!slug.isEmpty())
            stem += u'-' + slug;
        stems << stem;
    }
    return stems;
}
