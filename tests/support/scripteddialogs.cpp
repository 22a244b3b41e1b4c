#include "scripteddialogs.h"

namespace {

QString kindName(ScriptedDialogs::Kind kind)
{
    switch (kind) {
    case ScriptedDialogs::Kind::Message:
        return QStringLiteral("message box");
    case ScriptedDialogs::Kind::Input:
        return QStringLiteral("input box");
    case ScriptedDialogs::Kind::OpenFile:
        return QStringLiteral("open dialog");
    case ScriptedDialogs::Kind::SaveFile:
        return QStringLiteral("save dialog");
    case ScriptedDialogs::Kind::Folder:
        break;
    }
    return QStringLiteral("folder dialog");
}

} // namespace

ScriptedDialogs& ScriptedDialogs::message(Answer answer)
{
    m_prepared.append({Kind::Message, answer, {}, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::input(const QString& answer)
{
    m_prepared.append({Kind::Input, Answer::Ok, answer, {}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::openFile(const QString& path)
{
    m_prepared.append({Kind::OpenFile, Answer::Ok, {}, {FileChoice::Status::Chosen, path}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::saveFile(const QString& path)
{
    m_prepared.append({Kind::SaveFile, Answer::Ok, {}, {FileChoice::Status::Chosen, path}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::fileCancelled(Kind kind)
{
    m_prepared.append({kind, Answer::Cancel, {}, {FileChoice::Status::Cancelled, {}}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::fileFailed(Kind kind)
{
    m_prepared.append({kind, Answer::Cancel, {}, {FileChoice::Status::Failed, {}}});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::folder(const QString& path)
{
    m_prepared.append({Kind::Folder, Answer::Ok, path, {}});
    return *this;
}

QString ScriptedDialogs::problems() const
{
    QStringList all = m_unexpected;
    for (const Prepared& p : m_prepared)
        all << QStringLiteral("prepared %1 was never shown").arg(kindName(p.kind));
    return all.join(QLatin1String("; "));
}

void ScriptedDialogs::reset()
{
    m_prepared.clear();
    m_shown.clear();
    m_unexpected.clear();
    m_progress.clear();
    m_cancelProgressAt = -1;
}

bool ScriptedDialogs::next(Kind kind, Prepared& out)
{
    const Shown& shown = m_shown.constLast();
    if (m_prepared.isEmpty() || m_prepared.constFirst().kind != kind) {
        m_unexpected << QStringLiteral("unexpected %1 \"%2\" (%3)")
                            .arg(kindName(kind), shown.text, shown.title);
        return false;
    }
    out = m_prepared.takeFirst();
    return true;
}

Dialogs::Answer ScriptedDialogs::messageBox(QWidget*, const QString& text, const QString& title,
                                            Icon icon, Buttons buttons)
{
    m_shown.append({Kind::Message, text, title, icon, buttons, {}});
    Prepared p;
    return next(Kind::Message, p) ? p.answer : Answer::Cancel;
}

QString ScriptedDialogs::inputBox(QWidget*, const QString& prompt, const QString& title,
                                  const QString& defaultText)
{
    m_shown.append({Kind::Input, prompt, title, Icon::None, Buttons::OkCancel, defaultText});
    Prepared p;
    return next(Kind::Input, p) ? p.text : QString();
}

Dialogs::FileChoice ScriptedDialogs::file(Kind kind, const QString& title, const QString& filter,
                                          const QString& initialFileName)
{
    m_shown.append({kind, filter, title, Icon::None, Buttons::OkCancel, initialFileName});
    Prepared p;
    return next(kind, p) ? p.file : FileChoice{};
}

Dialogs::FileChoice ScriptedDialogs::openFile(QWidget*, const QString& title, const QString& filter,
                                              const QString& initialFileName)
{
    return file(Kind::OpenFile, title, filter, initialFileName);
}

Dialogs::FileChoice ScriptedDialogs::saveFile(QWidget*, const QString& title, const QString& filter,
                                              const QString& initialFileName)
{
    return file(Kind::SaveFile, title, filter, initialFileName);
}

QString ScriptedDialogs::chooseFolder(QWidget*, const QString& title)
{
    m_shown.append({Kind::Folder, {}, title, Icon::None, Buttons::OkCancel, {}});
    Prepared p;
    return next(Kind::Folder, p) ? p.text : QString();
}

ScriptedDialogs& ScriptedDialogs::cancelProgressAt(int done)
{
    m_cancelProgressAt = done;
    return *this;
}

bool ScriptedDialogs::progress(QWidget*, const QString&, int done, int total)
{
    m_progress << QStringLiteral("%1/%2").arg(done).arg(total);
    return m_cancelProgressAt < 0 || done < m_cancelProgressAt;
}

void ScriptedDialogs::endProgress()
{
    m_progress << QStringLiteral("end");
}
