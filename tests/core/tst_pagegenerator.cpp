// SPDX-License-Identifier: GPL-3.0-or-later
// The pages built from a set: the classic page and its preview, the modern
// page, the findings about what a page cannot carry, and the path rules.
#include "datafile.h"
#include "modernpage.h"
#include "pagefindings.h"
#include "pagegenerator.h"
#include "pathhelpers.h"
#include "testfiles.h"

#include <QtTest>

Q_DECLARE_METATYPE(ButtonSet)
Q_DECLARE_METATYPE(PageMode)

namespace {

ButtonRecord button(const QString& name, const QString& prefix, const QString& out)
{
    return {name, name.toLower() + ".htm", {}, name, prefix, out, {}, {}};
}

QStringList linesOf(const QString& page)
{
    return page.chopped(2).split("\r\n"); // the page ends in CR LF
}

// One button with all three pictures, and a default description, each
// field of which a row replaces.
ButtonSet oneButton(const QString& field, const QString& value)
{
    ButtonSet set;
    set.Buttons[0] = {"Home",          "index.html",     {}, "Home", "img", "C:\\p\\home.gif",
                      "C:\\p\\on.gif", "C:\\p\\info.gif"};
    set.DefaultDescriptionImage = "C:\\p\\def.gif";
    // clang-format off
    static const QHash<QString, QString ButtonRecord::*> fields = {
        {"url", &ButtonRecord::Url}, {"target", &ButtonRecord::Target}, {"alt", &ButtonRecord::Alt}, {"prefix", &ButtonRecord::ImagePathPrefix},
        {"out", &ButtonRecord::MouseOutImage}, {"over", &ButtonRecord::MouseOverImage}, {"desc", &ButtonRecord::DescriptionImage}};
    // clang-format on
    if (field == "default")
        set.DefaultDescriptionImage = value;
    else if (fields.contains(field))
        set.Buttons[0].*fields.value(field) = value;
    return set;
}

} // namespace

class TestPageGenerator : public QObject {
    Q_OBJECT
private slots:
    // A hand-checked set covering prefixes img\, img/ and none, native and
    // Windows paths, names without a folder, targets and quotes.
    void goldenPages()
    {
        const DataFileReadResult read = readDataFile(readBytes(QFINDTESTDATA("golden/mixed.rk2")));
        QVERIFY(read.ok);
        for (const auto& [mode, golden] : {std::pair{PageMode::Page, "golden/mixed-page.html"},
                                           {PageMode::Preview, "golden/mixed-preview.html"}}) {
            const QStringList actual = linesOf(buildPage(toButtonSet(read), mode));
            const QStringList expected =
                linesOf(QString::fromUtf8(readBytes(QFINDTESTDATA(golden))));
            for (qsizetype i = 0; i < qMax(actual.size(), expected.size()); ++i)
                QCOMPARE(actual.value(i), expected.value(i));
        }
    }

