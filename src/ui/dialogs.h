// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// Every message box, input box, file dialog and folder dialog of the program
// goes through this interface, so that tests can script the answers.
class Dialogs {
public:
    enum class Icon { None, Information, Question, Exclamation, Critical };
    enum class Buttons { Ok, OkCancel, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    struct FileChoice {
        enum class Status { Chosen, Cancelled, Failed };
        Status status = Status::Cancelled;
        QString path;
    };

    virtual ~Dialogs() = default;

    virtual Answer messageBox(QWidget* owner, const QString& text, const QString& title, Icon icon,
                              Buttons buttons) = 0;
    // The text entered, or the empty text on Cancel.
    virtual QString inputBox(QWidget* owner, const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;
    // `filter` lists description|patterns pairs, e.g. "Gif file|*.gif|All files|*.*".
    virtual FileChoice openFile(QWidget* owner, const QString& title, const QString& filter,
                                const QString& initialFileName) = 0;
    virtual FileChoice saveFile(QWidget* owner, const QString& title, const QString& filter,
                                const QString& initialFileName) = 0;
    // A full folder path, or the empty text when cancelled.
    virtual QString chooseFolder(QWidget* owner, const QString& title) = 0;
    // A progress dialog, shown on the first call and updated by the next
    // ones; false once the user pressed its Cancel. endProgress closes it.
    // The work it follows runs on another thread, so the event loop runs and
    // the dialog paints and takes its Cancel by itself.
    virtual bool progress(QWidget* owner, const QString& text, int done, int total) = 0;
    virtual void endProgress() = 0;
};
