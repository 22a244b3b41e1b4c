// SPDX-License-Identifier: GPL-3.0-or-later
// "Copy images to path...": the window's side of copying every image the set
// refers to into one folder. The copying itself is imagecopy's.
#include "apptitle.h"
#include "datafile.h"
#include "dirbrowser.h"
#include "imagecopy.h"
#include "twkplugin.h"

#include <QLineEdit>
#include <QSaveFile>

namespace {

// Copies that run longer than this show a progress dialog. Time spent on the
// questions about existing files is the user's, not the copy's.
constexpr qint64 ProgressAfterMs = 500;

// Asks the run's questions in the window's dialogs.
class WindowCopyQuestions final : public CopyQuestions {
public:
    WindowCopyQuestions(QWidget* window, Dialogs& dialogs, const TWKPLUGIN::Clock& clock)
        : m_window(window), m_dialogs(dialogs), m_clock(clock), m_started(clock())
    {}
    ~WindowCopyQuestions() override
    {
        if (m_progressShown)
            m_dialogs.endProgress();
    }

    Answer overwrite(const QString& target) override
    {
        const QDateTime asked = m_clock();
        const Dialogs::Answer answer = m_dialogs.messageBox(
            m_window, QStringLiteral("File: \"%1\" allready exist, overwrite ?").arg(target),
            QStringLiteral("File allready exist"), Dialogs::Icon::Question,
            Dialogs::Buttons::YesNoCancel);
        m_started = m_started.addMSecs(asked.msecsTo(m_clock()));
        switch (answer) {
        case Dialogs::Answer::Yes:
            return Answer::Yes;
        case Dialogs::Answer::No:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    }

    bool progress(int done, int total) override
    {
        if (!m_progressShown && m_started.msecsTo(m_clock()) <= ProgressAfterMs)
            return true;
        m_progressShown = true;
        return m_dialogs.progress(
            m_window, QStringLiteral("Copying images: %1 of %2").arg(done).arg(total), done, total);
    }

private:
    QWidget* m_window;
    Dialogs& m_dialogs;
    const TWKPLUGIN::Clock& m_clock;
    QDateTime m_started;
    bool m_progressShown = false;
};

} // namespace

void TWKPLUGIN::CopyImagesToPath_Click()
{
    CopyImages();
}

void TWKPLUGIN::CopyImages()
{
    const QString chosen =
        m_DirBrowser1->BrowseForFolder(this, QStringLiteral("Destination folder:"));
    if (chosen.isEmpty())
        return;
    const QString folder = destinationFolder(chosen);
    const Dialogs::Answer existing =
        m_dialogs.messageBox(this, QStringLiteral("Overwrite existing images, if they exist ?"),
                             AppTitle, Dialogs::Icon::Question, Dialogs::Buttons::YesNoCancel);
    if (existing == Dialogs::Answer::Cancel)
        return;

    CopyRun run;
    {
        WindowCopyQuestions questions(this, m_dialogs, m_clock);
        run = copyImages(imagesToCopy(m_set, Text1(7)->text()), folder,
                         existing == Dialogs::Answer::Yes ? ExistingImages::Replace
                                                          : ExistingImages::Ask,
                         questions);
    }
    if (run.cancelled || run.failures.isEmpty())
        return;
    // A log that cannot be written is not reported: the message still says
    // where it should be.
    const QString log = errorLogPath();
    static_cast<void>(saveFileAtomically(log, errorLog(run.failures, m_clock().date())));
    m_dialogs.messageBox(this,
                         QStringLiteral("ERROR! One or more images could not be copied !\r\n"
                                        "For further details, please see \"%1\"")
                             .arg(log),
                         AppTitle, Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
}
