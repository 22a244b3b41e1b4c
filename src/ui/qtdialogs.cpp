// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtdialogs.h"

#include "apptitle.h"
#include "singlelinevalidator.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>

namespace {

QMessageBox::Icon qtIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// "Gif file|*.gif|All files|*.*" as Qt's name filters: "Gif file (*.gif)",
// "All files (*)". The patterns always follow in parentheses, even where the
// description already shows them ("Rollcraft2 (*.rk2) (*.rk2)"): Qt filters by
// the last parentheses and, with the details hidden, shows what precedes them.
QStringList qtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QLatin1String("*.*"), QLatin1String("*"));
        filters << parts[i] + QLatin1String(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

// Qt's own dialog, whatever the desktop: it shows each filter by its
// description alone, and it hands back a typed name that does not exist, as
// the program's open command adds ".rk2" itself.
Dialogs::FileChoice runFileDialog(QWidget* owner, const QString& title, const QString& filter,
                                  const QString& initialFileName, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(owner, title, initialFileName);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(qtNameFilters(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {Dialogs::FileChoice::Status::Cancelled, {}};
    return {Dialogs::FileChoice::Status::Chosen, dialog.selectedFiles().constFirst()};
}

} // namespace

Dialogs::Answer QtDialogs::messageBox(QWidget* owner, const QString& text, const QString& title,
                                      Icon icon, Buttons buttons)
{
    QMessageBox box(qtIcon(icon), title, text, QMessageBox::NoButton, owner);
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString QtDialogs::inputBox(QWidget* owner, const QString& prompt, const QString& title,
                            const QString& defaultText)
{
    QInputDialog dialog(owner);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    // A name or a prefix is one line of the data file.
    holdOneLine(dialog.findChild<QLineEdit*>());
    dialog.setTextValue(defaultText);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

Dialogs::FileChoice QtDialogs::openFile(QWidget* owner, const QString& title, const QString& filter,
                                        const QString& initialFileName)
{
    return runFileDialog(owner, title, filter, initialFileName, QFileDialog::AcceptOpen);
}

Dialogs::FileChoice QtDialogs::saveFile(QWidget* owner, const QString& title, const QString& filter,
                                        const QString& initialFileName)
{
    return runFileDialog(owner, title, filter, initialFileName, QFileDialog::AcceptSave);
}

QString QtDialogs::chooseFolder(QWidget* owner, const QString& title)
{
    return QFileDialog::getExistingDirectory(owner, title, QString(), QFileDialog::ShowDirsOnly);
}

bool QtDialogs::progress(QWidget* owner, const QString& text, int done, int total)
{
    if (!m_progress) {
        // Its owner window owns it; closing it deletes it.
        m_progress = new QProgressDialog(text, QStringLiteral("Cancel"), 0, total, owner);
        m_progress->setAttribute(Qt::WA_DeleteOnClose);
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setMinimumDuration(0);
        m_progress->setAutoReset(false);
        m_progress->setAutoClose(false);
        // It has no caption to be read by; its bar has no label.
        m_progress->setAccessibleName(AppTitle);
        if (auto* bar = m_progress->findChild<QProgressBar*>())
            bar->setAccessibleName(QStringLiteral("Progress"));
    }
    m_progress->setLabelText(text);
    m_progress->setMaximum(total);
    m_progress->setValue(done);
    return !m_progress->wasCanceled();
}

void QtDialogs::endProgress()
{
    if (m_progress)
        m_progress->close();
    m_progress = nullptr; // the next run gets a dialog of its own
}
