// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "console.h"

#include <QFileInfo>

namespace {

// What stands at an image path, as the copier and the browser will find it.
QString stateOf(const QString& path, int& problems)
{
    if (path.isEmpty())
        return QStringLiteral("(none)");
    const QFileInfo info(path);
    QString state;
    if (!info.exists())
        state = QStringLiteral("missing");
    else if (!info.isFile())
        state = QStringLiteral("not a file");
    else if (!info.isReadable())
        state = QStringLiteral("unreadable");
    else if (info.size() == 0)
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

} // namespace

int runCheck(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Reads FILE as the window's open command does and lists what it holds: "
                       "the buttons, their images, and which image files are missing or "
                       "unreadable.\n\nExit status: 0 every image file is there, 1 some are "
                       "missing or unreadable, 2 the file cannot be read, 64 wrong usage."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The data file."));
    int status = Exit::Ok;
    if (!parseCommand(parser, QStringLiteral("check"), arguments, 1, status))
        return status;

    const QString path = withDataFileExtension(parser.positionalArguments().constFirst());
    DataFileReadResult read;
    if (!readForCommand(path, read))
        return Exit::Failure;

    int problems = 0;
    int images = 0;
    QString report = QStringLiteral("%1: %2 button(s)\n").arg(path).arg(read.buttons.size());
    const auto count = [&images](const QString& p) { images += p.isEmpty() ? 0 : 1; };
    report += imageLine(QStringLiteral("Default description image:"), read.DefaultDescriptionImage,
                        problems);
    count(read.DefaultDescriptionImage);
    for (qsizetype i = 0; i < read.buttons.size(); ++i) {
        const ButtonRecord& b = read.buttons[i];
        report += QStringLiteral("Button %1 \"%2\"\n").arg(i + 1).arg(b.Name);
        report += imageLine(QStringLiteral("MouseOut image:"), b.MouseOutImage, problems);
        report += imageLine(QStringLiteral("MouseOver image:"), b.MouseOverImage, problems);
        report += imageLine(QStringLiteral("Description image:"), b.DescriptionImage, problems);
        count(b.MouseOutImage);
        count(b.MouseOverImage);
        count(b.DescriptionImage);
    }
    report +=
        QStringLiteral("%1 of %2 image file(s) missing or unreadable.\n").arg(problems).arg(images);
    writeOut(report);
    return problems == 0 ? Exit::Ok : Exit::Partial;
}
