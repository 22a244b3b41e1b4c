// SPDX-License-Identifier: GPL-3.0-or-later
// The modern page's text rules: escaping and addresses, the fragment to paste into
// a page of one's own, class prefixes, the current page, right-to-left languages,
// pictures of twice the size, and the set the window publishes.
#include "datafile.h"
#include "modernpage.h"

#include <QRegularExpression>
#include <QtTest>

Q_DECLARE_METATYPE(PageMode)

namespace {

// Two buttons with all their pictures, and a default description.
ButtonSet twoButtons()
{
    ButtonSet set;
    set.Buttons[0] = {"Home",          "index.html",     {}, "Home", "img", "C:\\p\\home.gif",
                      "C:\\p\\on.gif", "C:\\p\\info.gif"};
    set.Buttons[1] = {"Shop",           "shop.html",       {}, "Shop", "img", "C:\\p\\shop.gif",
                      "C:\\p\\son.gif", "C:\\p\\sinfo.gif"};
    set.DefaultDescriptionImage = "C:\\p\\def.gif";
    return set;
}

// "WxH" as a size; "0x0" as no size at all.
QSize sizeOf(const QString& text)
{
    const QSize size(text.section('x', 0, 0).toInt(), text.section('x', 1).toInt());
    return size.isEmpty() ? QSize() : size;
}

// A page in English titled "Menu", the size of the first MouseOut picture known.
ModernPageOptions english()
{
    ModernPageOptions options;
    options.lang = "en";
    options.title = "Menu";
    options.sizes = {{"C:\\p\\home.gif", QSize(159, 25)}};
    return options;
}

// The rules of a page's or fragment's first <style>, one selector each, out
// of any @media block.
QStringList selectorsOf(const QString& page)
{
    const qsizetype from = page.indexOf("<style>\n") + 8;
    QString style = page.mid(from, page.indexOf("</style>") - from);
    style.replace(QRegularExpression("@media[^{]*\\{"), "");
    QStringList selectors;
    for (const QString& rule : style.split(QStringLiteral("}"), Qt::SkipEmptyParts)) {
        if (rule.trimmed().isEmpty())
            continue;
        for (const QString& selector : rule.section(QStringLiteral("{"), 0, 0).split(','))
            selectors << selector.trimmed();
    }
    return selectors;
}

} // namespace

