// SPDX-License-Identifier: GPL-3.0-or-later
#include "codepage.h"
#include "commands.h"
#include "console.h"
#include "pagefindings.h"
#include "regularfile.h"

#include <cerrno>

namespace {

// What stands at an image path, as the copier and the browser will find it:
// opened the one way every picture is, so that a FIFO or a device is no "ok".
QString stateOf(const QString& path, int& problems)
{
    if (path.isEmpty())
        return QStringLiteral("(none)");
    const OpenedFile file = openRegularFile(path);
    QString state;
    if (file.code == ENOENT || file.code == ENOTDIR)
        state = QStringLiteral("missing");
    else if (file.code == EISDIR || file.code == EINVAL)
        state = QStringLiteral("not a file");
    else if (!file)
        state = QStringLiteral("unreadable");
    else if (file.file->size() == 0)
        state = QStringLiteral("empty file");
    else
        return QStringLiteral("ok");
    ++problems;
    return state;
}

QString imageLine(const QString& label, const QString& path, int& problems)
{
    const QString state = stateOf(path, problems);
    if (path.isEmpty())
        return QStringLiteral("  %1 %2\n").arg(label, -27).arg(state);
    return QStringLiteral("  %1 %2  [%3]\n").arg(label, -27).arg(path, state);
}

// The field as the window labels it.
QString label(PictureField field)
{
    switch (field) {
    case PictureField::MouseOut:
        return QStringLiteral("MouseOut image");
    case PictureField::MouseOver:
        return QStringLiteral("MouseOver image");
    case PictureField::Description:
        return QStringLiteral("Description image");
    case PictureField::DefaultDescription:
        break;
    }
    return QStringLiteral("Default description image");
}

QString orModern(const QString& remedy)
{
    return remedy + QStringLiteral(", or use render --modern, which escapes it");
}

QString scriptBreak(QChar mark)
{
    return mark == u'\\' ? QStringLiteral("the script cannot read its backslash")
                         : QStringLiteral("its apostrophe ends the script's string");
}

QString addressBreak(QChar mark, const QString& what)
{
    return mark == u'%'
               ? QStringLiteral("the browser reads the \"%\" in %1 as an escape").arg(what)
               : QStringLiteral("the browser reads %1 only up to its \"%2\"").arg(what, mark);
}

struct Words {
    QString field;
    QString effect;
    QString remedy;
};

// A finding as the user reads it: the field, what will happen, what to do.
Words wordsOf(const PageFinding& f)
{
    using Kind = PageFinding::Kind;
    const QString picture = label(f.picture);
    const QString prefix = QStringLiteral("Image path prefix");
    const QString renameIt = orModern(QStringLiteral("rename the file"));
    const QString removeIt = orModern(QStringLiteral("remove it"));
    switch (f.kind) {
    case Kind::Utf8WithoutMark:
        return {QStringLiteral("Data file"),
                QStringLiteral(
                    "it is UTF-8 without the UTF-8 mark, likely saved so by an editor: it reads "
                    "as Windows-1252, \"%1\" as \"%2\", and paths holding such letters are not "
                    "found")
                    .arg(f.quoted, decodeWindows1252(f.quoted.toUtf8())),
                QStringLiteral("add the UTF-8 mark (bytes EF BB BF) at its start")};
    case Kind::NoButtons:
        return {QStringLiteral("Buttons"),
                QStringLiteral("the set has none: \"Insert script\" publishes no page"),
                QStringLiteral("add a button")};
    case Kind::PageEndsBefore:
        return {QStringLiteral("Name"),
                QStringLiteral(
                    "the page ends before this button: the file lists %1 buttons, the page has %2")
                    .arg(f.count)
                    .arg(f.button - 1),
                QStringLiteral("give it a name")};
    case Kind::NoFileName:
        return {
            picture,
            QStringLiteral(
                "\"%1\" gives the page no file name (src = '%2', a broken picture) and cannot "
                "be copied")
                .arg(f.quoted, f.source),
            QStringLiteral(
                "choose the picture again in the window, or write its full path, starting with /")};
    case Kind::FileNameEndsScript:
        return {
            picture,
            QStringLiteral("the apostrophe in \"%1\" ends the script's string: no button lights up "
                           "(SyntaxError)")
                .arg(f.quoted),
            renameIt};
    case Kind::FileNameEndsAttribute:
        return {picture,
                QStringLiteral("the \" in \"%1\" ends the picture's attribute: a broken picture")
                    .arg(f.quoted),
                renameIt};
    case Kind::FileNameBreaksAddress:
        return {picture,
                addressBreak(f.mark, u'"' + f.quoted + u'"') + QStringLiteral(": a broken picture"),
                renameIt};
    case Kind::NotCopied:
        return {
            picture, f.quoted + QStringLiteral(": \"Copy images to path...\" leaves it out"),
            QStringLiteral(
                "move the picture to a folder whose path holds no backslash, and choose it again")};
    case Kind::CopiedOver: {
        const PageFinding::Picture& first = f.replaced;
        return {picture,
                QStringLiteral("copied as %1, it replaces %2 (%3): both show this picture")
                    .arg(f.quoted,
                         QStringLiteral("the %1 of button %2 \"%3\"")
                             .arg(label(first.field), QString::number(first.button), first.name),
                         first.path),
                QStringLiteral("rename one of the two files")};
    }
    case Kind::PrefixBreaksScript:
        return {prefix, scriptBreak(f.mark) + QStringLiteral(": no button lights up (SyntaxError)"),
                removeIt};
    case Kind::PrefixDropsBackslash:
        return {prefix,
                QStringLiteral(
                    "the script drops its backslash, the page reads it as '/': on and after hover "
                    "the pictures are looked for elsewhere"),
                QStringLiteral("write / instead of \\")};
    case Kind::PrefixEndsAttribute:
        return {prefix,
                QStringLiteral("its \" ends the button picture's attribute: a broken picture"),
                removeIt};
    case Kind::PrefixBreaksAddress:
        return {prefix,
                addressBreak(f.mark, QStringLiteral("the prefix")) +
                    QStringLiteral(": the button's pictures are broken"),
                removeIt};
    case Kind::UrlEndsAttribute:
        return {QStringLiteral("Url"),
                QStringLiteral("its \" ends the link's attribute: the link goes to \"%1\"")
                    .arg(f.quoted),
                orModern(QStringLiteral("write %22 instead"))};
    case Kind::TargetEndsAttribute:
        return {QStringLiteral("Target"),
                QStringLiteral("its \" ends the target's attribute: the link opens in \"%1\"")
                    .arg(f.quoted),
                removeIt};
    case Kind::AltEndsAttribute:
        return {QStringLiteral("Alt"),
                QStringLiteral(
                    "its \" ends the mouse-over attribute: the button does not light up, and its "
                    "alternative text is cut"),
                orModern(QStringLiteral("write \u201c or \u201d instead"))};
    case Kind::AltBreaksScript:
        break;
    }
    return {QStringLiteral("Alt"),
            scriptBreak(f.mark) + QStringLiteral(": the button does not light up (SyntaxError)"),
            orModern(QStringLiteral("write \u2019 for an apostrophe and leave out backslashes"))};
}

// One line: `button 2 "News", Alt: EFFECT; REMEDY.`
QString findingText(const PageFinding& finding)
{
    QString text;
    if (finding.button > 0)
        text = finding.name.isEmpty() ? QStringLiteral("button %1 (no name), ").arg(finding.button)
                                      : QStringLiteral("button %1 \"%2\", ")
                                            .arg(QString::number(finding.button), finding.name);
    const Words words = wordsOf(finding);
    return text + words.field + QStringLiteral(": ") + words.effect + QStringLiteral("; ") +
           words.remedy + u'.';
}

} // namespace

