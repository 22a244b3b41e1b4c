// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "scripteddialogs.h"
#include "testfiles.h"
#include "twkplugin.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

// The moment every window test lives in, unless it brings a clock of its own.
inline const QDateTime TestNow(QDate(2026, 1, 9), QTime(19, 5, 3));

// A fresh main window (image wizard off) with scripted dialogs, driven through its
// controls. Each action ends once the previews it started are decoded; the answers
// for the dialogs it brings up are queued before it, each kind in the order asked.
struct WindowFixture {
    using Answer = Dialogs::Answer;
    using Kind = ScriptedDialogs::Kind;
    explicit WindowFixture(TWKPLUGIN::Clock clock = [] { return TestNow; });

    template <typename T = QWidget> [[nodiscard]] T* control(const QString& name) const
    {
        return window.findChild<T*>(name);
    }

    // What a user does, chained. A file is named under `folder`; "" cancels its dialog, "!" fails it.
    WindowFixture& add(const QString& name) { return input(name).click("Command4"); } // "": cancel
    WindowFixture& pick(int index); // as the list reports it, also of the entry selected
    WindowFixture& down();          // the arrow key in the list
    WindowFixture& type(int field, const QString& text);
    WindowFixture& click(const QString& button);
    WindowFixture& menu(const QString& menu, const QString& item); // if enabled when opened
    WindowFixture& open(const QString& file) { return queue(Kind::Open, under(file)).menu("File", "OpenData"); }
    WindowFixture& save(const QString& file) { return queue(Kind::Save, under(file)).menu("File", "SaveData"); }
    WindowFixture& show() { return window.show(), settled(); }
    WindowFixture& close() { return window.close(), settled(); }
    WindowFixture& wait(); // until the preview and the closing timer have run
    WindowFixture& settled() { return settle(), *this; }
    void settle() const;

    // The answers for the next dialogs of each kind, in the order they are asked.
    WindowFixture& answer(Answer a) { return dialogs.answer(a), *this; }
    WindowFixture& ok() { return answer(Answer::Ok); }
    WindowFixture& cancel() { return answer(Answer::Cancel); }
    WindowFixture& input(const QString& text) { return queue(Kind::Input, text); }
    WindowFixture& chooseImage(const QString& path) { return queue(Kind::Open, path); }
    WindowFixture& chooseFolder(const QString& dir) { return queue(Kind::Folder, under(dir)); }
    WindowFixture& queue(Kind kind, const QString& text) { return dialogs.answer(kind, text), *this; }
    [[nodiscard]] QString under(const QString& name) const
    {
        return name.isEmpty() || name == "!" ? name : folder.filePath(name);
    }

    // What the window holds and shows, read here only.
    [[nodiscard]] const ButtonSet& set() const { return window.buttonSet(); }
    [[nodiscard]] QList<ButtonRecord> records() const; // the slots up to the last one not empty
    [[nodiscard]] bool saved() const { return window.isSaved(); }
    [[nodiscard]] QString dataFile() const;
    [[nodiscard]] QStringList listed() const;
    [[nodiscard]] int selected() const;
    [[nodiscard]] QStringList fields() const;   // the eight edit fields
    [[nodiscard]] QStringList disabled() const; // the controls, by name
    [[nodiscard]] bool enabledInMenu(const QString& menu, const QString& item) const;
    [[nodiscard]] QString dialog() const; // the last one shown, paths under `folder` relative; "none"
    // The image choosers opened, by the field they were for ("MouseOut", ...).
    [[nodiscard]] QStringList choosers() const;

    ScriptedDialogs dialogs;
    TWKPLUGIN window;
    QList<std::pair<QString, QString>> changes; // every change of an exchange field: name, value
    int closed = 0;                             // closing sequences ended
    QDir folder = QDir::home();
};

// A fresh fixture per test; after it, every answer used and no dialog unasked.
class WindowTest : public QObject {
    Q_OBJECT
protected slots:
    void init() { fresh(); }
    void cleanup() { finish(); }

protected:
    WindowFixture& f() { return *m_f; }
    void fresh(TWKPLUGIN::Clock clock = [] { return TestNow; })
    {
        finish();
        m_f.emplace(std::move(clock));
        m_f->folder.setPath(m_dir.path());
    }
    void finish()
    {
        const QString problems = m_f ? m_f->dialogs.problems() : QString();
        m_f.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    std::optional<WindowFixture> m_f;
    QTemporaryDir m_dir; // the files a test writes and the window reads
};
