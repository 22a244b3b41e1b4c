// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagegenerator.h"

#include "branding.h"
#include "pathhelpers.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

using namespace std::string_view_literals;

constexpr qsizetype BannerWidth = 90;

constexpr std::u16string_view BrowserDetection[] = {
    u"*/",
    u"var browser     = '';",
    u"var version     = '';",
    u"var entrance    = '';",
    u"var cond        = '';",
    u"// BROWSER?",
    u"if (browser == ''){",
    u"if (navigator.appName.indexOf('Microsoft') != -1)",
    u"browser = 'IE'",
    u"else if (navigator.appName.indexOf('Netscape') != -1)",
    u"browser = 'Netscape'",
    u"else browser = 'NN';",
    u"}",
    u"// VERSION?",
    u"if (version == ''){",
    u"version= navigator.appVersion;",
    u"paren = version.indexOf('(');",
    u"whole_version = navigator.appVersion.substring(0,paren-1);",
    u"version         = parseInt(whole_version);",
    u"}",
    u"// BROWSER & VERSION",
    u"if (browser == 'IE' && version >= 4) entrance = 'yes';",
    u"if (browser == 'IE' && version < 4) entrance = 'no';",
    u"if (browser == 'Netscape' && version >= 2.02) entrance = 'yes';",
    u"if (browser == 'Netscape' && version < 2.02) entrance = 'no';",
    u"if (entrance=='yes'){",
};

constexpr std::u16string_view RolloverFunctions[] = {
    u"}",
    u"function lighten(imgName)",
    u"{",
    u"    if (entrance == 'yes')",
    u"    {",
    u"        imgOn = eval(imgName + 'b.src');",
    u"        document[imgName].src = imgOn;",
    u"        imgOn = eval(imgName + 'c.src')",
    u"        document.defimage.src = imgOn;",
    u"    }",
    u"}",
    u"function darken(imgName)",
    u"{",
    u"    if (entrance == 'yes')",
    u"    {",
    u"        imgOff = eval(imgName + 'a.src');",
    u"        document[imgName].src = imgOff;",
    u"        document.defimage.src = defaultimage.src;",
    u"    }",
    u"}",
    u"// END HIDE -->",
    u"</script>",
    u"",
    u"</head>",
    u"",
    u"<body bgcolor=\"#FFFFFF\" TEXT=\"#000000\">",
    u"<p align=\"center\">",
};

// Room for everything but user data: the fixed lines, and per button its row
// and preload lines with the widest image-source decoration.
constexpr qsizetype FixedRoom = 4096;
constexpr qsizetype RoomPerButton = 400;
constexpr qsizetype SourceDecoration = 9;

qsizetype roomFor(const ButtonSet& set, int n)
{
    const auto source = [](const QString& path, const QString& prefix) {
        return path.size() + prefix.size() + SourceDecoration;
    };
    qsizetype room =
        FixedRoom + 2 * source(set.DefaultDescriptionImage, set.Buttons[0].ImagePathPrefix);
    for (int k = 0; k < n; ++k) {
        const ButtonRecord& b = set.Buttons[k];
        room += RoomPerButton + b.Url.size() + b.Target.size() + 2 * b.Alt.size() +
                2 * source(b.MouseOutImage, b.ImagePathPrefix) +
                source(b.MouseOverImage, b.ImagePathPrefix) +
                source(b.DescriptionImage, b.ImagePathPrefix);
    }
    return room;
}

// Writes the page into one buffer sized beforehand; nothing is allocated on
// the way. A line that cannot be built is rolled back to an empty line.
class PageWriter {
public:
    explicit PageWriter(qsizetype room) : m_text(room, Qt::Uninitialized)
    {
        m_begin = reinterpret_cast<char16_t*>(m_text.data());
        m_out = m_begin;
        m_end = m_begin + room;
    }

    void put(std::u16string_view s) { m_out = std::copy(s.begin(), s.end(), m_out); }
    void put(QStringView s) { m_out = std::copy_n(s.utf16(), s.size(), m_out); }
    void put(char16_t c) { *m_out++ = c; }
    void number(int k)
    {
        if (k >= 10)
            *m_out++ = static_cast<char16_t>(u'0' + k / 10);
        *m_out++ = static_cast<char16_t>(u'0' + k % 10);
    }
    void endLine() { put(u"\r\n"sv); }
    void line(std::u16string_view s)
    {
        put(s);
        endLine();
    }

    void banner(const char* text)
    {
        const char16_t* start = m_out;
        put(u"   ### "sv);
        for (const char* c = text; *c; ++c)
            *m_out++ = static_cast<char16_t>(static_cast<unsigned char>(*c));
        while (m_out - start < BannerWidth)
            *m_out++ = u' ';
        endLine();
    }

    [[nodiscard]] char16_t* mark() const { return m_out; }
    void failLine(char16_t* lineStart)
    {
        m_out = lineStart;
        endLine();
    }
    char16_t*& cursor() { return m_out; }

    [[nodiscard]] QString take()
    {
        Q_ASSERT(m_out <= m_end);
        m_text.truncate(m_out - m_begin);
        return std::move(m_text);
    }

private:
    QString m_text;
    char16_t* m_begin = nullptr;
    char16_t* m_out = nullptr;
    char16_t* m_end = nullptr;
};

