// SPDX-License-Identifier: GPL-3.0-or-later
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
