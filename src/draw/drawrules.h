// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

// The rules `rollcraft draw` keeps when it draws a set's pictures from its
// words: the built-in styles, the contrast every style and colour choice must
// reach, one size for every button, and safe names for the files. The drawing
// itself measures the labels and passes the sizes in.

// A colour as 0xRRGGBB.
using Rgb = quint32;

// The three colours of a style: the MouseOut and MouseOver backgrounds and the
// text, which is the same in both states.
struct DrawColors {
    Rgb out = 0;
    Rgb over = 0;
    Rgb text = 0;
};

// How the MouseOver picture differs from the MouseOut one beyond its colour,
// so that nobody needs to tell two colours apart to see it.
enum class OverCue { BoldUnderlined, BoldRing, BoldThickBorder };

enum class DrawShape { Bar, Pill, Tab };

struct DrawStyle {
    QString name;
    QString description;
    DrawShape shape = DrawShape::Bar;
    OverCue cue = OverCue::BoldUnderlined;
    DrawColors colors;
    QString family;      // the font family unless --font names another
    int fontPixels = 15; // text size in pixels at 1x
    int paddingX = 16;   // room left and right of the widest label
    int paddingY = 7;    // room above and below the text line
    int minHeight = 32;  // the pictures' height unless the text needs more
};

// Web authors' rules for text on a picture.
inline constexpr double MinContrast = 4.5;
inline constexpr int MinPictureHeight = 24;

[[nodiscard]] const QList<DrawStyle>& builtInStyles();
[[nodiscard]] std::optional<DrawStyle> findStyle(const QString& name);

// The relative luminance of a colour and the contrast of two, as the web
// content accessibility guidelines define them: 1 for equal colours up to 21
// for black on white.
[[nodiscard]] double relativeLuminance(Rgb color);
[[nodiscard]] double contrastRatio(Rgb a, Rgb b);

// "#RRGGBB", "RRGGBB", "#RGB" or "RGB", in either case.
[[nodiscard]] std::optional<Rgb> parseColor(QStringView text);
// "OUT,OVER,TEXT", each a colour as parseColor reads it.
[[nodiscard]] std::optional<DrawColors> parseColors(QStringView text);
[[nodiscard]] QString colorName(Rgb color); // "#rrggbb"

// Why the colours cannot be drawn with (the lower contrast, in which state,
// with its ratio rounded down so a refused one never reads as 4.50:1), or an
// empty text when both states reach MinContrast.
[[nodiscard]] QString contrastRefusal(const DrawColors& colors);

// "WxH" with positive numbers.
[[nodiscard]] std::optional<QSize> parseSize(QStringView text);

// The one size of every button of a set, from the measured size of each
// label: the widest decides the width and the tallest the height, with the
// style's padding around it and never below its height, or `fixed` when
// given. `refused` lists the labels (by index) that do not fit inside the
// padding of that size; nothing is ever cut to fit.
struct PictureLayout {
    QSize size;
    QList<int> refused;
    bool tooLow = false; // a fixed height below MinPictureHeight
};
[[nodiscard]] PictureLayout layoutPictures(const QList<QSizeF>& labels, const DrawStyle& style,
                                           std::optional<QSize> fixed = std::nullopt);

// The file name stems of a set's pictures, one per button from its position
// (1-based) and name: the name reduced to ASCII letters and digits (accents
// dropped, everything else a single "-"), so no name can reach another folder,
// hide a file or need a character the data file's code page cannot hold. The
// position keeps them unique; "default" is reserved for the default
// description picture.
[[nodiscard]] QStringList pictureStems(const QStringList& names);
inline constexpr char DefaultDescriptionStem[] = "default-description";
