// SPDX-License-Identifier: GPL-3.0-or-later
// "Copy images to path...": the window's side of copying every image the set
// refers to into one folder. The copying itself is imagecopy's.
#include "apptitle.h"
#include "datafile.h"
#include "dirbrowser.h"
#include "imagecopy.h"
#include "pathhelpers.h"
#include "twkplugin.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QThread>
#include <QTimer>

#include <atomic>

#include <memory>

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
        const QScopedValueRollback asking(m_asking, true);
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
        m_done = done;
        m_total = total;
        if (!m_progressShown && m_started.msecsTo(m_clock()) <= ProgressAfterMs)
            return true;
        m_progressShown = true;
        return m_dialogs.progress(
            m_window, QStringLiteral("Copying images: %1 of %2").arg(done).arg(total), done, total);
    }

    // Looked at while a picture is copied: shows the progress once the copy
    // takes long, and says whether its Cancel was pressed since.
    [[nodiscard]] bool stillWanted()
    {
        return m_asking || m_total == 0 || progress(m_done, m_total);
    }

private:
    QWidget* m_window;
    Dialogs& m_dialogs;
    const TWKPLUGIN::Clock& m_clock;
    QDateTime m_started;
    bool m_progressShown = false;
    bool m_asking = false;
    int m_done = 0;
    int m_total = 0;
};

// Runs the questions on the window's thread for the copy's thread, which
// waits for each answer: the questions come in the same order as ever.
class AskedOnWindowThread final : public CopyQuestions {
public:
    AskedOnWindowThread(QObject* window, CopyQuestions& questions, const std::atomic<bool>& stop)
        : m_window(window), m_questions(questions), m_stop(stop)
    {}

    Answer overwrite(const QString& target) override
    {
        Answer answer = Answer::Cancel;
        QMetaObject::invokeMethod(
            m_window, [&] { answer = m_questions.overwrite(target); },
            Qt::BlockingQueuedConnection);
        return answer;
    }

    bool progress(int done, int total) override
    {
        bool goOn = false;
        QMetaObject::invokeMethod(
            m_window, [&] { goOn = m_questions.progress(done, total); },
            Qt::BlockingQueuedConnection);
        return goOn;
    }

    bool stopped() override { return m_stop; }

private:
    QObject* m_window;
    CopyQuestions& m_questions;
    const std::atomic<bool>& m_stop;
};

} // namespace

void TWKPLUGIN::CopyImagesToPath_Click()
{
    CopyImages();
}

void TWKPLUGIN::CopyImages()
{
    if (m_copying)
        return;
    const QString chosen =
        m_DirBrowser1->BrowseForFolder(this, QStringLiteral("Destination folder:"));
    if (chosen.isEmpty())
        return;
    const QString folder = CheckSlash(chosen);
    const Dialogs::Answer existing =
        m_dialogs.messageBox(this, QStringLiteral("Overwrite existing images, if they exist ?"),
                             AppTitle, Dialogs::Icon::Question, Dialogs::Buttons::YesNoCancel);
    if (existing == Dialogs::Answer::Cancel)
        return;

    // The copying runs on a thread of its own while this one goes on painting
    // and answering; only the questions and the progress come back here.
    CopyRun run;
    {
        WindowCopyQuestions questions(this, m_dialogs, m_clock);
        std::atomic<bool> stop = false;
        AskedOnWindowThread relay(this, questions, stop);
        // Cancel stops the picture in progress too, between two of its blocks.
        QTimer whileCopying;
        connect(&whileCopying, &QTimer::timeout, this, [&] {
            if (!questions.stillWanted())
                stop = true;
        });
        whileCopying.start(100);
        const QList<ImageToCopy> images = imagesToCopy(m_set, Text1(7)->text());
        const ExistingImages mode =
            existing == Dialogs::Answer::Yes ? ExistingImages::Replace : ExistingImages::Ask;
        const std::unique_ptr<QThread> worker(QThread::create(
            [&, copier = m_fileCopier] { run = copyImages(images, folder, mode, relay, copier); }));
        QEventLoop loop;
        connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
        m_copying = true;
        worker->start();
        loop.exec();
        worker->wait();
        m_copying = false;
    }
    if (run.cancelled || run.failures.isEmpty())
        return;
    const FailureReport report = logFailures(run.failures, m_clock().date());
    QString text = report.headline + QStringLiteral("\r\n") + report.logLine;
    if (!report.logged) {
        // The failures are then said here, or nowhere.
        text += QStringLiteral(". The failed copies:");
        for (const CopyFailure& failure : run.failures)
            text += QStringLiteral("\r\n") + failureLine(failure);
    }
    m_dialogs.messageBox(this, text, AppTitle, Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
}