class PageBuilder {
public:
    PageBuilder(const ButtonSet& set, PageMode mode, int n)
        : m_set(set), m_mode(mode), m_n(n), m_page(roomFor(set, n))
    {}

    // Writes the source of image `path` as button `owner` refers to it;
    // false when it cannot be formed (preview mode, fewer than two characters).
    bool source(const QString& path, int owner)
    {
        if (m_mode == PageMode::Preview) {
            if (path.size() < 2)
                return false;
            m_page.cursor() = writePrevPath(path, m_page.cursor());
            return true;
        }
        const QString& prefix = m_set.Buttons[owner].ImagePathPrefix;
        m_page.put(QStringView(prefix));
        if (!prefix.isEmpty() && !prefix.endsWith(u'/'))
            m_page.put(u'/');
        m_page.put(fileNamePart(path));
        return true;
    }

    void preload(int k, char16_t letter, const QString& path)
    {
        char16_t* start = m_page.mark();
        m_page.put(u"name"sv);
        m_page.number(k);
        m_page.put(letter);
        m_page.put(u" = new Image;name"sv);
        m_page.number(k);
        m_page.put(letter);
        m_page.put(u".src = '"sv);
        if (!source(path, k))
            return m_page.failLine(start);
        m_page.line(u"';"sv);
    }

    void defaultPreload()
    {
        char16_t* start = m_page.mark();
        m_page.put(u"defaultimage = new Image;defaultimage.src = '"sv);
        if (!source(m_set.DefaultDescriptionImage, 0))
            return m_page.failLine(start);
        m_page.line(u"';"sv);
    }

    void row(int k)
    {
        const ButtonRecord& b = m_set.Buttons[k];
        char16_t* start = m_page.mark();
        m_page.put(k == 0 ? u"<p align=\"center\"><a href=\""sv : u"<a href=\""sv);
        m_page.put(QStringView(b.Url));
        m_page.put(u'"');
        if (b.Target.isEmpty()) {
            m_page.put(u' ');
        } else {
            m_page.put(u" target=\""sv);
            m_page.put(QStringView(b.Target));
            m_page.put(u'"');
        }
        m_page.put(u" onmouseover = \"lighten('name"sv);
        m_page.number(k);
        m_page.put(u"'); window.status='"sv);
        m_page.put(QStringView(b.Alt));
        m_page.put(u"'; return true;\" onmouseout=\"darken('name"sv);
        m_page.number(k);
        m_page.put(u"'); window.status='';return true\" onclick=\"darken('name"sv);
        m_page.number(k);
        m_page.put(u"')\"><img src=\""sv);
        if (!source(b.MouseOutImage, k))
            return m_page.failLine(start);
        m_page.put(u"\" alt=\""sv);
        m_page.put(QStringView(b.Alt));
        m_page.put(u"\" border=\"0\" name=\"name"sv);
        m_page.number(k);
        m_page.line(u"\"></a><br>"sv);
    }

    void descriptionArea()
    {
        char16_t* start = m_page.mark();
        m_page.put(u"<img src=\""sv);
        if (!source(m_set.DefaultDescriptionImage, 0))
            return m_page.failLine(start);
        m_page.line(u"\" name=\"defimage\"></p>"sv);
    }

    QString build()
    {
        m_page.line(u"<html>"sv);
        m_page.line(u"<head>"sv);
        m_page.line(u"<title>ButtonMenu</title>"sv);
        m_page.line(u"<script>"sv);
        m_page.line(u"<!-- START HIDE"sv);
        m_page.put(u"/* "sv);
        for (qsizetype i = 3; i < BannerWidth; ++i)
            m_page.put(u'#');
        m_page.endLine();
        m_page.banner("Created with QVN Tarnwick V.1.0 - Rollcraft 2 plugin.");
        m_page.banner(Branding::Copyright);
        m_page.banner(Branding::WebAddress);
        m_page.banner(Branding::EmailAddress);
        m_page.put(u"   "sv);
        for (qsizetype i = 3; i < BannerWidth; ++i)
            m_page.put(u'#');
        m_page.endLine();
        for (std::u16string_view fixed : BrowserDetection)
            m_page.line(fixed);

        for (int k = 0; k < m_n; ++k) {
            const ButtonRecord& b = m_set.Buttons[k];
            preload(k, u'a', b.MouseOutImage);
            preload(k, u'b', b.MouseOverImage);
            preload(k, u'c', b.DescriptionImage);
        }
        defaultPreload();
        for (std::u16string_view fixed : RolloverFunctions)
            m_page.line(fixed);
        for (int k = 0; k < m_n; ++k)
            row(k);
        descriptionArea();
        m_page.line(u"</body>"sv);
        m_page.line(u"</html>"sv);
        return m_page.take();
    }

private:
    const ButtonSet& m_set;
    PageMode m_mode;
    int m_n;
    PageWriter m_page;
};

} // namespace

QString buildPage(const ButtonSet& set, PageMode mode)
{
    const int n = leadingButtonCount(set);
    return PageBuilder(set, mode, n).build();
}

QString scriptTitle(const QDateTime& when)
{
    return QStringLiteral("Rollcraft II ") + when.toString(QStringLiteral("dd-MM-yy")) +
           QStringLiteral(" - ") + when.toString(QStringLiteral("HH-mm-ss"));
}
