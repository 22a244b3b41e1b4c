// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagecopy.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Answers from a script ("y", "n", "c" per question) and records what was asked.
class ScriptedQuestions final : public CopyQuestions {
public:
    explicit ScriptedQuestions(QString answers) : m_answers(std::move(answers)) {}
    Answer overwrite(const QString& target) override
    {
        asked << QFileInfo(target).fileName();
        const QString a = m_answers.left(1);
        m_answers.remove(0, 1);
        return a == "y" ? Answer::Yes : a == "n" ? Answer::No : Answer::Cancel;
    }
    bool progress(int done, int) override { return done != cancelAt; }
    QStringList asked;
    int cancelAt = -1; // the progress update whose Cancel the user presses

private:
    QString m_answers;
};

} // namespace

class TestImageCopy : public QObject {
    Q_OBJECT
private slots:
    void init();
    void copyOrderSkipsEmptyFieldsAndStopsAtTheFirstEmptyName();
    void destinationFolder();
    void existingTargets_data();
    void existingTargets();
    void failuresAreCollectedAndTheRunGoesOn();
    void copyingAFileOntoItselfKeepsIt();
    void progressCancelAtTheEnd();
    void logBytes();

private:
    QString src(const QString& name) const { return m_src.filePath(name); }
    QString dst(const QString& name) const { return m_dst.filePath(name); }
    CopyRun copy(const QStringList& names, const QString& folder, ExistingImages existing,
                 ScriptedQuestions& questions) const
    {
        QList<ImageToCopy> list;
        for (const QString& n : names)
            list.append({src(n), src(n)});
        return copyImages(list, ::destinationFolder(folder), existing, questions);
    }
    QTemporaryDir m_src, m_dst;
};

void TestImageCopy::init()
{
    m_src = {};
    m_dst = {};
    for (const char* name : {"a.gif", "b.gif", "c.jpg"})
        writeBytes(src(name), QByteArray("new ") + name);
}

void TestImageCopy::copyOrderSkipsEmptyFieldsAndStopsAtTheFirstEmptyName()
{
    ButtonSet set;
    set.Buttons[0] = {"One", {}, {}, {}, "plays no part", "o1", "v1", "d1"};
    set.Buttons[1] = {"Two", {}, {}, {}, {}, {}, "v2", {}};
    set.Buttons[3] = set.Buttons[0]; // behind the empty name: never copied
    set.DefaultDescriptionImage = "stored default";
    QStringList order;
    for (const ImageToCopy& i : imagesToCopy(set, "shown default"))
        order << i.source + u'|' + i.reportedAs;
    QCOMPARE(order,
             QStringList({"o1|o1", "v1|v1", "d1|d1", "v2|v2", "shown default|stored default"}));
    QCOMPARE(imagesToCopy(set, QString()).constLast().source, "v2");
}

void TestImageCopy::destinationFolder()
{
    QCOMPARE(::destinationFolder("/home/ann/site"), "/home/ann/site/");
    QCOMPARE(::destinationFolder("/home/ann/site/"), "/home/ann/site/");
    QCOMPARE(::destinationFolder("/"), "/");
}

// a.gif twice, then b.gif, which is already in the folder. Each row: the
// answers, then what was asked, b.gif's content afterwards, and whether the
// run was cancelled.
void TestImageCopy::existingTargets_data()
{
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QByteArray>("existingB");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("replace asks nothing") << "replace" << QByteArray("old") << ": new b.gif";
    // The second a.gif asks about the copy the first one has just made.
    QTest::newRow("ask: yes") << "yy" << QByteArray("old") << "a.gif,b.gif: new b.gif";
    QTest::newRow("ask: no keeps the file") << "nn" << QByteArray("old") << "a.gif,b.gif: old";
    QTest::newRow("ask: cancel ends the run") << "c" << QByteArray("old") << "a.gif: old cancelled";
    QTest::newRow("replacing a longer file")
        << "replace" << QByteArray("an old and much longer b.gif") << ": new b.gif";
    QTest::newRow("zero bytes count as absent") << "y" << QByteArray() << "a.gif: new b.gif";
}