class TestModernPage : public QObject {
    Q_OBJECT
private slots:
    // Whatever the prefix, a fragment is one element, every rule of its style
    // is written under it, and every class it gives carries the prefix.
    void fragmentKeepsToItsRoot_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("used");
        // clang-format off
        QTest::newRow("default prefix") << "rc-" << "rc-";
        QTest::newRow("own prefix") << "nav_2-" << "nav_2-";
        QTest::newRow("empty prefix") << "" << "";
        QTest::newRow("prefix starting with a digit falls back") << "2x" << "rc-";
        QTest::newRow("prefix breaking out of a class falls back") << "a\"b{" << "rc-";
        // clang-format on
    }

    void fragmentKeepsToItsRoot()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, used);
        ModernPageOptions options = english();
        options.fragment = true;
        options.classPrefix = prefix;
        const QString fragment = buildModernPage(twoButtons(), options);
        const QString root = '.' + used + "menu";
        QVERIFY2(fragment.startsWith("<div class=\"" + used + "menu\" lang=\"en\">\n<style>\n"),
                 qPrintable(fragment));
        QVERIFY2(fragment.endsWith("</div>\n</div>\n"), qPrintable(fragment));
        for (const QString& selector : selectorsOf(fragment)) {
            const QChar next = selector.mid(root.size()).front();
            QVERIFY2(selector.startsWith(root) && QStringLiteral(" [:").contains(next),
                     qPrintable(selector));
        }
        const QRegularExpression classes("class=\"([^\"]*)\"");
        for (const auto& match : classes.globalMatch(fragment)) {
            for (const QString& name : match.captured(1).split(' '))
                QVERIFY2(name.startsWith(used) && name.size() > used.size(), qPrintable(name));
        }
        for (const char* pageLevel : {"<!DOCTYPE", "<html", "<head", "<body", "<main", "<h1",
                                      "<meta", "<title", "<script", "Content-Security"})
            QVERIFY2(!fragment.contains(pageLevel, Qt::CaseInsensitive), pageLevel);
    }

    // The page is the fragment's menu inside a document, its style in the head.
    void pageHoldsTheMenuUnderItsRoot()
    {
        const QString page = buildModernPage(twoButtons(), english());
        const qsizetype body = page.indexOf("<body>");
        QCOMPARE(page.count("<style>"), 1);
        QVERIFY(page.indexOf("</style>") < body);
        QVERIFY2(page.contains("<h1 class=\"rc-vh\">Menu</h1>\n<div class=\"rc-menu\">\n<nav "
                               "class=\"rc-m\" aria-label=\"Menu\">"),
                 qPrintable(page));
        QVERIFY(page.endsWith("</div>\n</div>\n</main>\n</body>\n</html>\n"));
    }

    void menuText_data()
    {
        QTest::addColumn<QString>("option");
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
        QTest::newRow("sized") << "" << "" << page << R"(src="img/home.gif" alt="Home" width="159" height="25" decoding="async">)" << "";
        QTest::newRow("no over picture") << "over" << "" << page << R"(alt="Home" width="159" height="25" decoding="async"></a>)" << R"(class="rc-v")";
        QTest::newRow("no description") << "desc" << "" << page << R"(<a class="rc-b0" href)" << ".rc-d0";
        QTest::newRow("no default") << "default" << "" << page << R"(<div class="rc-d"><img class="rc-d0")" << "rc-dd\"";
        QTest::newRow("no out picture") << "out" << "" << page << R"(<span class="rc-o">Home</span><img class="rc-v")" << "";
        QTest::newRow("no file name") << "out" << "home.gif" << page << R"(<span class="rc-o">)" << R"(src="img/")";
        QTest::newRow("preview short path") << "over" << "x" << preview << R"(decoding="async"></a>)" << R"(class="rc-v")";
        QTest::newRow("scripts forbidden") << "" << "" << page << "content=\"script-src 'none';" << "<script";
        QTest::newRow("current page marked") << "current" << "a b.html?x" << page << R"(href="a%20b.html?x" aria-current="page">)" << "index.html\" aria-current";
        QTest::newRow("current page matched as the link is written") << "current" << "a%20b.html?x" << page << R"(href="a%20b.html?x" aria-current="page">)" << "";
        QTest::newRow("only the first link to the current page") << "current twice" << "index.html" << page << R"(aria-current="page"><img class="rc-o" src="img/home.gif")" << R"(aria-current="page"><img class="rc-o" src="img/shop.gif")";
        QTest::newRow("no link to the current page") << "current" << "other.html" << page << "" << "aria-current";
        QTest::newRow("menu named by its label, escaped") << "label" << "Main & <more>" << page << R"(aria-label="Main &amp; &lt;more&gt;")" << "";
        QTest::newRow("right to left page") << "lang" << "ar-EG" << page << R"(<html lang="ar-EG" dir="rtl">)" << "";
        QTest::newRow("right to left fragment") << "fragment lang" << "he" << page << R"(<div class="rc-menu" lang="he" dir="rtl">)" << "";
        QTest::newRow("fragment without a language takes the page's") << "fragment lang" << "" << page << "<div class=\"rc-menu\">\n" << "lang=";
        QTest::newRow("left to right has no dir") << "lang" << "en" << page << R"(<html lang="en">)" << "dir=";
        QTest::newRow("twice the size offered") << "hidpi" << "C:\\p\\home.gif" << page << R"(src="img/home.gif" srcset="img/home@2x.gif 2x" alt="Home")" << "on@2x";
        QTest::newRow("twice the size in the preview") << "hidpi" << "C:\\p\\home.gif" << preview << R"(srcset="file:///C|/p/home%402x.gif 2x")" << "";
        QTest::newRow("twice the size with a comma") << "hidpi" << "C:\\p\\a,b.gif" << page << R"(src="img/a,b.gif" srcset="img/a%2Cb@2x.gif 2x")" << "";
        QTest::newRow("twice the size not found: none offered") << "" << "" << page << "" << "srcset";
        QTest::newRow("MouseOver picture silent") << "" << "" << page << R"(<img class="rc-v" src="img/on.gif" alt="" decoding="async" fetchpriority="low"></a>)" << "";
        QTest::newRow("MouseOver picture within the MouseOut one comes late") << "sizes" << "159x25 159x25" << page << R"(alt="" width="159" height="25" decoding="async" loading="lazy"></a>)" << "";
        QTest::newRow("MouseOver picture wider comes after the shown") << "sizes" << "159x25 160x25" << page << R"(alt="" width="160" height="25" decoding="async" fetchpriority="low"></a>)" << "";
        QTest::newRow("MouseOver picture taller comes after the shown") << "sizes" << "159x25 159x26" << page << R"(alt="" width="159" height="26" decoding="async" fetchpriority="low"></a>)" << "";
        QTest::newRow("MouseOver picture of no known size comes after the shown") << "sizes" << "159x25 0x0" << page << "" << "lazy";
        QTest::newRow("default description with the page") << "" << "" << page << R"(<div class="rc-d"><img class="rc-dd" src="img/def.gif" alt="" decoding="async">)" << "";
        QTest::newRow("description silent, after the shown") << "" << "" << page << R"(<img class="rc-d0" src="img/info.gif" alt="" decoding="async" fetchpriority="low">)" << "";
        QTest::newRow("hover lays the MouseOver picture over") << "" << "" << page << ".rc-menu .rc-m>a:hover .rc-v{visibility:visible}" << "display:none";
        QTest::newRow("focus shows what hover shows") << "" << "" << page << ".rc-menu:has(.rc-b1:focus-visible) .rc-d1{visibility:visible}" << "";
        // clang-format on
    }

    void menuText()
    {
        QFETCH(QString, option);
        QFETCH(QString, value);
        QFETCH(PageMode, mode);
        QFETCH(QString, present);
        QFETCH(QString, absent);
        ButtonSet set = twoButtons();
        set.Buttons[1].Url = "a b.html?x";
        ModernPageOptions options = english();
        options.mode = mode;
        options.fragment = option.startsWith("fragment");
        if (option.startsWith("current"))
            options.current = value;
        if (option == "current twice")
            set.Buttons[1].Url = value;
        if (option == "label")
            options.label = value;
        if (option == "title")
            options.title = value;
        if (option.endsWith("lang"))
            options.lang = value;
        if (option == "sizes") {
            const QStringList sizes = value.split(' ');
            options.sizes.insert(set.Buttons[0].MouseOutImage, sizeOf(sizes[0]));
            options.sizes.insert(set.Buttons[0].MouseOverImage, sizeOf(sizes[1]));
        }
        if (option == "hidpi") {
            set.Buttons[0].MouseOutImage = value;
            options.hiDpi.insert(value);
        }
        // A row changing one of the first button's fields has the page to that button.
        // clang-format off
        static const QHash<QString, QString ButtonRecord::*> fields = {
            {"url", &ButtonRecord::Url}, {"target", &ButtonRecord::Target}, {"alt", &ButtonRecord::Alt}, {"prefix", &ButtonRecord::ImagePathPrefix},
            {"out", &ButtonRecord::MouseOutImage}, {"over", &ButtonRecord::MouseOverImage}, {"desc", &ButtonRecord::DescriptionImage}};
        // clang-format on
        if (option == "default")
            set.DefaultDescriptionImage = value;
        if (fields.contains(option)) {
            set.Buttons[0].*fields.value(option) = value;
            set.Buttons[1] = {};
        }
        const QString text = buildModernPage(set, options);
        QVERIFY2(text.contains(present), qPrintable(text));
        if (!absent.isEmpty())
            QVERIFY2(!text.contains(absent), qPrintable(text));
    }

    void hiDpiPicturePath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("twice");
        // clang-format off
        QTest::newRow("drive path") << "C:\\p\\home.gif" << "C:\\p\\home@2x.gif";
        QTest::newRow("last dot of the name") << "/i/a.b.jpeg" << "/i/a.b@2x.jpeg";
        QTest::newRow("dot in the folder only") << "/i.d/home" << "/i.d/home@2x";
        QTest::newRow("name that is all extension") << "/i/.gif" << "/i/.gif@2x";
        QTest::newRow("no file name") << "img/home.gif" << "";
        QTest::newRow("folder alone") << "C:\\p\\" << "";
        // clang-format on
    }

    void hiDpiPicturePath()
    {
        QFETCH(QString, path);
        QTEST(::hiDpiPicturePath(path), "twice");
    }

    void rightToLeft_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<bool>("rtl");
        QTest::newRow("Arabic") << "ar" << true;
        QTest::newRow("Hebrew with region") << "he-IL" << true;
        QTest::newRow("Persian in any case") << "FA" << true;
        QTest::newRow("Urdu") << "ur" << true;
        QTest::newRow("language that merely begins like one") << "arn" << false;
        QTest::newRow("right-to-left script named") << "pa-Arab-PK" << true;
        QTest::newRow("left-to-right script named") << "ar-Latn" << false;
        QTest::newRow("English") << "en-GB" << false;
        QTest::newRow("none") << "" << false;
    }

    void rightToLeft()
    {
        QFETCH(QString, lang);
        QTEST(isRightToLeft(lang), "rtl");
    }

    // The set the window publishes beside its page reads back as the set, a
    // character Windows-1252 holds or not.
    void publishedSetReadsBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("Windows-1252") << "Caf\u00e9 \u20ac \u2018x\u2019";
        QTest::newRow("beyond Windows-1252") << "\u041c\u0435\u043d\u044e \u83dc\u5355";
    }

    void publishedSetReadsBack()
    {
        QFETCH(QString, text);
        const QList<ButtonRecord> buttons{
            {text, "a.html", "_top", text, "img", "/p/" + text + ".gif", {}, "C:\\d.gif"},
            {"B", {}, {}, {}, {}, {}, {}, {}}};
        const DataFileReadResult read = readDataFileText(dataFileText("/p/def.gif", buttons));
        QVERIFY(read.ok);
        QCOMPARE(read.buttons, buttons);
        QCOMPARE(read.DefaultDescriptionImage, "/p/def.gif");
    }
};

QTEST_APPLESS_MAIN(TestModernPage)
#include "tst_modernpage.moc"