int runCheck(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads the data file FILE and lists what it holds: the buttons, "
        "their images, and which image files are missing or unreadable. Then it warns, one line "
        "each, about what will go wrong on the page \"Insert script\" publishes, which carries "
        "every text as it is, and when the images are copied: texts that break the page's script "
        "or its attributes, file names a browser cannot load, a copy cannot keep apart or would "
        "put outside the folder, "
        "buttons the page leaves out, a file an editor saved as UTF-8. Each warning names the "
        "button, the field, what will happen and what to do; render --modern escapes every "
        "text.\n\nA FILE that exists is read as given, another name gets \".rk2\" added, and "
        "\"-\" reads standard input.\n\nExit status: 0 nothing found, 1 warnings or image "
        "files missing or unreadable, 2 the data file cannot be read, 64 wrong usage."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The data file."));
    int status = Exit::Ok;
    if (!parseCommand(parser, QStringLiteral("check"), arguments, 1, status))
        return status;

    const QString path = dataFileArgument(parser.positionalArguments().constFirst());
    DataFileReadResult read;
    QByteArray bytes;
    if (!readForCommand(path, read, &bytes))
        return Exit::Failure;

    int problems = 0;
    int images = 0;
    QString report =
        QStringLiteral("%1: %2 button(s)\n").arg(shownDataFile(path)).arg(read.buttons.size());
    const auto list = [&](PictureField field, const QString& path) {
        report += imageLine(label(field) + u':', path, problems);
        images += path.isEmpty() ? 0 : 1;
    };
    list(PictureField::DefaultDescription, read.DefaultDescriptionImage);
    for (const ButtonPicture& picture :
         buttonPictures({read.buttons.constData(), std::size_t(read.buttons.size())})) {
        if (picture.field == PictureField::MouseOut)
            report += QStringLiteral("Button %1 \"%2\"\n")
                          .arg(picture.button + 1)
                          .arg(read.buttons[picture.button].Name);
        list(picture.field, picture.path);
    }
    const QList<PageFinding> findings = pageFindings(read, bytes);
    for (const PageFinding& finding : findings)
        report += QStringLiteral("warning: ") + findingText(finding) + u'\n';
    report += QStringLiteral("%1 of %2 image file(s) missing or unreadable, %3 warning(s).\n")
                  .arg(problems)
                  .arg(images)
                  .arg(findings.size());
    writeOut(report);
    return problems == 0 && findings.isEmpty() ? Exit::Ok : Exit::Partial;
}