void TestImageCopy::existingTargets()
{
    QFETCH(QString, answers);
    QFETCH(QByteArray, existingB);
    writeBytes(dst("b.gif"), existingB);
    ScriptedQuestions questions(answers);
    const CopyRun run =
        copy({"a.gif", "a.gif", "b.gif"}, m_dst.path(),
             answers == "replace" ? ExistingImages::Replace : ExistingImages::Ask, questions);
    QVERIFY(run.failures.isEmpty());
    QCOMPARE(readBytes(dst("a.gif")), "new a.gif");
    QTEST(questions.asked.join(',') + ": " + readBytes(dst("b.gif")) +
              (run.cancelled ? " cancelled" : ""),
          "outcome");
}

void TestImageCopy::failuresAreCollectedAndTheRunGoesOn()
{
    writeBytes(src("blocker"), "a file where a folder should be");
    QVERIFY(QDir(m_dst.path()).mkdir("c.jpg")); // a folder in the target's place
    ScriptedQuestions questions({});
    QList<ImageToCopy> list;
    for (const char* n : {"missing.gif", "a.gif", "c.jpg"})
        list.append(ImageToCopy{src(n), src(n)});
    list.append(ImageToCopy{"img/a.gif", "img/a.gif"}); // no file name
    list.append(ImageToCopy{src("b.gif"), "reported"});
    const CopyRun run =
        copyImages(list, ::destinationFolder(m_dst.path()), ExistingImages::Replace, questions);
    QVERIFY(!run.cancelled);
    QCOMPARE(run.copied, 2);
    QStringList failures;
    for (const CopyFailure& f : run.failures)
        failures << QStringLiteral("%1 %2 %3")
                        .arg(QFileInfo(f.source).fileName())
                        .arg(f.code)
                        .arg(f.description);
    QCOMPARE(failures,
             QStringList({"missing.gif 2 No such file or directory", "c.jpg 21 Is a directory",
                          "a.gif 2 No such file or directory"}));
    QCOMPARE(readBytes(dst("b.gif")), "new b.gif");
    // A destination that cannot hold files.
    const CopyRun blocked = copy({"a.gif"}, src("blocker"), ExistingImages::Replace, questions);
    QCOMPARE(blocked.failures.value(0).code, ENOTDIR);
}

void TestImageCopy::copyingAFileOntoItselfKeepsIt()
{
    ScriptedQuestions questions("y");
    QCOMPARE(copy({"a.gif"}, m_src.path(), ExistingImages::Ask, questions).failures.size(), 0);
    QCOMPARE(readBytes(src("a.gif")), "new a.gif");
}

// Cancel at the last update, when every image is copied, still cancels.
void TestImageCopy::progressCancelAtTheEnd()
{
    ScriptedQuestions questions({});
    questions.cancelAt = 1;
    QVERIFY(copy({"a.gif"}, m_dst.path(), ExistingImages::Replace, questions).cancelled);
}

void TestImageCopy::logBytes()
{
    const QByteArray dashes(119, '-');
    QCOMPARE(errorLog({{"C:\\pics\\café.gif", "No such file or directory", 2},
                       {"/x/y.gif", "Is a directory", 21}},
                      QDate(2026, 3, 7)),
             "ERROR LOG CREATED BY - TARNWICK - PLUGIN ( Rollcraft 2 ) : 07/03/2026\r\n" + dashes +
                 "\r\nERRORS ARE LISTED IN ERROR-ORDER..:\r\n" + dashes +
                 "\r\nC:\\pics\\caf\xE9.gif\r\nError : No such file or directory code: 2\r\n"
                 "/x/y.gif\r\nError : Is a directory code: 21\r\n");
    QCOMPARE(errorLogPath(), errorLogFile());
}

QTEST_MAIN(TestImageCopy)
#include "tst_imagecopy.moc"
