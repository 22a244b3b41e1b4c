// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagegenerator.h"

#include "branding.h"
#include "pathhelpers.h"

#include <QStringBuilder>

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

// Builds the page by appending to one text, a whole line at a time: each
// line's length is summed from its pieces before they are copied in.
class PageBuilder {
public:
    PageBuilder(const ButtonSet& set, PageMode mode, int n) : m_set(set), m_mode(mode), m_n(n)
    {
        // Only a hint for the first allocation: the fixed lines and about
        // 500 characters a button.
        m_text.reserve(4096 + 512 * qsizetype(n));
    }

    QString build()
    {
        line(u"<html>");
        line(u"<head>");
        line(u"<title>ButtonMenu</title>");
        line(u"<script>");
        line(u"<!-- START HIDE");
        m_text += u"/* " % QString(BannerWidth - 3, u'#') % u"\r\n";
        banner("Created with QVN Tarnwick V.1.0 - Rollcraft 2 plugin.");
        banner(Branding::Copyright);
        banner(Branding::WebAddress);
        banner(Branding::EmailAddress);
        m_text += u"   " % QString(BannerWidth - 3, u'#') % u"\r\n";
        for (std::u16string_view fixed : BrowserDetection)
            line(fixed);

        for (int k = 0; k < m_n; ++k) {
            const ButtonRecord& b = m_set.Buttons[k];
            preload(k, u'a', b.MouseOutImage);
            preload(k, u'b', b.MouseOverImage);
            preload(k, u'c', b.DescriptionImage);
        }
        defaultImageLine(u"defaultimage = new Image;defaultimage.src = '", u"';");
        for (std::u16string_view fixed : RolloverFunctions)
            line(fixed);
        for (int k = 0; k < m_n; ++k)
            row(k);
        defaultImageLine(u"<img src=\"", u"\" name=\"defimage\"></p>");
        line(u"</body>");
        line(u"</html>");
        return std::move(m_text);
    }

private:
    void line(std::u16string_view text)
    {
        m_text += QStringView(text.data(), qsizetype(text.size())) % u"\r\n";
    }

    void banner(const char* text)
    {
        const QLatin1String words(text);
        m_text += u"   ### " % words % QString(BannerWidth - 7 - words.size(), u' ') % u"\r\n";
    }

    // Whether the source of image `path` can be formed: in preview mode a
    // path needs two characters or more.
    bool hasSource(const QString& path) const
    {
        return m_mode == PageMode::Page || path.size() >= 2;
    }

    // Appends the source of image `path` as button `owner` refers to it: in
    // page mode the button's prefix, a slash unless the prefix is empty or
    // ends in one, and the bare file name; in preview mode the file:///
    // address.
    void appendSource(const QString& path, int owner)
    {
        if (m_mode == PageMode::Preview)
            m_text += *GetPrevPath(path);
        else
            m_text += CheckSlash(m_set.Buttons[owner].ImagePathPrefix) % fileNamePart(path);
    }

    // `before`, the default description image's source (under button 0's
    // prefix) and `after`; an empty line where the source cannot be formed.
    void defaultImageLine(QStringView before, QStringView after)
    {
        if (!hasSource(m_set.DefaultDescriptionImage))
            return line(u"");
        m_text += before;
        appendSource(m_set.DefaultDescriptionImage, 0);
        m_text += after % u"\r\n";
    }

    void preload(int k, char16_t letter, const QString& path)
    {
        if (!hasSource(path))
            return line(u"");
        const QString n = QString::number(k);
        m_text += u"name" % n % letter % u" = new Image;name" % n % letter % u".src = '";
        appendSource(path, k);
        m_text += u"';\r\n";
    }

    void row(int k)
    {
        const ButtonRecord& b = m_set.Buttons[k];
        if (!hasSource(b.MouseOutImage))
            return line(u"");
        const QString n = QString::number(k);
        const QStringView open =
            k == 0 ? QStringView(u"<p align=\"center\"><a href=\"") : QStringView(u"<a href=\"");
        m_text += open % b.Url % u'"';
        if (b.Target.isEmpty())
            m_text += u' ';
        else
            m_text += u" target=\"" % b.Target % u'"';
        m_text += u" onmouseover = \"lighten('name" % n % u"'); window.status='" % b.Alt %
                  u"'; return true;\" onmouseout=\"darken('name" % n %
                  u"'); window.status='';return true\" onclick=\"darken('name" % n %
                  u"')\"><img src=\"";
        appendSource(b.MouseOutImage, k);
        m_text += u"\" alt=\"" % b.Alt % u"\" border=\"0\" name=\"name" % n % u"\"></a><br>\r\n";
    }

    const ButtonSet& m_set;
    PageMode m_mode;
    int m_n;
    QString m_text;
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
