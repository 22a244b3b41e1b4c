// SPDX-License-Identifier: GPL-3.0-or-later
// Copying one picture: the name it is copied under, the modes it gets, and
// what a Cancel or a signal in the middle of it leaves.
#include "imagecopy.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Replace final : CopyQuestions {
    Answer overwrite(const QString&) override { return Answer::Yes; }
    bool progress(int, int) override { return true; }
    bool stopped() override { return stopAfter >= 0 && asked++ >= stopAfter; }
    int stopAfter = -1; // the blocks copied before Cancel
    int asked = 0;
};

// Every file under `root` with its bytes, hidden ones too.
QStringList tree(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files << path.mid(root.size()) + '=' + readBytes(path);
    }
    files.sort();
    return files;
}

// A picture of 4 MiB, big.gif, and dst/big.gif, an old one of that name.
void bigPictureOverAnOldOne(const QTemporaryDir& dir)
{
    writeBytes(dir.filePath("big.gif"), QByteArray(4 << 20, 'n'));
    QDir(dir.path()).mkdir("dst");
    writeBytes(dir.filePath("dst/big.gif"), "old");
}

} // namespace

class TestImageCopy : public QObject {
    Q_OBJECT
private slots:
    // '@': the test's folder, which holds dl/, the source pictures, and site/pics/, the
    // destination, beside the author's own site/.bashrc.
    void names_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("outcome"); // the copy's name, or the failure
        const QString outside = "22 the picture would be copied outside the folder, as ";
        // clang-format off
        QTest::newRow("backslash then ..") << "@/dl/evil\\../.bashrc" << outside + "\"../.bashrc\"";
        QTest::newRow("x/../../y after a backslash") << "@/dl/w\\x/../../y" << outside + "\"x/../../y\"";
        QTest::newRow("a name that is ..") << "@/dl/a\\.." << outside + "\"..\"";
        QTest::newRow("a name that is .") << "@/dl/a\\." << "22 the file name \".\" is the folder itself";
        QTest::newRow("a trailing backslash") << "@/dl/evil\\" << "22 the path gives no file name";
        QTest::newRow("a NUL in the name") << "@/dl/evil\\.bashrc" + QString(QChar(0)) + "x" << "22 the file name holds a NUL character";
        QTest::newRow("a drive path copies under its name") << "C:\\dl\\x.gif" << "x.gif";
        QTest::newRow("a native path") << "@/dl/x.gif" << "x.gif";
        QTest::newRow("as long as names go") << "@/dl/" + QString(255, u'n') << QString(255, u'n');
        // clang-format on
    }

    void names()
    {
        QFETCH(QString, source);
        QTemporaryDir dir;
        const QString root = dir.path();
        const QString cwd = QDir::currentPath();
        QVERIFY(QDir::setCurrent(root));
        for (const char* folder : {"dl/evil\\..", "dl/w\\x", "site/pics/x"})
            QVERIFY(QDir(root).mkpath(folder));
        for (const char* name :
             {"dl/evil\\../.bashrc", "dl/x.gif", "y", "C:\\dl\\x.gif", "dl/evil\\.bashrc"})
            writeBytes(dir.filePath(name), "picture");
        writeBytes(dir.filePath("site/.bashrc"), "mine");
        writeBytes(dir.filePath("dl/" + QString(255, u'n')), "picture");
        const QStringList before = tree(root);
        source.replace('@', root);
        Replace replace;
        const CopyRun run =
            copyImages({{source, source}}, root + "/site/pics/", ExistingImages::Replace, replace);
        QDir::setCurrent(cwd);
        QStringList copies = tree(root + "/site/pics/");
        QTEST(run.failures.isEmpty()
                  ? copies.join(' ').remove("=picture")
                  : QString::number(run.failures[0].code) + ' ' + run.failures[0].description,
              "outcome");
        copies = tree(root).filter(QRegularExpression("^/site/pics/"));
        copies += before;
        copies.sort();
        QCOMPARE(tree(root), copies);
    }

    // Each row: the source's mode, the umask, the mode of the file replaced (0: none),
    // the copy's mode, as cp gives them.
    void modes_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("umask");
        QTest::addColumn<int>("replaced");
        QTest::addColumn<int>("copy");
        QTest::newRow("a private picture stays private") << 0600 << 022 << 0 << 0600;
        QTest::newRow("less the umask") << 0666 << 027 << 0 << 0640;
        QTest::newRow("a replaced file keeps its mode") << 0644 << 022 << 0640 << 0640;
        QTest::newRow("a replaced file keeps a wider mode") << 0600 << 077 << 0664 << 0664;
    }

    void modes()
    {
        QFETCH(int, source);
        QFETCH(int, umask);
        QFETCH(int, replaced);
        for (const CopyTemporary way : {CopyTemporary::Anonymous, CopyTemporary::Named}) {
            QTemporaryDir dir;
            const QString from = dir.filePath("a.gif"), to = dir.filePath("b.gif");
            writeBytes(from, "new");
            QCOMPARE(chmod(qPrintable(from), mode_t(source)), 0);
            if (replaced != 0) {
                writeBytes(to, "old");
                QCOMPARE(chmod(qPrintable(to), mode_t(replaced)), 0);
                QCOMPARE(chown(qPrintable(to), 1234, 5678), geteuid() == 0 ? 0 : -1);
            }
            const mode_t old = ::umask(mode_t(umask));
            const std::optional<CopyFailure> failed = copyImageFileVia(way, from, to);
            ::umask(old);
            QVERIFY(!failed);
            struct stat info {};
            QCOMPARE(stat(qPrintable(to), &info), 0);
            QTEST(int(info.st_mode & 07777), "copy");
            // Root may give the copy the replaced file's owner, and so it does.
            if (replaced != 0 && geteuid() == 0)
                QCOMPARE(QString("%1:%2").arg(info.st_uid).arg(info.st_gid), "1234:5678");
        }
    }

    // Cancel before the first block or after two (of four): the run ends, the picture
    // being copied stays as it was, nothing else is left, the next is not copied.
    void cancelStopsThePictureInProgress_data()
    {
        QTest::addColumn<int>("blocks");
        QTest::newRow("before the first block") << 0;
        QTest::newRow("between two blocks") << 2;
    }

    void cancelStopsThePictureInProgress()
    {
        QFETCH(int, blocks);
        QTemporaryDir dir;
        bigPictureOverAnOldOne(dir);
        Replace cancel;
        cancel.stopAfter = blocks;
        const CopyRun run =
            copyImages({{dir.filePath("big.gif"), "big"}, {dir.filePath("big.gif"), "again"}},
                       dir.filePath("dst/"), ExistingImages::Replace, cancel);
        QVERIFY(run.cancelled);
        QCOMPARE(run.copied + run.failures.size(), 0);
        QCOMPARE(cancel.asked, blocks + 2); // then once more after the picture
        QCOMPARE(tree(dir.filePath("dst")), QStringList{"/big.gif=old"});
    }

    // A program ending on a signal in the middle of a copy leaves only whole files.
    void signalsLeaveNothingBehind()
    {
        QTemporaryDir dir;
        bigPictureOverAnOldOne(dir);
        for (const CopyTemporary way : {CopyTemporary::Anonymous, CopyTemporary::Named}) {
            for (const int signal : {SIGHUP, SIGINT, SIGTERM}) {
                const pid_t child = fork();
                if (child == 0) {
                    removeCopyTemporaryOnSignals();
                    int blocks = 0;
                    static_cast<void>(copyImageFileVia(way, dir.filePath("big.gif"),
                                                       dir.filePath("dst/big.gif"), [&] {
                                                           if (++blocks == 2)
                                                               raise(signal);
                                                           return false;
                                                       }));
                    _exit(0);
                }
                int status = 0;
                QCOMPARE(waitpid(child, &status, 0), child);
                QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == signal);
                QCOMPARE(tree(dir.filePath("dst")), QStringList{"/big.gif=old"});
            }
        }
    }
};

QTEST_MAIN(TestImageCopy)
#include "tst_imagecopy.moc"
