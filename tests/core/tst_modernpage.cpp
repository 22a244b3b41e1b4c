// SPDX-License-Identifier: GPL-3.0-or-later
#include "modernpage.h"

#include <QtTest>

Q_DECLARE_METATYPE(PageMode)

namespace {

// One button with all three pictures, and a default description, each
// field of which a row replaces.
ButtonSet oneButton(const QString& field, const QString& value)
{
    ButtonSet set;
    set.Buttons[0] = {"Home",          "index.html",     {}, "Home", "img", "C:\\p\\home.gif",
                      "C:\\p\\on.gif", "C:\\p\\info.gif"};
    set.DefaultDescriptionImage = "C:\\p\\def.gif";
    static const QHash<QString, QString ButtonRecord::*> fields = {
        {"url", &ButtonRecord::Url},
        {"target", &ButtonRecord::Target},
        {"alt", &ButtonRecord::Alt},
        {"prefix", &ButtonRecord::ImagePathPrefix},
        {"out", &ButtonRecord::MouseOutImage},
        {"over", &ButtonRecord::MouseOverImage},
        {"desc", &ButtonRecord::DescriptionImage}};
    if (field == "default")
        set.DefaultDescriptionImage = value;
    else if (fields.contains(field))
        set.Buttons[0].*fields.value(field) = value;
    return set;
}

} // namespace

class TestModernPage : public QObject {
    Q_OBJECT
private slots:
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
};

QTEST_APPLESS_MAIN(TestModernPage)
#include "tst_modernpage.moc"
