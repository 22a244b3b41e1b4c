// SPDX-License-Identifier: GPL-3.0-or-later
#include "buttonpainter.h"
#include "commands.h"
#include "console.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QTemporaryFile>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <optional>
#include <sys/stat.h>
#include <utility>

namespace {

// The permissions a new file gets; the temporary file's 0600 would keep a
// web server from reading the picture.
mode_t fileCreationMask()
{
    static const mode_t mask = [] {
        const mode_t current = ::umask(0);
        ::umask(current);
        return current;
    }();
    return mask;
}

using Picture = ButtonPainter::Picture;

void refuse(const QString& why)
{
    writeErr(QStringLiteral("rollcraft draw: %1\n").arg(why));
}

QString buttonName(qsizetype index, const QString& name)
{
    return name.isEmpty() ? QStringLiteral("button %1 (no name)").arg(index + 1)
                          : QStringLiteral("button %1 \"%2\"").arg(index + 1).arg(name);
}

// "ก" (U+0E01), "ข" (U+0E02)
QString listed(const QString& characters)
{
    QStringList shown;
    for (const char32_t c : characters.toUcs4())
        shown << QStringLiteral("\"%1\" (U+%2)")
                     .arg(QString::fromUcs4(&c, 1))
                     .arg(static_cast<uint>(c), 4, 16, QLatin1Char('0'))
                     .toUpper();
    return shown.join(QStringLiteral(", "));
}

QString styleList()
{
    QString text;
    for (const DrawStyle& style : builtInStyles()) {
        const DrawColors& c = style.colors;
        text += QStringLiteral("%1  %2\n      colours %3,%4,%5 (contrast %6:1 and %7:1)\n")
                    .arg(style.name, -4)
                    .arg(style.description, colorName(c.out), colorName(c.over), colorName(c.text))
                    .arg(contrastRatio(c.text, c.out), 0, 'f', 1)
                    .arg(contrastRatio(c.text, c.over), 0, 'f', 1);
    }
    return text;
}

// Writes one picture at 1x as NAME.png and at 2x as NAME@2x.png; the 1x path
// on success. Each goes to a new file renamed over the old one when complete,
// so a page never shows half a picture. Unlike the data file they are not
// flushed to disk one by one: a picture lost to a power cut is drawn again
// by running the command again, and six hundred flushes would take seconds.
QString writePicture(const ButtonPainter& painter, Picture picture, const QString& text, QSize size,
                     const QString& stem)
{
    for (const int scale : {1, 2}) {
        const QString path =
            stem + (scale == 2 ? QStringLiteral("@2x.png") : QStringLiteral(".png"));
        QTemporaryFile file(QFileInfo(path).path() + QStringLiteral("/.draw-XXXXXX"));
        const bool written =
            file.open() && ::fchmod(file.handle(), 0666 & ~fileCreationMask()) == 0 &&
            painter.draw(picture, text, size, scale).save(&file, "PNG") && file.flush();
        if (!written || ::rename(QFile::encodeName(file.fileName()).constData(),
                                 QFile::encodeName(path).constData()) != 0) {
            refuse(QStringLiteral("cannot write %1: %2")
                       .arg(path, written ? QString::fromLocal8Bit(std::strerror(errno))
                                          : file.errorString()));
            return {};
        }
        file.setAutoRemove(false);
    }
    return stem + QStringLiteral(".png");
}

// Keeps the file about to be replaced as NAME~; true when there is none.
bool keepEarlier(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    const QString kept = path + u'~';
    QFile::remove(kept);
    if (info.isFile() && QFile::copy(path, kept))
        return true;
    refuse(QStringLiteral("cannot keep the earlier %1 as %2; nothing replaced").arg(path, kept));
    return false;
}

} // namespace

