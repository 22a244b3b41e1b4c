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
    int cancelAt = -1;

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
    void progressCancel();
    void logBytes();

private:
    QString src(const QString& name) const { return m_src.filePath(name); }
    QString dst(const QString& name) const { return m_dst.filePath(name); }
    QList<ImageToCopy> images(const QStringList& names) const
    {
        QList<ImageToCopy> list;
        for (const QString& n : names)
            list.append({src(n), src(n)});
        return list;
    }
    QTemporaryDir m_srcDir, m_dstDir;
    QDir m_src, m_dst;
};

void TestImageCopy::init()
{
    m_srcDir = {};
    m_dstDir = {};
    m_src.setPath(m_srcDir.path());
    m_dst.setPath(m_dstDir.path());
    for (const char* name : {"a.gif", "b.gif", "c.jpg"})
        writeBytes(src(QLatin1String(name)), QByteArray("new ") + name);
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

// Two buttons share a.gif; b.gif is already in the folder.
void TestImageCopy::existingTargets_data()
{
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QByteArray>("existingB"); // what b.gif in the folder holds first
    QTest::addColumn<QString>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QByteArray>("finalB");
    QTest::addColumn<bool>("cancelled");

    QTest::newRow("replace asks nothing")
        << true << QByteArray("old") << "" << QStringList() << QByteArray("new b.gif") << false;
    // The second a.gif asks about the copy the first one has just made.
    QTest::newRow("ask: yes") << false << QByteArray("old") << "yy"
                              << QStringList({"a.gif", "b.gif"}) << QByteArray("new b.gif")
                              << false;
    QTest::newRow("ask: no keeps the file")
        << false << QByteArray("old") << "nn" << QStringList({"a.gif", "b.gif"})
        << QByteArray("old") << false;
    QTest::newRow("ask: cancel ends the run")
        << false << QByteArray("old") << "c" << QStringList({"a.gif"}) << QByteArray("old") << true;
    QTest::newRow("zero bytes count as absent")
        << false << QByteArray() << "y" << QStringList({"a.gif"}) << QByteArray("new b.gif")
        << false;
}

void TestImageCopy::existingTargets()
{
    QFETCH(bool, replace);
    QFETCH(QByteArray, existingB);
    QFETCH(QString, answers);
    QFETCH(QStringList, asked);
    QFETCH(QByteArray, finalB);
    QFETCH(bool, cancelled);
    writeBytes(dst(QStringLiteral("b.gif")), existingB);
    ScriptedQuestions questions(answers);
    const CopyRun run =
        copyImages(images({"a.gif", "a.gif", "b.gif"}), ::destinationFolder(m_dst.path()),
                   replace ? ExistingImages::Replace : ExistingImages::Ask, questions);
    QCOMPARE(questions.asked, asked);
    QCOMPARE(run.cancelled, cancelled);
    QVERIFY(run.failures.isEmpty());
    QCOMPARE(readBytes(dst(QStringLiteral("a.gif"))), QByteArray("new a.gif"));
    QCOMPARE(readBytes(dst(QStringLiteral("b.gif"))), finalB);
}

void TestImageCopy::failuresAreCollectedAndTheRunGoesOn()
{
    writeBytes(src(QStringLiteral("blocker")), "a file where a folder should be");
    QVERIFY(m_dst.mkdir(QStringLiteral("c.jpg"))); // a folder in the target's place
    QList<ImageToCopy> list = images({"missing.gif", "a.gif", "c.jpg"});
    list.append({QStringLiteral("img/a.gif"), QStringLiteral("img/a.gif")}); // no file name
    list.append({src(QStringLiteral("b.gif")), QStringLiteral("reported")});
    ScriptedQuestions questions(QString{});
    const CopyRun run =
        copyImages(list, ::destinationFolder(m_dst.path()), ExistingImages::Replace, questions);
    QVERIFY(!run.cancelled);
    QCOMPARE(run.copied, 2);
    QCOMPARE(run.failures.size(), 3);
    QCOMPARE(run.failures[0].source, src(QStringLiteral("missing.gif")));
    QCOMPARE(run.failures[0].code, ENOENT);
    QCOMPARE(run.failures[0].description, QStringLiteral("No such file or directory"));
    QCOMPARE(run.failures[1].code, EISDIR);
    QCOMPARE(run.failures[2].source, QStringLiteral("img/a.gif"));
    QCOMPARE(readBytes(dst(QStringLiteral("b.gif"))), QByteArray("new b.gif"));

    // A destination that cannot hold files.
    const CopyRun blocked =
        copyImages(images({"a.gif"}), ::destinationFolder(src(QStringLiteral("blocker"))),
                   ExistingImages::Replace, questions);
    QCOMPARE(blocked.failures.size(), 1);
    QCOMPARE(blocked.failures[0].code, ENOTDIR);
}

void TestImageCopy::copyingAFileOntoItselfKeepsIt()
{
    ScriptedQuestions questions(QStringLiteral("y"));
    const CopyRun run = copyImages(images({"a.gif"}), ::destinationFolder(m_src.path()),
                                   ExistingImages::Ask, questions);
    QCOMPARE(run.failures.size(), 0);
    QCOMPARE(readBytes(src(QStringLiteral("a.gif"))), QByteArray("new a.gif"));
}

void TestImageCopy::progressCancel()
{
    ScriptedQuestions questions(QString{});
    questions.cancelAt = 2;
    const CopyRun run =
        copyImages(images({"a.gif", "missing", "b.gif"}), ::destinationFolder(m_dst.path()),
                   ExistingImages::Replace, questions);
    QVERIFY(run.cancelled);
    QCOMPARE(run.copied, 1);
    QCOMPARE(run.failures.size(), 1);
    QVERIFY(!QFile::exists(dst(QStringLiteral("b.gif"))));
}

void TestImageCopy::logBytes()
{
    const QList<CopyFailure> failures = {
        {QStringLiteral("C:\\pics\\caf\u00e9.gif"), QStringLiteral("No such file or directory"), 2},
        {QStringLiteral("/x/y.gif"), QStringLiteral("Is a directory"), 21}};
    const QByteArray dashes(119, '-');
    QCOMPARE(errorLog(failures, QDate(2026, 3, 7)),
             "ERROR LOG CREATED BY - TARNWICK - PLUGIN ( Rollcraft 2 ) : 07/03/2026\r\n" + dashes +
                 "\r\nERRORS ARE LISTED IN ERROR-ORDER..:\r\n" + dashes +
                 "\r\nC:\\pics\\caf\xE9.gif\r\nError : No such file or directory code: 2\r\n"
                 "/x/y.gif\r\nError : Is a directory code: 21\r\n");
    QCOMPARE(errorLogPath(), QDir::home().filePath(QStringLiteral("twk_error.log")));
}

QTEST_MAIN(TestImageCopy)
#include "tst_imagecopy.moc"
