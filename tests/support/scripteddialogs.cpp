// SPDX-License-Identifier: GPL-3.0-or-later
#include "scripteddialogs.h"

QString ScriptedDialogs::describe(const Shown& s)
{
    static const char* const icons[] = {"none", "information", "question", "exclamation",
                                        "critical"};
    static const char* const buttons[] = {"ok", "okcancel", "yesnocancel"};
    switch (s.kind) {
    case Kind::Message:
        return QStringList{s.text, s.title, icons[int(s.icon)], buttons[int(s.buttons)]}.join('|');
    case Kind::Input:
        return "input:" + QStringList{s.text, s.title, s.initial}.join('|');
    case Kind::Folder:
        return "folder:" + s.title;
    default:
        return (s.kind == Kind::OpenFile ? "open:" : "save:") +
               QStringList{s.title, s.text, s.initial}.join('|');
    }
}

QString ScriptedDialogs::problems() const
{
    QStringList all = m_unexpected;
    for (const Prepared& p : m_prepared)
        all << QStringLiteral("an answer for a dialog of kind %1 was never used").arg(int(p.kind));
    return all.join("; ");
}

ScriptedDialogs::Prepared ScriptedDialogs::next(const Shown& shown)
{
    m_shown.append(shown);
    if (m_prepared.isEmpty() || m_prepared.constFirst().kind != shown.kind) {
        m_unexpected << "unexpected " + describe(shown);
        return {shown.kind, Answer::Cancel, {}, {}, {}};
    }
    Prepared p = m_prepared.takeFirst();
    if (p.action)
        p.action();
    return p;
}

Dialogs::Answer ScriptedDialogs::messageBox(QWidget*, const QString& text, const QString& title,
                                            Icon icon, Buttons buttons)
{
    return next({Kind::Message, text, title, icon, buttons, {}}).answer;
}

QString ScriptedDialogs::inputBox(QWidget*, const QString& prompt, const QString& title,
                                  const QString& defaultText)
{
    return next({Kind::Input, prompt, title, Icon::None, Buttons::OkCancel, defaultText}).text;
}

Dialogs::FileChoice ScriptedDialogs::openFile(QWidget*, const QString& title, const QString& filter,
                                              const QString& initialFileName)
{
    return next({Kind::OpenFile, filter, title, Icon::None, Buttons::OkCancel, initialFileName})
        .file;
}

Dialogs::FileChoice ScriptedDialogs::saveFile(QWidget*, const QString& title, const QString& filter,
                                              const QString& initialFileName)
{
    return next({Kind::SaveFile, filter, title, Icon::None, Buttons::OkCancel, initialFileName})
        .file;
}

QString ScriptedDialogs::chooseFolder(QWidget*, const QString& title)
{
    return next({Kind::Folder, {}, title, Icon::None, Buttons::OkCancel, {}}).text;
}

bool ScriptedDialogs::progress(QWidget*, const QString&, int done, int total)
{
    m_progress << QStringLiteral("%1/%2").arg(done).arg(total);
    return m_cancelProgressAt < 0 || done < m_cancelProgressAt;
}
