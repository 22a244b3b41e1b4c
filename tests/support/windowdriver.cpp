// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowdriver.h"

void WindowFixture::run(const QString& steps)
{
    // An action runs when the next action comes, so that the answers written
    // after it are prepared for the dialogs it shows.
    std::function<void()> pending = [] {};
    const auto act = [&pending](std::function<void()> action) {
        pending();
        pending = std::move(action);
    };
    for (const QString& step : steps.split("; ", Qt::SkipEmptyParts)) {
        const QString verb = step.section(' ', 0, 0);
        const QString rest = step.section(' ', 1);
        const QString last = step.section(' ', 2);
        const QStringList answers{"ok", "cancel", "yes", "no"};
        if (answers.contains(verb)) {
            dialogs.message(Dialogs::Answer(answers.indexOf(verb)));
        } else if (verb == "input") {
            dialogs.input(rest);
        } else if (verb == "add") {
            dialogs.input(rest);
            act([this] { click("Command4"); });
        } else if (verb == "file") { // an image chooser's answer
            if (rest.isEmpty())
                dialogs.cancelled(ScriptedDialogs::Kind::OpenFile);
            else if (rest == "!")
                dialogs.failed(ScriptedDialogs::Kind::OpenFile);
            else
                dialogs.openFile(rest);
        } else if (verb == "folder") {
            dialogs.folder(rest.isEmpty() ? QString() : folder.filePath(rest));
        } else if (verb == "open" || verb == "save") {
            const auto kind =
                verb == "open" ? ScriptedDialogs::Kind::OpenFile : ScriptedDialogs::Kind::SaveFile;
            if (rest.isEmpty())
                dialogs.cancelled(kind);
            else if (rest == "!")
                dialogs.failed(kind);
            else
                dialogs.file(kind, folder.filePath(rest));
            act([this, verb] { menu("File", verb == "open" ? "OpenData" : "SaveData"); });
        } else if (verb == "pick") {
            act([this, rest] { pick(rest.toInt()); });
        } else if (verb == "down") {
            act([this] {
                window.show();
                list()->setFocus();
                QTest::keyClick(list(), Qt::Key_Down);
            });
        } else if (verb == "type") {
            act([this, rest, last] { type(rest.section(' ', 0, 0).toInt(), last); });
        } else if (verb == "click") {
            act([this, rest] { click(rest); });
        } else if (verb == "close") {
            act([this] { window.close(); });
        } else if (verb == "wait") {
            act([] { QTest::qWait(400); });
        } else if (verb == "menu") {
            act([this, rest, last] { menu(rest.section(' ', 0, 0), last); });
        } else {
            QTest::qFail(qPrintable("unknown step: " + step), __FILE__, __LINE__);
        }
    }
    pending();
}

QString WindowFixture::probe(const QString& what) const
{
    bool isIndex = false;
    const int index = what.toInt(&isIndex);
    if (isIndex)
        return record(index);
    if (what == "state")
        return state();
    if (what == "fields")
        return fields();
    if (what == "default")
        return set().DefaultDescriptionImage;
    if (what == "file")
        return set().DataFileName.isEmpty() ? QString()
                                            : folder.relativeFilePath(set().DataFileName);
    if (what == "initial") // a file name as the data file's is given
        return dialogs.last().initial.startsWith('/')
                   ? folder.relativeFilePath(dialogs.last().initial)
                   : dialogs.last().initial;
    if (what == "dialog" || what.startsWith("dialog:")) {
        const qsizetype i = what == "dialog" ? dialogs.shown().size() - 1 : what.mid(7).toInt();
        return i < 0 || i >= dialogs.shown().size() ? "none"
                                                    : ScriptedDialogs::describe(dialogs.shown()[i]);
    }
    if (what == "dialogs")
        return QString::number(dialogs.shown().size());
    if (what == "choosers") {
        QStringList titles;
        for (const ScriptedDialogs::Shown& s : dialogs.shown())
            if (s.kind == ScriptedDialogs::Kind::OpenFile)
                titles << (s.text == ImageFilter ? s.title : "not an image chooser");
        return titles.join(',');
    }
    if (what == "changes")
        return changes.join(',');
    if (what == "closed")
        return QString::number(closed);
    if (what.startsWith("on:"))
        return control(what.mid(3))->isEnabled() ? "yes" : "no";
    if (what.startsWith("menu:"))
        return enabled(what.mid(5).section('/', 0, 0), what.section('/', 1)) ? "yes" : "no";
    return "unknown probe " + what;
}
