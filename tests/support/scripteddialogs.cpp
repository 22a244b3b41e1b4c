// SPDX-License-Identifier: GPL-3.0-or-later
#include "scripteddialogs.h"

QString ScriptedDialogs::problems() const
{
    QStringList all = m_unexpected;
    for (const Prepared& p : m_prepared)
        all << "the answer \"" + p.answer + "\" for a " + p.kind + " dialog was never used";
    return all.join("; ");
}

QString ScriptedDialogs::next(const QString& kind, const QString& line)
{
    shown << line;
    if (m_prepared.isEmpty() || m_prepared.constFirst().kind != kind) {
        m_unexpected << "unexpected " + line;
        return kind == "message" ? "cancel" : "";
    }
    const Prepared p = m_prepared.takeFirst();
    p.whileOpen();
    return p.answer;
}

Dialogs::FileChoice ScriptedDialogs::file(const QString& kind, const QStringList& parts)
{
    const QString path = next(kind, kind + ':' + parts.join('|'));
    return path.isEmpty() ? FileChoice{FileChoice::Status::Cancelled, {}}
           : path == "!"  ? FileChoice{FileChoice::Status::Failed, {}}
                          : FileChoice{FileChoice::Status::Chosen, path};
}

Dialogs::Answer ScriptedDialogs::messageBox(QWidget*, const QString& text, const QString& title,
                                            Icon icon, Buttons buttons)
{
    static const char* const icons[] = {"none", "information", "question", "exclamation",
                                        "critical"};
    static const char* const kinds[] = {"ok", "okcancel", "yesnocancel"};
    const QString line = QStringList{text, title, icons[int(icon)], kinds[int(buttons)]}.join('|');
    return Answer(qMax(0, QStringList{"ok", "cancel", "yes", "no"}.indexOf(next("message", line))));
}