int runDraw(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Draws every button's pictures into the folder DIR (made if missing) from its words: the "
        "MouseOut and MouseOver pictures from its name, the Description picture from its Alt "
        "text, and the set's default description picture, each as NAME.png and, drawn at twice "
        "the size for HiDPI screens, NAME@2x.png. Every button gets the same size, the widest "
        "label's unless --size fixes it; a label that does not fit, text under 4.5:1 contrast or "
        "a character no installed font draws is refused, never cut or shown as a box. The file "
        "names come from each button's position and name, reduced to ASCII letters and digits. "
        "The data file is then written again (to OUT.rk2 with -o, else FILE itself, the earlier "
        "one kept as NAME~) with the new pictures in each button's three image fields and the "
        "default description image; every other field stays as it was. Needs no display.\n\n"
        "A FILE that exists is read as given, another name gets \".rk2\" added, and \"-\" reads "
        "standard input (then -o is needed).\n\nExit status: 0 pictures and data file written, "
        "2 the data file cannot be read, a label does not fit, a text or colour is refused, or "
        "a file cannot be written, 64 wrong usage."));
    const QCommandLineOption style(QStringLiteral("style"),
                                   QStringLiteral("The style: bar (default), pill or tab."),
                                   QStringLiteral("NAME"));
    const QCommandLineOption font(QStringLiteral("font"),
                                  QStringLiteral("The font family (default DejaVu Sans); what it "
                                                 "lacks comes from the other installed fonts."),
                                  QStringLiteral("FAMILY"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("Every button's size in pixels at 1x, such as "
                                                 "160x32 (at least 24 high)."),
                                  QStringLiteral("WxH"));
    const QCommandLineOption colors(
        QStringLiteral("colors"),
        QStringLiteral("The MouseOut background, the MouseOver background and the text, as "
                       "#RRGGBB or #RGB, such as '#fff,#ddd,#222'; the text must reach 4.5:1 on "
                       "both."),
        QStringLiteral("OUT,OVER,TEXT"));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Write the data file to OUT.rk2 instead of "
                                                   "FILE."),
                                    QStringLiteral("OUT.rk2"));
    const QCommandLineOption list(QStringLiteral("list-styles"),
                                  QStringLiteral("List the styles and their colours, and end."));
    parser.addOptions({style, font, size, colors, output, list});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The data file."));
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("The pictures' folder."));
    int status = Exit::Ok;
    if (!parseCommand(parser, QStringLiteral("draw"), arguments, -1, status))
        return status;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != (parser.isSet(list) ? 0 : 2)) {
        writeErr(QStringLiteral("rollcraft draw: expected FILE and DIR, or --list-styles alone\n"
                                "Try 'rollcraft draw --help'.\n"));
        return Exit::Usage;
    }
    if (parser.isSet(list)) {
        writeOut(styleList());
        return Exit::Ok;
    }

    // What was asked for, before anything is read.
    std::optional<DrawStyle> chosen =
        findStyle(parser.isSet(style) ? parser.value(style) : QStringLiteral("bar"));
    if (!chosen) {
        writeErr(QStringLiteral("rollcraft draw: no style \"%1\"; 'rollcraft draw --list-styles' "
                                "lists them\n")
                     .arg(parser.value(style)));
        return Exit::Usage;
    }
    if (parser.isSet(colors)) {
        const std::optional<DrawColors> given = parseColors(parser.value(colors));
        if (!given) {
            writeErr(QStringLiteral("rollcraft draw: --colors takes three colours OUT,OVER,TEXT "
                                    "such as '#fff,#ddd,#222', not \"%1\"\n")
                         .arg(parser.value(colors)));
            return Exit::Usage;
        }
        chosen->colors = *given;
    }
    std::optional<QSize> fixed;
    if (parser.isSet(size)) {
        fixed = parseSize(parser.value(size));
        if (!fixed) {
            writeErr(QStringLiteral("rollcraft draw: --size takes WxH in pixels such as 160x32, "
                                    "not \"%1\"\n")
                         .arg(parser.value(size)));
            return Exit::Usage;
        }
    }
    const QString input = dataFileArgument(positional.at(0));
    if (input == QLatin1String("-") && !parser.isSet(output)) {
        writeErr(QStringLiteral("rollcraft draw: reading standard input, it needs -o OUT.rk2 to "
                                "write the data file to\n"));
        return Exit::Usage;
    }
    const QString contrast = contrastRefusal(chosen->colors);
    if (!contrast.isEmpty()) {
        refuse(QStringLiteral("refused: %1").arg(contrast));
        return Exit::Failure;
    }
    const QString family = parser.isSet(font) ? parser.value(font) : chosen->family;
    if (!QFontDatabase::hasFamily(family)) {
        refuse(QStringLiteral("no font family \"%1\" is installed ('fc-list : family' lists "
                              "them)")
                   .arg(family));
        return Exit::Failure;
    }

    // Every picture's encoder takes a few hundred KB and gives them back;
    // glibc would return the top of the heap to the kernel after each one,
    // thousands of system calls for a set, where keeping it costs nothing.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);

    DataFileReadResult read;
    if (!readForCommand(input, read))
        return Exit::Failure;
    QList<ButtonRecord>& buttons = read.buttons;
    const ButtonPainter painter(*chosen, family);

    // Every text must draw whole, and every label fit, before a file is written.
    bool refused = false;
    QList<QSizeF> labels;
    QList<QSizeF> descriptions;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        const ButtonRecord& b = buttons[i];
        for (const auto& [field, text] :
             {std::pair{"name", &b.Name}, std::pair{"Alt text", &b.Alt}}) {
            const QString missing = painter.uncovered(*text);
            if (!missing.isEmpty()) {
                refuse(QStringLiteral("%1: no installed font draws %2 of its %3")
                           .arg(buttonName(i, b.Name), listed(missing), QLatin1String(field)));
                refused = true;
            }
        }
        labels << painter.measureLabel(b.Name);
        descriptions << painter.measureDescription(b.Alt);
    }
    if (refused)
        return Exit::Failure;
    const PictureLayout layout = layoutPictures(labels, *chosen, fixed);
    if (layout.tooLow) {
        refuse(QStringLiteral("--size %1: pictures must be at least %2 px high")
                   .arg(parser.value(size))
                   .arg(MinPictureHeight));
        return Exit::Failure;
    }
    for (const int i : layout.refused) {
        refuse(QStringLiteral("%1 does not fit in %2x%3: its label needs %4x%5 px and %6 px "
                              "around it")
                   .arg(buttonName(i, buttons[i].Name))
                   .arg(layout.size.width())
                   .arg(layout.size.height())
                   .arg(std::ceil(labels[i].width()))
                   .arg(std::ceil(labels[i].height()))
                   .arg(chosen->paddingX));
    }
    if (!layout.refused.isEmpty())
        return Exit::Failure;
    // Descriptions are as wide as the widest Alt text, and never narrower than the buttons.
    QSize descriptionSize = layoutPictures(descriptions, *chosen).size;
    descriptionSize.setWidth(std::max(descriptionSize.width(), layout.size.width()));

    const QString dir = positional.at(1);
    if (!QDir().mkpath(dir)) {
        refuse(QStringLiteral("%1 is not a folder and cannot be made one").arg(dir));
        return Exit::Failure;
    }
    const QString folder = QDir(dir).absolutePath() + u'/';
    QStringList names;
    for (const ButtonRecord& b : buttons)
        names << b.Name;
    const QStringList stems = pictureStems(names);
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        ButtonRecord& b = buttons[i];
        const QString stem = folder + stems[i];
        b.MouseOutImage = writePicture(painter, Picture::MouseOut, b.Name, layout.size,
                                       stem + QStringLiteral("-out"));
        b.MouseOverImage = writePicture(painter, Picture::MouseOver, b.Name, layout.size,
                                        stem + QStringLiteral("-over"));
        b.DescriptionImage = writePicture(painter, Picture::Description, b.Alt, descriptionSize,
                                          stem + QStringLiteral("-description"));
        if (b.MouseOutImage.isEmpty() || b.MouseOverImage.isEmpty() || b.DescriptionImage.isEmpty())
            return Exit::Failure;
    }
    read.DefaultDescriptionImage = writePicture(painter, Picture::Description, {}, descriptionSize,
                                                folder + QLatin1String(DefaultDescriptionStem));
    if (read.DefaultDescriptionImage.isEmpty())
        return Exit::Failure;

    const QString target = parser.isSet(output) ? parser.value(output) : input;
    if (!keepEarlier(target))
        return Exit::Failure;
    const std::optional<QByteArray> bytes = writeDataFile(read.DefaultDescriptionImage, buttons);
    if (!bytes || !saveFileAtomically(target, *bytes)) {
        refuse(QStringLiteral("cannot write %1").arg(target));
        return Exit::Failure;
    }
    writeErr(QStringLiteral("%1 button(s) drawn in %2 (%3x%4, style %5); %6 written\n")
                 .arg(buttons.size())
                 .arg(dir)
                 .arg(layout.size.width())
                 .arg(layout.size.height())
                 .arg(chosen->name, target));
    return Exit::Ok;
}