    // Each row: buttons B0.., the one whose name is emptied, how many the page shows.
    void lineCount_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("emptyNameAt");
        QTest::addColumn<int>("shown");
        QTest::newRow("none") << 0 << -1 << 0;
        QTest::newRow("one") << 1 << -1 << 1;
        QTest::newRow("full, two-digit names") << 100 << -1 << 100;
        QTest::newRow("empty name in the middle") << 5 << 2 << 2;
        QTest::newRow("empty first name") << 3 << 0 << 0;
    }

    void lineCount()
    {
        QFETCH(int, buttons);
        QFETCH(int, emptyNameAt);
        QFETCH(int, shown);
        ButtonSet set;
        for (int i = 0; i < buttons; ++i)
            set.Buttons[i] =
                button(QStringLiteral("B%1").arg(i), "img", QStringLiteral("C:\\o%1.gif").arg(i));
        if (emptyNameAt >= 0)
            set.Buttons[emptyNameAt].Name.clear();
        for (PageMode mode : {PageMode::Page, PageMode::Preview}) {
            const QString page = buildPage(set, mode);
            QVERIFY(page.endsWith("</html>\r\n"));
            QCOMPARE(page.count("\r\n"), 68 + 4 * shown);
            QCOMPARE(page.count('\n'), page.count("\r\n"));
            QCOMPARE(page.count("lighten('name"), shown);
        }
        if (buttons == 100)
            QCOMPARE(linesOf(buildPage(set, PageMode::Page))[334],
                     "name99a = new Image;name99a.src = 'img/o99.gif';");
    }

    // Lines the mixed pages do not show: where the default image goes, what an
    // empty or one-character image gives.
    void lines_data()
    {
        QTest::addColumn<ButtonSet>("set");
        QTest::addColumn<PageMode>("mode");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("expected");
        ButtonSet empty, set;
        empty.DefaultDescriptionImage = "C:\\d\\def.gif";
        set.Buttons[0] = button("A", "top", "C:\\a.gif");
        set.Buttons[0].MouseOverImage = "x";
        set.Buttons[1] = button("B", "other", {});
        set.DefaultDescriptionImage = "y";
        const PageMode page = PageMode::Page, preview = PageMode::Preview;
        // clang-format off
        QTest::newRow("n=0: default right after line 37") << empty << page << 38 << "defaultimage = new Image;defaultimage.src = 'def.gif';";
        QTest::newRow("n=0: description area") << empty << page << 66 << "<img src=\"def.gif\" name=\"defimage\"></p>";
        QTest::newRow("preview: empty MouseOut leaves the row empty") << set << preview << 73 << "";
        QTest::newRow("preview: one-character image") << set << preview << 39 << "";
        QTest::newRow("preview: one-character default") << set << preview << 44 << "";
        QTest::newRow("page: one-character default under button 0's prefix") << set << page << 44 << "defaultimage = new Image;defaultimage.src = 'top/';";
        // clang-format on
    }

    void lines()
    {
        QFETCH(ButtonSet, set);
        QFETCH(PageMode, mode);
        QFETCH(int, line);
        QTEST(linesOf(buildPage(set, mode)).value(line - 1, "<none>"), "expected");
    }

    void pageText_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<PageMode>("mode");
        QTest::addColumn<QString>("present");
        QTest::addColumn<QString>("absent");
        const PageMode page = PageMode::Page, preview = PageMode::Preview;
        // clang-format off
        QTest::newRow("alt escaped") << "alt" << "a\"b<i>&'" << page << R"(alt="a&quot;b&lt;i&gt;&amp;&#39;")" << "<i>";
        QTest::newRow("title escaped") << "title" << "<b>\"&" << page << "<title>&lt;b&gt;&quot;&amp;</title>" << "<b>";
        QTest::newRow("lang escaped") << "lang" << "x\"y" << page << R"(<html lang="x&quot;y">)" << "";
        QTest::newRow("url cleaned, query kept") << "url" << "a b\".htm?q=1&r#s" << page << R"(href="a%20b%22.htm?q=1&amp;r#s")" << "";
        QTest::newRow("url non-ASCII kept") << "url" << "café.html" << page << R"(href="café.html")" << "";
        QTest::newRow("target escaped") << "target" << "t\"x" << page << R"( target="t&quot;x")" << "";
        QTest::newRow("target empty") << "target" << "" << page << R"(href="index.html">)" << "target=";
        QTest::newRow("file name encoded") << "out" << "C:\\p\\a b#%é\"'<.gif" << page << R"(src="img/a%20b%23%25%C3%A9%22%27%3C.gif")" << "";
        QTest::newRow("prefix encoded") << "prefix" << "my img/ü" << page << R"(src="my%20img/%C3%BC/home.gif")" << "";
        QTest::newRow("prefix address kept") << "prefix" << "https://cdn.example/i" << page << R"(src="https://cdn.example/i/home.gif")" << "";
        QTest::newRow("prefix empty") << "prefix" << "" << page << R"(src="home.gif")" << "";
        QTest::newRow("preview native") << "out" << "/home/ann/a b/ä.gif" << preview << R"(src="file:///home/ann/a%20b/%C3%A4.gif")" << "";
        QTest::newRow("preview drive") << "out" << "C:\\a b\\x#.gif" << preview << R"(src="file:///C|/a%20b/x%23.gif")" << "";
        QTest::newRow("sized") << "" << "" << page << R"(src="img/home.gif" alt="Home" width="159" height="25">)" << "";
        QTest::newRow("size unknown") << "" << "" << page << R"(src="img/on.gif" alt="Home">)" << "";
        QTest::newRow("no over picture") << "over" << "" << page << R"(alt="Home" width="159" height="25"></a>)" << R"(class="v")";
        QTest::newRow("no description") << "desc" << "" << page << R"(<a class="b0" href)" << ".d0";
        QTest::newRow("description") << "" << "" << page << "main:has(.b0:focus-visible) .d0{display:block}" << "";
        QTest::newRow("no default") << "default" << "" << page << R"(<div class="d"><img class="d0")" << "dd\"";
        QTest::newRow("no out picture") << "out" << "" << page << R"(<span class="o">Home</span><img class="v")" << "";
        QTest::newRow("no file name") << "out" << "home.gif" << page << R"(<span class="o">)" << R"(src="img/")";
        QTest::newRow("preview short path") << "over" << "x" << preview << R"(height="25"></a>)" << R"(class="v")";
        QTest::newRow("scripts forbidden") << "" << "" << page << "content=\"script-src 'none';" << "<script";
        // clang-format on
    }

    void pageText()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(PageMode, mode);
        QFETCH(QString, present);
        QFETCH(QString, absent);
        ModernPageOptions options{mode, "en", "Menu", {{"C:\\p\\home.gif", QSize(159, 25)}}};
        if (field == "lang")
            options.lang = value;
        if (field == "title")
            options.title = value;
        const QString page = buildModernPage(oneButton(field, value), options);
        QVERIFY2(page.contains(present), qPrintable(page));
        if (!absent.isEmpty())
            QVERIFY2(!page.contains(absent), qPrintable(page));
    }

    // The finding rules' own edge cases, each set's whole list of findings as
    // "BUTTON FIELD: EFFECT" (tst_tool shows one of each kind as a user reads it).
    void findings_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("found");
        const auto row = [](const char* what, const QStringList& lines, const QStringList& found) {
            QTest::newRow(what) << lines << found;
        };
        const QString noLight = ": the button does not light up (SyntaxError)";
        const QString badEscape = "1 Alt: the script cannot read its backslash" + noLight;
        const auto one = [](const QStringList& values) {
            return QStringList{"#"} + block("B", values);
        };
        // clang-format off
        row("empty braces", one({"#", "#", "#", "#", "#", "\\u{}"}), {badEscape});
        row("short \\u at the end", one({"#", "#", "#", "#", "#", "\\u00e"}), {badEscape});
        row("a quote first cuts the attribute", one({"#", "#", "#", "#", "#", "it's \"x\""}),
            {"1 Alt: its \" ends the mouse-over attribute: the button does not light up, and its alternative text is cut"});
        row("Windows path", one({"C:\\site\\it's.gif"}), {"1 MouseOut image: the apostrophe in \"it's.gif\" ends the script's string: no button lights up (SyntaxError)"});
        row("a prefix ending in a backslash gets its slash", one({"/a/b.gif", "#", "#", "#", "#", "#", "img\\"}), {});
        row("a folder", one({"/home/ann/pics/"}), {"1 MouseOut image: \"/home/ann/pics/\" gives the page no file name (src = '', a broken picture) and cannot be copied"});
        row("the default image takes the first button's prefix", QStringList{"d.gif"} + block("B", {"#", "#", "#", "#", "#", "#", "img"}) + block("C", {"#", "#", "#", "#", "#", "#", "other"}),
            {"0 Default description image: \"d.gif\" gives the page no file name (src = 'img/', a broken picture) and cannot be copied"});
        row("the default image copied over a button's", QStringList{"/a/x.gif"} + block("B", {"/b/x.gif"}),
            {"0 Default description image: copied as x.gif, it replaces the MouseOut image of button 1 \"B\" (/b/x.gif): both show this picture"});
        row("nothing after an empty name is the page's", QStringList{"#"} + block("") + block("C", {"#", "#", "#", "#", "#", "it's"}),
            {"1 Name: the page ends before this button: the file lists 2 buttons, the page has 0"});
        // clang-format on
    }

    void findings()
    {
        QFETCH(QStringList, lines);
        const QByteArray bytes = rk2(QStringList{"[COMMON]"} + lines);
        const DataFileReadResult read = readDataFile(bytes);
        QVERIFY(read.ok);
        QStringList found;
        for (const PageFinding& f : pageFindings(read, bytes))
            found << QString::number(f.button) + ' ' + f.field + ": " + f.effect;
        QTEST(found, "found");
    }

    // A Windows path splits at its last backslash, a native one at its last
    // slash; anything else has no folder and no name. A preview's address for a
    // path turns its second character into "|" and its backslashes into slashes.
    // The golden pages show the common paths; these are the edges.
    void paths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        const char* rows[][4] = {
            {"C:\\site\\pics\\", "C:\\site\\pics\\", "", "file:///C|/site/pics/"},
            {"d:\\a b\\x.jpg", "d:\\a b\\", "x.jpg", "file:///d|/a b/x.jpg"},
            {"C:", "", "", "file:///C|"},
            {"\\", "\\", "", "<fails>"},
            {"/home/a\\b.gif", "/home/a\\", "b.gif", "file:////|ome/a/b.gif"},
            {"/", "/", "", "<fails>"},
            {"img/home.gif", "", "", "file:///i|g/home.gif"},
            {"", "", "", "<fails>"},
        };
        for (const auto& row : rows)
            QTest::addRow("'%s'", row[0])
                << QString(row[0]) << QString(row[1]) << QString(row[2]) << QString(row[3]);
    }

    void paths()
    {
        QFETCH(QString, path);
        QTEST(GetFilenameOrFilePathFromString(path, 0), "folder");
        QTEST(GetFilenameOrFilePathFromString(path, 1), "name");
        QCOMPARE(GetFilenameOrFilePathFromString(path, 2), QString());
        QTEST(GetPrevPath(path).value_or("<fails>"), "address");
    }
};

QTEST_MAIN(TestPageGenerator)
#include "tst_pagegenerator.moc"
