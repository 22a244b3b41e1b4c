#include "pagegenerator.h"

#include "branding.h"
#include "pathhelpers.h"

#include <optional>

namespace {

constexpr int BannerWidth = 90;

const char* const BrowserDetection[] = {
    "*/",
    "var browser     = '';",
    "var version     = '';",
    "var entrance    = '';",
    "var cond        = '';",
    "// BROWSER?",
    "if (browser == ''){",
    "if (navigator.appName.indexOf('Microsoft') != -1)",
    "browser = 'IE'",
    "else if (navigator.appName.indexOf('Netscape') != -1)",
    "browser = 'Netscape'",
    "else browser = 'NN';",
    "}",
    "// VERSION?",
    "if (version == ''){",
    "version= navigator.appVersion;",
    "paren = version.indexOf('(');",
    "whole_version = navigator.appVersion.substring(0,paren-1);",
    "version         = parseInt(whole_version);",
    "}",
    "// BROWSER & VERSION",
    "if (browser == 'IE' && version >= 4) entrance = 'yes';",
    "if (browser == 'IE' && version < 4) entrance = 'no';",
    "if (browser == 'Netscape' && version >= 2.02) entrance = 'yes';",
    "if (browser == 'Netscape' && version < 2.02) entrance = 'no';",
    "if (entrance=='yes'){",
};

const char* const RolloverFunctions[] = {
    "}",
    "function lighten(imgName)",
    "{",
    "    if (entrance == 'yes')",
    "    {",
    "        imgOn = eval(imgName + 'b.src');",
    "        document[imgName].src = imgOn;",
    "        imgOn = eval(imgName + 'c.src')",
    "        document.defimage.src = imgOn;",
    "    }",
    "}",
    "function darken(imgName)",
    "{",
    "    if (entrance == 'yes')",
    "    {",
    "        imgOff = eval(imgName + 'a.src');",
    "        document[imgName].src = imgOff;",
    "        document.defimage.src = defaultimage.src;",
    "    }",
    "}",
    "// END HIDE -->",
    "</script>",
    "",
    "</head>",
    "",
    "<body bgcolor=\"#FFFFFF\" TEXT=\"#000000\">",
    "<p align=\"center\">",
};

// Appends lines to one growing buffer.
class PageWriter {
public:
    explicit PageWriter(int buttons) { m_text.reserve(4096 + buttons * 900); }

    void line(QLatin1StringView fixed) { m_text.append(fixed).append(QLatin1String("\r\n")); }
    void line(const QString& text) { m_text.append(text).append(QLatin1String("\r\n")); }
    // A line that could not be built stays empty.
    void line(const std::optional<QString>& text) { line(text.value_or(QString())); }

    void banner(QLatin1StringView text)
    {
        QString l = QStringLiteral("   ### ") + text;
        l.append(QString(qMax<qsizetype>(0, BannerWidth - l.size()), QLatin1Char(' ')));
        line(l);
    }

    [[nodiscard]] QString take() { return std::move(m_text); }

private:
    QString m_text;
};

class ImageSources {
public:
    ImageSources(const ButtonSet& set, PageMode mode) : m_set(set), m_mode(mode) {}

    // The source of image `path` as button `prefixOwner` refers to it.
    [[nodiscard]] std::optional<QString> of(const QString& path, int prefixOwner) const
    {
        if (m_mode == PageMode::Preview)
            return GetPrevPath(path);
        return CheckSlash(m_set.Buttons[prefixOwner].ImagePathPrefix) +
               GetFilenameOrFilePathFromString(path, 1);
    }

private:
    const ButtonSet& m_set;
    PageMode m_mode;
};

std::optional<QString> preloadLine(const ImageSources& sources, int k, char letter,
                                   const QString& path)
{
    const std::optional<QString> source = sources.of(path, k);
    if (!source)
        return std::nullopt;
    const QString name = QStringLiteral("name%1%2").arg(k).arg(QLatin1Char(letter));
    return name + QStringLiteral(" = new Image;") + name + QStringLiteral(".src = '") +
           *source + QStringLiteral("';");
}

std::optional<QString> buttonRow(const ImageSources& sources, int k, const ButtonRecord& b)
{
    const std::optional<QString> source = sources.of(b.MouseOutImage, k);
    if (!source)
        return std::nullopt;
    const QString number = QString::number(k);
    QString row = k == 0 ? QStringLiteral("<p align=\"center\"><a href=\"")
                         : QStringLiteral("<a href=\"");
    row += b.Url + QLatin1Char('"');
    row += b.Target.isEmpty() ? QStringLiteral(" ")
                              : QStringLiteral(" target=\"") + b.Target + QLatin1Char('"');
    row += QStringLiteral(" onmouseover = \"lighten('name") + number +
           QStringLiteral("'); window.status='") + b.Alt +
           QStringLiteral("'; return true;\" onmouseout=\"darken('name") + number +
           QStringLiteral("'); window.status='';return true\" onclick=\"darken('name") +
           number + QStringLiteral("')\"><img src=\"") + *source + QStringLiteral("\" alt=\"") +
           b.Alt + QStringLiteral("\" border=\"0\" name=\"name") + number +
           QStringLiteral("\"></a><br>");
    return row;
}

} // namespace

QString buildPage(const ButtonSet& set, PageMode mode)
{
    const int n = leadingButtonCount(set);
    const ImageSources sources(set, mode);
    PageWriter page(n);

    page.line(QLatin1String("<html>"));
    page.line(QLatin1String("<head>"));
    page.line(QLatin1String("<title>ButtonMenu</title>"));
    page.line(QLatin1String("<script>"));
    page.line(QLatin1String("<!-- START HIDE"));
    page.line(QStringLiteral("/* ") + QString(BannerWidth - 3, QLatin1Char('#')));
    page.banner(QLatin1String("Created with QVN Tarnwick V.1.0 - Rollcraft 2 plugin."));
    page.banner(QLatin1String(Branding::Copyright));
    page.banner(QLatin1String(Branding::WebAddress));
    page.banner(QLatin1String(Branding::EmailAddress));
    page.line(QStringLiteral("   ") + QString(BannerWidth - 3, QLatin1Char('#')));
    for (const char* fixed : BrowserDetection)
        page.line(QLatin1String(fixed));

    for (int k = 0; k < n; ++k) {
        const ButtonRecord& b = set.Buttons[k];
        page.line(preloadLine(sources, k, 'a', b.MouseOutImage));
        page.line(preloadLine(sources, k, 'b', b.MouseOverImage));
        page.line(preloadLine(sources, k, 'c', b.DescriptionImage));
    }
    const std::optional<QString> defaultSource = sources.of(set.DefaultDescriptionImage, 0);
    if (defaultSource)
        page.line(QStringLiteral("defaultimage = new Image;defaultimage.src = '") +
                  *defaultSource + QStringLiteral("';"));
    else
        page.line(QString());

    for (const char* fixed : RolloverFunctions)
        page.line(QLatin1String(fixed));

    for (int k = 0; k < n; ++k)
        page.line(buttonRow(sources, k, set.Buttons[k]));

    if (defaultSource)
        page.line(QStringLiteral("<img src=\"") + *defaultSource +
                  QStringLiteral("\" name=\"defimage\"></p>"));
    else
        page.line(QString());
    page.line(QLatin1String("</body>"));
    page.line(QLatin1String("</html>"));
    return page.take();
}

QString scriptTitle(const QDateTime& when)
{
    return QStringLiteral("Rollcraft II ") + when.toString(QStringLiteral("dd-MM-yy")) +
           QStringLiteral(" - ") + when.toString(QStringLiteral("HH-mm-ss"));
}
