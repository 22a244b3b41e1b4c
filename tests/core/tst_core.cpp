// SPDX-License-Identifier: GPL-3.0-or-later
// The core without windows: the data file, the pages built from a set (classic; modern,
// its fragment and the set the window publishes beside it), the findings, the path rules
// and the image copy (names, modes, Cancel and signals).
#include "datafile.h"
#include "imagecopy.h"
#include "modernpage.h"
#include "pagefindings.h"
#include "pagegenerator.h"
#include "pathhelpers.h"
#include "singleline.h"
#include "testfiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

Q_DECLARE_METATYPE(ButtonRecord)
Q_DECLARE_METATYPE(ButtonSet)
Q_DECLARE_METATYPE(PageMode)

namespace {

const QByteArray Mark = "\xEF\xBB\xBF";

const QByteArray OneButton =
    rk2(QStringList{"[COMMON]", "C:\\p\\def.gif"} +
        block("Home", {"C:\\p\\out.gif", "#", "C:\\p\\d.gif", "index.htm", "#", "Home", "img"}));

// Reading stopped nowhere: the file was read whole.
constexpr int Whole = -1;

// A button as named, with a MouseOut image or none, and nothing else.
ButtonRecord named(const QString& name, const QString& out = {})
{
    return {name, {}, {}, {}, {}, out, {}, {}};
}

ButtonRecord button(const QString& name, const QString& prefix, const QString& out)
{
    return {name, name.toLower() + ".htm", {}, name, prefix, out, {}, {}};
}

QStringList linesOf(const QString& page)
{
    return page.chopped(2).split("\r\n"); // the page ends in CR LF
}

// Two buttons with all their pictures, and a default description.
ButtonSet twoButtons()
{
    ButtonSet set;
    set.Buttons[0] = {"Home", "index.html", {}, "Home", "img", "C:\\p\\home.gif", "C:\\p\\on.gif", "C:\\p\\info.gif"};
    set.Buttons[1] = {"Shop", "shop.html", {}, "Shop", "img", "C:\\p\\shop.gif", "C:\\p\\son.gif", "C:\\p\\sinfo.gif"};
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

// Answers from a script ("y", "n", "c" per question) and records what was asked.
struct ScriptedQuestions final : CopyQuestions {
    explicit ScriptedQuestions(QString script = {}) : answers(std::move(script)) {}
    Answer overwrite(const QString& target) override
    {
        asked << QFileInfo(target).fileName();
        const QChar a = answers.isEmpty() ? u'c' : answers.front();
        answers.remove(0, 1);
        return a == u'y' ? Answer::Yes : a == u'n' ? Answer::No : Answer::Cancel;
    }
    bool progress(int done, int) override { return done != cancelAt; }
    bool stopped() override { return stopAfter >= 0 && stops++ >= stopAfter; }
    QString answers;
    QStringList asked;
    int cancelAt = -1;  // the progress update whose Cancel the user presses
    int stopAfter = -1; // the blocks copied before Cancel is pressed in the middle
    int stops = 0;
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

// Writes files under `root`, each name followed by its text, and the folders they are in.
void writeFiles(const QString& root, const QStringList& namesAndTexts)
{
    for (qsizetype i = 0; i + 1 < namesAndTexts.size(); i += 2) {
        QDir(root).mkpath(QFileInfo(namesAndTexts[i]).path());
        writeBytes(root + '/' + namesAndTexts[i], namesAndTexts[i + 1].toUtf8());
    }
}

// A picture of 4 MiB, big.gif, and dst/big.gif, an old one of that name.
void bigPictureOverAnOldOne(const QTemporaryDir& dir)
{
    writeFiles(dir.path(), {"big.gif", QString(4 << 20, u'n'), "dst/big.gif", "old"});
}

} // namespace

class TestCore : public QObject {
    Q_OBJECT
private slots:
    // Each row: the bytes; the line where reading stopped (Whole: it did not), the default
    // image (notRead: none) and the buttons read; the bytes saving them gives.
    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("stoppedAt");
        QTest::addColumn<bool>("defaultRead");
        QTest::addColumn<QString>("defaultImage");
        QTest::addColumn<QList<ButtonRecord>>("buttons");
        QTest::addColumn<QByteArray>("savedAgain"); // when read whole; empty: the same bytes
        const auto row = [](const char* rule, const QByteArray& bytes, int stoppedAt,
                            const std::optional<QString>& defaultImage, const QList<ButtonRecord>& buttons,
                            const QByteArray& savedAgain = {}) {
            QTest::newRow(rule) << bytes << stoppedAt << defaultImage.has_value() << defaultImage.value_or(QString())
                                << buttons << savedAgain;
        };
        constexpr auto notRead = std::nullopt;
        const QByteArray one = OneButton;
        const char* const def = "C:\\p\\def.gif";
        const ButtonRecord home{"Home", "index.htm", {}, "Home", "img", "C:\\p\\out.gif", {}, "C:\\p\\d.gif"};
        QByteArray upper = QByteArray(one).replace("[Button]", "[BUTTON]");
        row("as written", one, Whole, def, {home});
        row("headers in any case", upper.replace("[COMMON]", "[common]"), Whole, def, {home}, one);
        row("LF line ends", QByteArray(one).replace("\r\n", "\n"), Whole, def, {home}, one);
        row("CR line ends", QByteArray(one).replace("\r\n", "\r"), Whole, def, {home}, one);
        row("no ending on the last line", one.chopped(2), Whole, def, {home}, one);
        row("# is the empty value", rk2({"[COMMON]", "#"}), Whole, "", {});
        row("a value starting with # is itself", rk2({"[COMMON]", "#top.gif"}), Whole, "#top.gif", {});
        row("empty file", {}, 1, notRead, {});
        row("blank before [COMMON]", rk2({" [COMMON]", "#"}), 1, notRead, {});
        row("blank after [COMMON]", rk2({"[COMMON] ", "#"}), 1, notRead, {});
        row("ends after line 1", rk2({"[COMMON]"}), 2, notRead, {});
        row("empty line after the last button", one + rk2({""}), 12, def, {home});
        row("bad header", one + rk2({"[Buton]"}), 12, def, {home});
        row("ends after a header", one + rk2({"[Button]"}), 13, def, {home});
        row("ends after a name", one + rk2({"[Button]", "News"}), 14, def, {home, named("News")});
        row("ends inside a block", one + rk2({"[Button]", "News", "C:\\n.gif", "#"}), 16, def,
            {home, named("News", "C:\\n.gif")});
        row("empty name is a button", one + rk2({"[Button]", ""}), 14, def, {home, named("")});
        row("an empty name stays an empty line", one + rk2(block("", {"C:\\e.gif"})), Whole, def,
            {home, named("", "C:\\e.gif")});
        row("dashes", "[COMMON]\r\n\x96 \x97\r\n", Whole, "– —", {});
        row("LF CR ends two lines", "[COMMON]\n\rC:\\d.gif\r\n", 3, "", {});
        // Bytes no editor would write.
        QStringList many{"[COMMON]", "#"};
        QList<ButtonRecord> hundred;
        for (int i = 0; i < 10000; ++i)
            many += block(QStringLiteral("B%1").arg(i));
        for (int i = 0; i < MaxButtons; ++i)
            hundred << named(QStringLiteral("B%1").arg(i));
        row("10 000 buttons: the first 100 stay", rk2(many), 903, "", hundred);
        const ButtonRecord wide = named("A", QString(16 << 20, u'x'));
        row("a 16 MB line", rk2(QStringList{"[COMMON]", "#"} + block("A", {wide.MouseOutImage})), Whole, "", {wide});
        const char nul[] = "[COMMON]\r\n\0\r\n[Button]\r\nA\0B\r\n\0\r\n";
        const ButtonRecord withNul = named(QString("A@B").replace('@', QChar(0)), QChar(0));
        row("NUL bytes", QByteArray(nul, sizeof nul - 1) + rk2(block("").mid(3)), Whole, QString(QChar(0)), {withNul});
        QByteArray high("[COMMON]\r\n");
        for (int c = 0x80; c <= 0xFF; ++c)
            high += char(c);
        // Windows-1252's own characters, then those it shares with Latin-1.
        QString decoded = "€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ";
        for (char16_t c = 0xA0; c <= 0xFF; ++c)
            decoded += QChar(c);
        row("every byte above 127", high + "\r\n", Whole, decoded, {});
        row("a file that cannot be opened", "<missing>", 0, notRead, {});
        // A set holding what Windows-1252 cannot is UTF-8 behind the mark, whole.
        const auto utf8 = [](const QStringList& lines) { return Mark + lines.join("\r\n").toUtf8() + "\r\n"; };
        row("CJK and Latin", utf8(QStringList{"[COMMON]", "#"} + block("é", {"/写真/a.gif"})), Whole, "",
            {named("é", "/写真/a.gif")});
        row("an emoji", utf8(QStringList{"[COMMON]", "#"} + block("😀")), Whole, "", {named("😀")});
        row("a mark with Windows-1252 bytes after it", Mark + "[COMMON]\r\nd\xE9j\xE0\r\n", Whole, "d\uFFFDj\uFFFD", {},
            utf8({"[COMMON]", "d\uFFFDj\uFFFD"}));
        row("a mark starting a line is text", Mark + "[COMMON]\r\n" + Mark + "#\r\n", Whole, QStringLiteral("\uFEFF#"),
            {});
        row("a mark on text that fits", utf8({"[COMMON]", "déjà"}), Whole, "déjà", {}, rk2({"[COMMON]", "déjà"}));
    }

    void reading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, savedAgain);
        const DataFileReadResult read =
            bytes == "<missing>" ? readDataFileAt("/nonexistent/menu.rk2") : readDataFile(bytes);
        QTEST(read.ok ? Whole : read.errorLine, "stoppedAt");
        QTEST(read.defaultDescriptionRead, "defaultRead");
        QTEST(read.DefaultDescriptionImage, "defaultImage");
        QTEST(read.buttons, "buttons");
        QCOMPARE(read.expected.isEmpty(), read.ok);
        if (!read.ok)
            return;
        QVERIFY(writeDataFile(read.DefaultDescriptionImage, read.buttons) ==
                (savedAgain.isEmpty() ? bytes : savedAgain));
        // The set the window publishes beside its page reads back as the set.
        const DataFileReadResult text = readDataFileText(dataFileText(read.DefaultDescriptionImage, read.buttons));
        QCOMPARE(std::pair(text.DefaultDescriptionImage, text.buttons),
                 std::pair(read.DefaultDescriptionImage, read.buttons));
    }

    // A break in any value would split its line: nothing is written.
    void writerRefusesLineBreaks()
    {
        ButtonRecord prefix = named("A");
        prefix.ImagePathPrefix = "im\r\ng";
        QVERIFY(!writeDataFile("a\n.gif", {named("A")})); // LF in the default image
        QVERIFY(!writeDataFile("#", {named("A\rB")}));    // CR in a name
        QVERIFY(!writeDataFile("#", {prefix}));           // CR LF in the prefix
    }

    // A file of up to 32 MiB is read; one byte more is refused before reading.
    void readingIsBounded()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("big.rk2");
        QStringList expected;
        for (const qint64 size : {MaxDataFileBytes, MaxDataFileBytes + 1}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
            file.close();
            expected << readDataFileAt(path).expected;
        }
        QCOMPARE(expected, QStringList({"\"[COMMON]\"", "a data file of at most 32 MiB, not a larger file"}));
    }

    // A save that cannot start, or fails half way, leaves the earlier file alone.
    void failedSaveKeepsTheEarlierFile()
    {
        for (const bool halfWay : {false, true}) {
            QTemporaryDir dir;
            const QString path = dir.filePath("menu.rk2");
            QVERIFY(saveFileAtomically(path, OneButton));
            const bool saved = underFileSizeLimit(halfWay ? 64 : RLIM_INFINITY, [&] {
                return saveFileAtomically(halfWay ? path : path + "/menu.rk2", QByteArray(4096, 'x'));
            });
            QVERIFY(!saved);
            QCOMPARE(readBytes(path), OneButton);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"menu.rk2"});
        }
    }

    // A hand-checked set: prefixes img\, img/ and none, native, Windows, bare paths.
    void goldenPages()
    {
        const DataFileReadResult read = readDataFile(readBytes(QFINDTESTDATA("core/golden/mixed.rk2")));
        QVERIFY(read.ok);
        for (const auto& [mode, golden] : {std::pair{PageMode::Page, "core/golden/mixed-page.html"},
                                           {PageMode::Preview, "core/golden/mixed-preview.html"}}) {
            QCOMPARE(linesOf(buildPage(toButtonSet(read), mode)),
                     linesOf(QString::fromUtf8(readBytes(QFINDTESTDATA(golden)))));
        }
    }

    // Each row: buttons B0.., the one whose name is emptied, how many the page shows.
    void lineCount_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("emptyNameAt");
        QTest::addColumn<int>("shown");
        QTest::newRow("no buttons, no rows") << 0 << -1 << 0;
        QTest::newRow("100 buttons, two-digit names") << 100 << -1 << 100;
        QTest::newRow("an empty name ends the menu") << 5 << 2 << 2;
        QTest::newRow("an empty first name leaves it empty") << 3 << 0 << 0;
    }

    void lineCount()
    {
        QFETCH(int, buttons);
        QFETCH(int, emptyNameAt);
        QFETCH(int, shown);
        ButtonSet set;
        for (int i = 0; i < buttons; ++i)
            set.Buttons[i] = button(QStringLiteral("B%1").arg(i), "img", QStringLiteral("C:\\o%1.gif").arg(i));
        if (emptyNameAt >= 0)
            set.Buttons[emptyNameAt].Name.clear();
        for (PageMode mode : {PageMode::Page, PageMode::Preview}) {
            const QString page = buildPage(set, mode);
            QCOMPARE(page.count("\r\n"), 68 + 4 * shown);
            QCOMPARE(page.count("lighten('name"), shown);
        }
        if (buttons == 100)
            QCOMPARE(linesOf(buildPage(set, PageMode::Page))[334], "name99a = new Image;name99a.src = 'img/o99.gif';");
    }

    // Lines the mixed pages do not show: the default image, empty and short images.
    void lines_data()
    {
        QTest::addColumn<ButtonSet>("set");
        QTest::addColumn<PageMode>("mode");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("expected");
        ButtonSet empty, set;
        empty.DefaultDescriptionImage = "C:\\d\\def.gif";
        set.Buttons[0] = button("A", "top", "C:\\a.gif");
        set.Buttons[1] = button("B", "other", {});
        set.DefaultDescriptionImage = "y";
        const PageMode page = PageMode::Page, preview = PageMode::Preview;
        const auto row = [](const char* rule, const ButtonSet& set, PageMode mode, int line, const QString& expected) {
            QTest::newRow(rule) << set << mode << line << expected;
        };
        row("no buttons: the default right after line 37", empty, page, 38,
            "defaultimage = new Image;defaultimage.src = 'def.gif';");
        row("no buttons: the description area", empty, page, 66, "<img src=\"def.gif\" name=\"defimage\"></p>");
        row("preview: an empty MouseOut leaves the row empty", set, preview, 73, "");
        row("preview: a one-character default is none", set, preview, 44, "");
        row("page: a one-character default under button 0's prefix", set, page, 44,
            "defaultimage = new Image;defaultimage.src = 'top/';");
    }

    void lines()
    {
        QFETCH(ButtonSet, set);
        QFETCH(PageMode, mode);
        QFETCH(int, line);
        QTEST(linesOf(buildPage(set, mode)).value(line - 1, "<none>"), "expected");
    }

    // Whatever the prefix, a fragment is one element, every rule of its style
    // is written under it, and every class it gives carries the prefix.
    void fragmentKeepsToItsRoot_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("used");
        QTest::newRow("own prefix") << "nav_2-"
                                    << "nav_2-";
        QTest::newRow("empty prefix") << ""
                                      << "";
        QTest::newRow("prefix starting with a digit falls back") << "2x"
                                                                 << "rc-";
        QTest::newRow("prefix breaking out of a class falls back") << "a\"b{"
                                                                   << "rc-";
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
        QVERIFY2(fragment.startsWith("<div class=\"" + used + "menu\" lang=\"en\">\n<style>\n"), qPrintable(fragment));
        QVERIFY2(fragment.endsWith("</div>\n</div>\n"), qPrintable(fragment));
        for (const QString& selector : selectorsOf(fragment)) {
            const QChar next = selector.mid(root.size()).front();
            QVERIFY2(selector.startsWith(root) && QStringLiteral(" [:").contains(next), qPrintable(selector));
        }
        const QRegularExpression classes("class=\"([^\"]*)\"");
        for (const auto& match : classes.globalMatch(fragment)) {
            for (const QString& name : match.captured(1).split(' '))
                QVERIFY2(name.startsWith(used) && name.size() > used.size(), qPrintable(name));
        }
        for (const char* pageLevel :
             {"<!DOCTYPE", "<html", "<head", "<body", "<main", "<h1", "<meta", "<title", "<script", "Content-Security"})
            QVERIFY2(!fragment.contains(pageLevel, Qt::CaseInsensitive), pageLevel);
    }

    // The page is the fragment's menu inside a document, its style in the head.
    void pageHoldsTheMenuUnderItsRoot()
    {
        const QString page = buildModernPage(twoButtons(), english());
        QVERIFY(page.count("<style>") == 1 && page.indexOf("</style>") < page.indexOf("<body>"));
        QVERIFY2(page.contains("<h1 class=\"rc-vh\">Menu</h1>\n<div class=\"rc-menu\">\n<nav "
                               "class=\"rc-m\" aria-label=\"Menu\">"),
                 qPrintable(page));
        QVERIFY(page.endsWith("</div>\n</div>\n</main>\n</body>\n</html>\n"));
    }

    // Each row: the option or field changed ("out": button 0's MouseOut picture, the page to that button), its
    // value, text the page holds and text it does not.
    void menuText_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("value");
        QTest::addColumn<PageMode>("mode");
        QTest::addColumn<QString>("present");
        QTest::addColumn<QString>("absent");
        const auto row = [](const char* rule, const char* option, const QString& value, const QString& present,
                            const QString& absent = {}, PageMode mode = PageMode::Page) {
            QTest::newRow(rule) << option << value << mode << present << absent;
        };
        const PageMode preview = PageMode::Preview;
        row("alt escaped", "alt", "a\"b<i>&'", "alt=\"a&quot;b&lt;i&gt;&amp;&#39;\"", "<i>");
        row("title escaped", "title", "<b>\"&", "<title>&lt;b&gt;&quot;&amp;</title>", "<b>");
        row("lang escaped", "lang", "x\"y", "<html lang=\"x&quot;y\">");
        row("url cleaned, query kept", "url", "a b\".htm?q=1&r#s", "href=\"a%20b%22.htm?q=1&amp;r#s\"");
        row("url non-ASCII kept", "url", "café.html", "href=\"café.html\"");
        row("target escaped", "target", "t\"x", " target=\"t&quot;x\"");
        row("target empty", "target", "", "href=\"index.html\">", "target=");
        row("file name encoded", "out", "C:\\p\\a b#%é\"'<.gif", "src=\"img/a%20b%23%25%C3%A9%22%27%3C.gif\"");
        row("prefix encoded", "prefix", "my img/ü", "src=\"my%20img/%C3%BC/home.gif\"");
        row("prefix address kept", "prefix", "https://cdn.example/i", "src=\"https://cdn.example/i/home.gif\"");
        row("prefix empty", "prefix", "", "src=\"home.gif\"");
        row("preview native", "out", "/home/ann/a b/ä.gif", "src=\"file:///home/ann/a%20b/%C3%A4.gif\"", "", preview);
        row("preview drive", "out", "C:\\a b\\x#.gif", "src=\"file:///C|/a%20b/x%23.gif\"", "", preview);
        const char* sized = "alt=\"Home\" width=\"159\" height=\"25\" decoding=\"async\"></a>";
        row("no over picture, sized", "over", "", sized, "class=\"rc-v\"");
        row("no description", "desc", "", "<a class=\"rc-b0\" href", ".rc-d0");
        row("no default", "default", "", "<div class=\"rc-d\"><img class=\"rc-d0\"", "rc-dd\"");
        row("no out picture", "out", "", "<span class=\"rc-o\">Home</span><img class=\"rc-v\"");
        row("no file name", "out", "home.gif", "<span class=\"rc-o\">", "src=\"img/\"");
        row("preview short path", "over", "x", "decoding=\"async\"></a>", "class=\"rc-v\"", preview);
        row("scripts forbidden", "", "", "content=\"script-src 'none';", "<script");
        const char* marked = "href=\"a%20b.html?x\" aria-current=\"page\">";
        row("current page marked", "current", "a b.html?x", marked, "index.html\" aria-current");
        row("current page matched as the link is written", "current", "a%20b.html?x", marked);
        const QString to = "page\"><img class=\"rc-o\" src=\"img/";
        row("only the first link to the current page", "current twice", "index.html", to + "home", to + "shop");
        row("no link to the current page", "current", "other.html", "", "aria-current");
        row("menu named by its label, escaped", "label", "Main & <more>", "aria-label=\"Main &amp; &lt;more&gt;\"");
        row("right to left page", "lang", "ar-EG", "<html lang=\"ar-EG\" dir=\"rtl\">");
        row("right to left fragment", "fragment lang", "he", "<div class=\"rc-menu\" lang=\"he\" dir=\"rtl\">");
        row("fragment without a language takes the page's", "fragment lang", "", "<div class=\"rc-menu\">\n", "lang=");
        row("left to right has no dir", "lang", "en", "<html lang=\"en\">", "dir=");
        const char* twice = "src=\"img/home.gif\" srcset=\"img/home@2x.gif 2x\" alt=\"Home\"";
        row("twice the size offered", "hidpi", "C:\\p\\home.gif", twice, "on@2x");
        row("preview: twice the size", "hidpi", "C:\\p\\home.gif", "file:///C|/p/home%402x.gif 2x\"", "", preview);
        row("twice the size with a comma", "hidpi", "C:\\p\\a,b.gif", "a,b.gif\" srcset=\"img/a%2Cb@2x.gif 2x\"");
        row("twice the size not found: none offered", "", "", "", "srcset");
        // MouseOver and description pictures are silent and come after the pictures shown.
        const char* later =
            "<img class=\"rc-v\" src=\"img/on.gif\" alt=\"\" decoding=\"async\" fetchpriority=\"low\"></a>";
        row("MouseOver picture of no known size comes after the shown", "sizes", "159x25 0x0", later, "lazy");
        const char* within = "alt=\"\" width=\"159\" height=\"25\" decoding=\"async\" loading=\"lazy\"></a>";
        row("MouseOver picture within the MouseOut one comes late", "sizes", "159x25 159x25", within);
        const char* wider = "alt=\"\" width=\"160\" height=\"25\" decoding=\"async\" fetchpriority=\"low\"></a>";
        row("MouseOver picture wider comes after the shown", "sizes", "159x25 160x25", wider);
        const char* taller = "alt=\"\" width=\"159\" height=\"26\" decoding=\"async\" fetchpriority=\"low\"></a>";
        row("MouseOver picture taller comes after the shown", "sizes", "159x25 159x26", taller);
        const char* def = "<div class=\"rc-d\"><img class=\"rc-dd\" src=\"img/def.gif\" alt=\"\" decoding=\"async\">";
        row("default description with the page", "", "", def);
        const char* desc =
            "<img class=\"rc-d0\" src=\"img/info.gif\" alt=\"\" decoding=\"async\" fetchpriority=\"low\">";
        row("description silent, after the shown", "", "", desc);
        row("hover lays the MouseOver picture over", "", "", ".rc-m>a:hover .rc-v{visibility:visible}", "display:none");
        row("focus shows what hover shows", "", "", ".rc-menu:has(.rc-b1:focus-visible) .rc-d1{visibility:visible}");
    }

    void menuText()
    {
        QFETCH(QString, option);
        QFETCH(QString, value);
        ButtonSet set = twoButtons();
        set.Buttons[1].Url = "a b.html?x";
        ModernPageOptions options = english();
        QFETCH(PageMode, mode);
        options.mode = mode;
        options.fragment = option.startsWith("fragment");
        using O = ModernPageOptions;
        using B = ButtonRecord;
        static const QHash<QString, QString O::*> settings{{"current", &O::current}, {"current twice", &O::current},
                                                           {"label", &O::label},     {"title", &O::title},
                                                           {"lang", &O::lang},       {"fragment lang", &O::lang}};
        // A row changing one of the first button's fields has the page to that button.
        static const QHash<QString, QString B::*> fields{{"url", &B::Url},
                                                         {"target", &B::Target},
                                                         {"alt", &B::Alt},
                                                         {"prefix", &B::ImagePathPrefix},
                                                         {"out", &B::MouseOutImage},
                                                         {"over", &B::MouseOverImage},
                                                         {"desc", &B::DescriptionImage}};
        if (settings.contains(option))
            options.*settings.value(option) = value;
        if (option == "current twice")
            set.Buttons[1].Url = value;
        if (option == "default")
            set.DefaultDescriptionImage = value;
        if (option == "sizes") {
            const QStringList sizes = value.split(' ');
            options.sizes.insert(set.Buttons[0].MouseOutImage, sizeOf(sizes[0]));
            options.sizes.insert(set.Buttons[0].MouseOverImage, sizeOf(sizes[1]));
        }
        if (option == "hidpi") {
            set.Buttons[0].MouseOutImage = value;
            options.hiDpi.insert(value);
        }
        if (fields.contains(option)) {
            set.Buttons[0].*fields.value(option) = value;
            set.Buttons[1] = {};
        }
        const QString text = buildModernPage(set, options);
        QFETCH(QString, present);
        QFETCH(QString, absent);
        QVERIFY2(text.contains(present), qPrintable(text));
        QVERIFY2(absent.isEmpty() || !text.contains(absent), qPrintable(text));
    }

    // Rules from text to text, each row named "function: rule": singleLine (what reaches a data file is one line
    // a value), withDataFileExtension on opening, hiDpiPicturePath, isRightToLeft, and the path splits and preview
    // addresses at their edges, as "folder|name|address" (the golden pages show the common paths).
    void textRules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        const auto row = [](const char* rule, const QString& text, const QString& result) {
            QTest::newRow(rule) << text << result;
        };
        row("line: trailing breaks of any kind are dropped", "x\r\n\r\n\r", "x");
        row("line: LF inside is a blank", "two\nlines", "two lines");
        row("line: CR LF inside is one blank", "two\r\nlines", "two lines");
        row("line: a lone CR inside is a blank", "a\rb", "a b");
        row("line: each break is a blank", "a\n\nb", "a  b");
        row("line: a leading break is a blank", "\nx", " x");
        row("rk2: added when missing", "/d/menu", "/d/menu.rk2");
        row("rk2: kept in capitals", "/d/MENU.RK2", "/d/MENU.RK2");
        row("rk2: kept in mixed case", "/d/menu.Rk2", "/d/menu.Rk2");
        row("rk2: added after another extension", "/d/menu.txt", "/d/menu.txt.rk2");
        row("rk2: a name that is the extension alone", ".rk2", ".rk2");
        row("2x: last dot of the name", "/i/a.b.jpeg", "/i/a.b@2x.jpeg");
        row("2x: dot in the folder only", "/i.d/home", "/i.d/home@2x");
        row("2x: name that is all extension", "/i/.gif", "/i/.gif@2x");
        row("2x: no file name", "img/home.gif", "");
        row("2x: folder alone", "C:\\p\\", "");
        row("rtl: Hebrew with region", "he-IL", "rtl");
        row("rtl: Persian in any case", "FA", "rtl");
        row("rtl: Urdu", "ur", "rtl");
        row("rtl: language that merely begins like one", "arn", "ltr");
        row("rtl: right-to-left script named", "pa-Arab-PK", "rtl");
        row("rtl: left-to-right script named", "ar-Latn", "ltr");
        row("rtl: none", "", "ltr");
        // The second character of an address becomes "|", backslashes slashes.
        row("path: folder", "C:\\site\\pics\\", "C:\\site\\pics\\||file:///C|/site/pics/");
        row("path: space", "d:\\a b\\x.jpg", "d:\\a b\\|x.jpg|file:///d|/a b/x.jpg");
        row("path: drive", "C:", "||file:///C|");
        row("path: backslash", "\\", "\\||<fails>");
        row("path: mixed", "/home/a\\b.gif", "/home/a\\|b.gif|file:////|ome/a/b.gif");
        row("path: root", "/", "/||<fails>");
        row("path: relative", "img/home.gif", "||file:///i|g/home.gif");
        row("path: empty", "", "||<fails>");
    }

    void textRules()
    {
        QFETCH(QString, text);
        const auto part = [&](int what) { return GetFilenameOrFilePathFromString(text, what); };
        const QHash<QString, std::function<QString()>> results{
            {"line", [&] { return singleLine(text); }},
            {"rk2", [&] { return withDataFileExtension(text); }},
            {"2x", [&] { return hiDpiPicturePath(text); }},
            {"rtl", [&] { return QString(isRightToLeft(text) ? "rtl" : "ltr"); }},
            // Any other part asked for is empty.
            {"path", [&] { return part(2) + part(0) + '|' + part(1) + '|' + GetPrevPath(text).value_or("<fails>"); }}};
        QTEST(results.value(QString(QTest::currentDataTag()).section(':', 0, 0))(), "result");
    }

    void copyOrderSkipsEmptyFieldsAndStopsAtTheFirstEmptyName()
    {
        ButtonSet set;
        set.Buttons[0] = {"One", {}, {}, {}, "plays no part", "o1", "v1", "d1"};
        set.Buttons[1] = {"Two", {}, {}, {}, {}, {}, "v2", {}};
        set.Buttons[3] = set.Buttons[0]; // behind the empty name: never copied
        set.DefaultDescriptionImage = "stored default";
        QStringList order;
        for (const ImageToCopy& i : imagesToCopy(set, "shown default"))
            order << i.source + u'|' + i.reportedAs;
        QCOMPARE(order, QStringList({"o1|o1", "v1|v1", "d1|d1", "v2|v2", "shown default|stored default"}));
        QCOMPARE(imagesToCopy(set, QString()).constLast().source, "v2");
    }

    // src has a.gif, b.gif, c.jpg, e.gif, big.gif (four blocks) and a file "blocker"; dst a longer b.gif, an empty
    // e.gif, an old big.gif and a folder c.jpg. Each row: images, answers ("r": replace, asking nothing), what
    // was asked | copied | failed (with the description when it is not the error code's own) | the last target
    // holds, and the folder copied into.
    void runs_data()
    {
        QTest::addColumn<QString>("images");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("folder");
        const auto row = [](const char* rule, const char* images, const char* answers, const QString& outcome,
                            const char* folder = "dst") {
            QTest::newRow(rule) << images << answers << outcome << folder;
        };
        const char* aab = "a.gif a.gif b.gif";
        const QString old = "an old and much longer b.gif";
        row("replace asks nothing", aab, "r", " | 3 copied |  | new b.gif");
        // The second a.gif asks about the copy the first one has just made.
        row("ask: yes", aab, "yy", "a.gif b.gif | 3 copied |  | new b.gif");
        row("ask: no keeps the file", aab, "nn", "a.gif b.gif | 1 copied |  | " + old);
        row("ask: cancel ends the run", aab, "c", "a.gif | 1 copied |  | " + old + " | cancelled");
        row("zero bytes count as absent", "e.gif", "", " | 1 copied |  | new e.gif");
        row("a missing picture fails, the run goes on", "x.gif b.gif", "r", " | 1 copied | x.gif 2 | new b.gif");
        row("a missing folder fails, the run goes on", "img/a.gif b.gif", "r", " | 1 copied | img/a.gif 2 | new b.gif");
        row("a folder in the target's place", "c.jpg", "r", " | 0 copied | c.jpg 21 at c.jpg | <missing>");
        // Neither waits for a writer nor reads for ever.
        row("no FIFO is copied", "fifo", "r", " | 0 copied | fifo 22 Not a regular file (a FIFO) | <missing>");
        row("no device", "/dev/zero", "r", " | 0 copied | /dev/zero 22 Not a regular file (a device) | <missing>");
        row("onto itself", "a.gif", "y", "a.gif | 1 copied |  | new a.gif", "src");
        row("into a file", "a.gif", "r", " | 0 copied | a.gif 20 at a.gif | <missing>", "src/blocker");
        // "~": files cut short at 4 KiB; a copy failing half way leaves the old image.
        row("cut short half way", "big.gif", "r~", " | 0 copied | big.gif 27 at big.gif | old");
        // A digit: Cancel pressed after that many blocks of a picture: it stays as it was, the next is not copied.
        row("cancel before the first block", "big.gif big.gif", "r0", " | 0 copied |  | old | cancelled");
        row("cancel between two blocks", "big.gif big.gif", "r2", " | 0 copied |  | old | cancelled");
        // "!": Cancel pressed at the last update, when every image is copied.
        row("cancel at the end still cancels", "a.gif", "r!", " | 1 copied |  | new a.gif | cancelled");
    }

    void runs()
    {
        QFETCH(QString, images);
        QFETCH(QString, folder);
        QFETCH(QString, answers);
        QTemporaryDir dir;
        const QDir src(dir.filePath("src")), dst(dir.filePath("dst"));
        writeFiles(
            dir.path(),
            {"src/a.gif",   "new a.gif", "src/b.gif",   "new b.gif", "src/c.jpg",   "new c.jpg",
             "src/e.gif",   "new e.gif", "src/blocker", "a file",    "src/big.gif", QString(4 << 20, u'n'),
             "dst/e.gif",   "",          "dst/big.gif", "old",       "dst/b.gif",   "an old and much longer b.gif",
             "dst/c.jpg/x", ""});
        QCOMPARE(mkfifo(qPrintable(src.filePath("fifo")), 0600), 0);
        QList<ImageToCopy> list;
        for (const QString& name : images.split(' '))
            list.append({name.startsWith('/') ? name : src.filePath(name), name});
        ScriptedQuestions questions(answers);
        questions.cancelAt = answers.endsWith('!') ? int(list.size()) : -1;
        questions.stopAfter = answers.isEmpty() || !answers.back().isDigit() ? -1 : answers.back().digitValue();
        const QString target = CheckSlash(dir.filePath(folder));
        const auto copy = [&] {
            return copyImages(list, target, answers.startsWith('r') ? ExistingImages::Replace : ExistingImages::Ask,
                              questions);
        };
        const CopyRun run = answers.endsWith('~') ? underFileSizeLimit(4096, copy) : copy();
        QStringList failures;
        for (const CopyFailure& f : run.failures) {
            const QString own = f.description == qt_error_string(f.code) ? QString() : ' ' + f.description;
            failures << QStringLiteral("%1 %2").arg(f.source).arg(f.code) + own +
                            (f.atDestination ? " at " + QFileInfo(f.target).fileName() : QString());
        }
        const QString holds = readBytes(target + QFileInfo(list.constLast().source).fileName());
        const QString outcome = QStringList({questions.asked.join(' '), QStringLiteral("%1 copied").arg(run.copied),
                                             failures.join(", "), holds})
                                    .join(" | ") +
                                (run.cancelled ? " | cancelled" : "");
        QTEST(outcome, "outcome");
        // Nothing is left but the images: no temporary file, whole or cut short.
        for (const QString& name : dst.entryList(QDir::Files | QDir::Hidden))
            QVERIFY2(QStringList({"b.gif", "e.gif", "big.gif"}).contains(name) || images.contains(name),
                     qPrintable(name));
    }

    // '@': the test's folder, which holds dl/, the source pictures, and site/pics/, the
    // destination, beside the author's own site/.bashrc.
    void names_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("outcome"); // the copy's name, or the failure
        const auto row = [](const char* rule, const QString& source, const QString& outcome) {
            QTest::newRow(rule) << source << outcome;
        };
        const QString nul(QChar(0)), outside = "22 the picture would be copied outside the folder, as ";
        row("backslash then ..", "@/dl/evil\\../.bashrc", outside + "\"../.bashrc\"");
        row("x/../../y after a backslash", "@/dl/w\\x/../../y", outside + "\"x/../../y\"");
        row("a name that is ..", "@/dl/a\\..", outside + "\"..\"");
        row("a name that is .", "@/dl/a\\.", "22 the file name \".\" is the folder itself");
        row("a trailing backslash", "@/dl/evil\\", "22 the path gives no file name");
        row("NUL in the name", "@/dl/evil\\.bashrc" + nul + "x", "22 the file name holds a NUL character");
        row("a drive path copies under its name", "C:\\dl\\x.gif", "x.gif");
        row("a native path", "@/dl/x.gif", "x.gif");
        row("as long as names go", "@/dl/" + QString(255, u'n'), QString(255, u'n'));
    }

    void names()
    {
        QFETCH(QString, source);
        QTemporaryDir dir;
        const QString root = dir.path();
        const QString cwd = QDir::currentPath();
        QVERIFY(QDir::setCurrent(root));
        QVERIFY(QDir(root).mkpath("dl/w\\x") && QDir(root).mkpath("site/pics/x"));
        writeFiles(root,
                   {"dl/evil\\../.bashrc", "picture", "dl/x.gif", "picture", "y", "picture", "C:\\dl\\x.gif", "picture",
                    "dl/evil\\.bashrc", "picture", "site/.bashrc", "mine", "dl/" + QString(255, u'n'), "picture"});
        const QStringList before = tree(root);
        source.replace('@', root);
        ScriptedQuestions replace;
        const CopyRun run = copyImages({{source, source}}, root + "/site/pics/", ExistingImages::Replace, replace);
        QDir::setCurrent(cwd);
        QStringList copies = tree(root + "/site/pics/");
        QTEST(run.failures.isEmpty() ? copies.join(' ').remove("=picture")
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
                    static_cast<void>(copyImageFileVia(way, dir.filePath("big.gif"), dir.filePath("dst/big.gif"), [&] {
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
    // Two copies onto one target at once: it always holds one whole source.
    void twoCopiesAtOnce()
    {
        QTemporaryDir dir;
        const QByteArray a(4 << 20, 'a'), b(3 << 20, 'b');
        writeBytes(dir.filePath("a"), a);
        writeBytes(dir.filePath("b"), b);
        const QString target = dir.filePath("t.gif");
        for (int round = 0; round < 20; ++round) {
            std::thread other([&] { QVERIFY(!copyImageFile(dir.filePath("b"), target)); });
            QVERIFY(!copyImageFile(dir.filePath("a"), target));
            other.join();
            const QByteArray now = readBytes(target);
            QVERIFY(now == a || now == b);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    void logBytes()
    {
        const QByteArray dashes(119, '-');
        QCOMPARE(errorLog({{"C:\\pics\\café.gif", "No such file or directory", 2, {}, false},
                           {"/x/y.gif", "Is a directory", 21, {}, false}},
                          QDate(2026, 3, 7)),
                 "ERROR LOG CREATED BY - TARNWICK - PLUGIN ( Rollcraft 2 ) : 07/03/2026\r\n" + dashes +
                     "\r\nERRORS ARE LISTED IN ERROR-ORDER..:\r\n" + dashes +
                     "\r\nC:\\pics\\caf\xE9.gif\r\nError : No such file or directory code: 2\r\n"
                     "/x/y.gif\r\nError : Is a directory code: 21\r\n");
        // A path Windows-1252 cannot hold turns the whole log into UTF-8 behind the mark.
        const QByteArray utf8 =
            errorLog({{"/Изображения/a.gif", "Is a directory", 21, "/d/a.gif", true}}, QDate(2026, 3, 7));
        QVERIFY(utf8.startsWith(Mark + "ERROR LOG"));
        QVERIFY(utf8.endsWith("\r\n/Изображения/a.gif\r\nError : Is a directory (destination "
                              "/d/a.gif) code: 21\r\n"));
    }
};

QTEST_MAIN(TestCore)
#include "tst_core.moc"
