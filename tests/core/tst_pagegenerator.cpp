#include "datafile.h"
#include "pagegenerator.h"

#include <QFile>
#include <QtTest>

Q_DECLARE_METATYPE(ButtonSet)
Q_DECLARE_METATYPE(PageMode)

namespace {

ButtonRecord button(const QString& name, const QString& prefix = QString(),
                    const QString& out = QString())
{
    ButtonRecord b;
    b.Name = name;
    b.Alt = name;
    b.Url = name.toLower() + QStringLiteral(".htm");
    b.ImagePathPrefix = prefix;
    b.MouseOutImage = out;
    return b;
}

QStringList linesOf(const QString& page)
{
    QStringList lines = page.split(QStringLiteral("\r\n"));
    // The page ends in CR LF, so the split leaves one empty tail.
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

QString golden(const QString& name)
{
    QFile f(QFINDTESTDATA(QStringLiteral("golden/") + name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

} // namespace

class TestPageGenerator : public QObject {
    Q_OBJECT
private slots:
    void goldenPages_data();
    void goldenPages();
    void lineCount_data();
    void lineCount();
    void lines_data();
    void lines();
    void bannerWidth();
    void title();
};

// A hand-checked set covering prefixes img\, img/ and none, native and
// Windows paths, names without a folder, an empty target and quotes.
void TestPageGenerator::goldenPages_data()
{
    QTest::addColumn<PageMode>("mode");
    QTest::addColumn<QString>("expectedFile");
    QTest::newRow("page") << PageMode::Page << "mixed-page.html";
    QTest::newRow("preview") << PageMode::Preview << "mixed-preview.html";
}

void TestPageGenerator::goldenPages()
{
    QFETCH(PageMode, mode);
    QFETCH(QString, expectedFile);
    QFile file(QFINDTESTDATA("golden/mixed.rk2"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const DataFileReadResult read = readDataFile(file.readAll());
    QVERIFY(read.ok);
    const QStringList actual = linesOf(buildPage(toButtonSet(read), mode));
    const QStringList expected = linesOf(golden(expectedFile));
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i)
        QVERIFY2(
            actual[i] == expected[i],
            qPrintable(QStringLiteral("line %1:\n%2\n%3").arg(i + 1).arg(actual[i], expected[i])));
}

void TestPageGenerator::lineCount_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("emptyNameAt");
    QTest::addColumn<int>("expectedButtons");
    QTest::newRow("none") << 0 << -1 << 0;
    QTest::newRow("one") << 1 << -1 << 1;
    QTest::newRow("full") << 100 << -1 << 100;
    QTest::newRow("empty name in the middle") << 5 << 2 << 2;
    QTest::newRow("empty first name") << 3 << 0 << 0;
}

void TestPageGenerator::lineCount()
{
    QFETCH(int, buttons);
    QFETCH(int, emptyNameAt);
    QFETCH(int, expectedButtons);
    ButtonSet set;
    for (int i = 0; i < buttons; ++i)
        set.Buttons[i] =
            button(QStringLiteral("B%1").arg(i), {}, QStringLiteral("C:\\o%1.gif").arg(i));
    if (emptyNameAt >= 0)
        set.Buttons[emptyNameAt].Name.clear();
    for (PageMode mode : {PageMode::Page, PageMode::Preview}) {
        const QString page = buildPage(set, mode);
        QVERIFY(page.endsWith(QLatin1String("</html>\r\n")));
        QCOMPARE(page.count(QLatin1String("\r\n")), pageLineCount(expectedButtons));
        QCOMPARE(page.count(QLatin1Char('\n')), page.count(QLatin1String("\r\n")));
        QCOMPARE(page.count(QLatin1String("lighten('name")), expectedButtons);
    }
}

void TestPageGenerator::lines_data()
{
    QTest::addColumn<ButtonSet>("set");
    QTest::addColumn<PageMode>("mode");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("expected");

    ButtonSet empty;
    empty.DefaultDescriptionImage = QStringLiteral("C:\\d\\def.gif");
    QTest::newRow("n=0: default right after line 37")
        << empty << PageMode::Page << 38
        << "defaultimage = new Image;defaultimage.src = 'def.gif';";
    QTest::newRow("n=0: description area after the paragraph")
        << empty << PageMode::Page << 66 << "<img src=\"def.gif\" name=\"defimage\"></p>";

    ButtonSet hundred;
    for (int i = 0; i < 100; ++i)
        hundred.Buttons[i] = button(QStringLiteral("B%1").arg(i), QStringLiteral("img"),
                                    QStringLiteral("C:\\p\\o%1.gif").arg(i));
    QTest::newRow("n=100: last preload") << hundred << PageMode::Page << 37 + 298
                                         << "name99a = new Image;name99a.src = 'img/o99.gif';";
    QTest::newRow("n=100: last row")
        << hundred << PageMode::Page << 465
        << "<a href=\"b99.htm\"  onmouseover = \"lighten('name99'); window.status='B99'; return "
           "true;\" onmouseout=\"darken('name99'); window.status='';return true\" "
           "onclick=\"darken('name99')\"><img src=\"img/o99.gif\" alt=\"B99\" border=\"0\" "
           "name=\"name99\"></a><br>";

    ButtonSet prefixes;
    prefixes.Buttons[0] = button(QStringLiteral("A"), QStringLiteral("top"));
    prefixes.Buttons[1] =
        button(QStringLiteral("B"), QStringLiteral("other"), QStringLiteral("C:\\x\\b.gif"));
    prefixes.Buttons[1].Target = QStringLiteral("_blank");
    prefixes.DefaultDescriptionImage = QStringLiteral("/srv/pics/def.gif");
    QTest::newRow("default uses button 0's prefix")
        << prefixes << PageMode::Page << 44
        << "defaultimage = new Image;defaultimage.src = 'top/def.gif';";
    QTest::newRow("target attribute")
        << prefixes << PageMode::Page << 73
        << "<a href=\"b.htm\" target=\"_blank\" onmouseover = \"lighten('name1'); "
           "window.status='B'; return true;\" onmouseout=\"darken('name1'); "
           "window.status='';return true\" onclick=\"darken('name1')\"><img "
           "src=\"other/b.gif\" alt=\"B\" border=\"0\" name=\"name1\"></a><br>";
    QTest::newRow("preview: empty MouseOut leaves the row empty")
        << prefixes << PageMode::Preview << 72 << "";
    QTest::newRow("preview: native default")
        << prefixes << PageMode::Preview << 44
        << "defaultimage = new Image;defaultimage.src = 'file:///srv/pics/def.gif';";

    ButtonSet oneChar;
    oneChar.Buttons[0] = button(QStringLiteral("A"), {}, QStringLiteral("C:\\a.gif"));
    oneChar.Buttons[0].MouseOverImage = QStringLiteral("x");
    oneChar.DefaultDescriptionImage = QStringLiteral("y");
    QTest::newRow("preview: one-character image") << oneChar << PageMode::Preview << 39 << "";
    QTest::newRow("preview: one-character default, preload")
        << oneChar << PageMode::Preview << 41 << "";
    QTest::newRow("preview: one-character default, area")
        << oneChar << PageMode::Preview << 70 << "";
    QTest::newRow("page: one-character default is a bare name")
        << oneChar << PageMode::Page << 70 << "<img src=\"\" name=\"defimage\"></p>";
}

void TestPageGenerator::lines()
{
    QFETCH(ButtonSet, set);
    QFETCH(PageMode, mode);
    QFETCH(int, line);
    QFETCH(QString, expected);
    const QStringList lines = linesOf(buildPage(set, mode));
    QVERIFY(line <= lines.size());
    QCOMPARE(lines[line - 1], expected);
}

void TestPageGenerator::bannerWidth()
{
    const QStringList lines = linesOf(buildPage(ButtonSet{}, PageMode::Page));
    for (int i = 6; i <= 11; ++i)
        QCOMPARE(lines[i - 1].size(), 90);
    for (int i = 7; i <= 10; ++i)
        QVERIFY(lines[i - 1].startsWith(QLatin1String("   ### ")));
}

void TestPageGenerator::title()
{
    QCOMPARE(scriptTitle(QDateTime(QDate(2026, 12, 4), QTime(17, 58, 35))),
             QStringLiteral("Rollcraft II 04-12-26 - 17-58-35"));
    QCOMPARE(scriptTitle(QDateTime(QDate(2031, 1, 9), QTime(7, 5, 3))),
             QStringLiteral("Rollcraft II 09-01-31 - 07-05-03"));
}

QTEST_APPLESS_MAIN(TestPageGenerator)
#include "tst_pagegenerator.moc"
