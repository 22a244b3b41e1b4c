// SPDX-License-Identifier: GPL-3.0-or-later
#include "modernpage.h"

#include "pathhelpers.h"
#include "webtext.h"

#include <optional>

namespace {

// Laid out as the classic page shows in quirks mode: 8 px body margin, a
// centred column of pictures with no gaps, the description area right below.
// Hover rules sit behind (hover: hover), so a tap on a touch screen follows
// the link instead of swapping pictures first.
constexpr QStringView Style =
    u"body{margin:8px;background:#fff;color:#000}\n"
    u".vh{position:absolute;width:1px;height:1px;margin:-1px;padding:0;overflow:hidden;"
    u"clip:rect(0 0 0 0);white-space:nowrap;border:0}\n"
    u".m{display:flex;flex-direction:column;align-items:center}\n"
    u".m a{display:block;color:#000}\n"
    u".m img,.d .dd{display:block}\n"
    u".m .v,.d img{display:none}\n"
    u".d img{margin:0 auto}\n"
    u".m a:focus-visible{outline:3px solid #1a5fb4;outline-offset:2px}\n"
    u".m a:has(.v):focus-visible .o{display:none}\n"
    u".m a:focus-visible .v{display:block}\n";

// The source of picture `path` for a button with `prefix`, percent-encoded;
// none where classic page would point at no file.
std::optional<QString> pictureSource(const QString& path, const QString& prefix, PageMode mode)
{
    QString source;
    if (mode == PageMode::Preview) {
        const std::optional<QString> address = path.isEmpty() ? std::nullopt : GetPrevPath(path);
        if (!address)
            return std::nullopt;
        constexpr QStringView Scheme = u"file://";
        source += Scheme;
        appendPercentEncoded(source, QStringView(*address).sliced(Scheme.size()), u"/:|");
        return source;
    }
    const QStringView name = fileNamePart(path);
    if (name.isEmpty())
        return std::nullopt;
    appendPercentEncoded(source, CheckSlash(prefix), u"/:@!$()*+,;=");
    appendPercentEncoded(source, name, u"@!$()*+,;=");
    return source;
}

class ModernPageBuilder {
public:
    ModernPageBuilder(const ButtonSet& set, const ModernPageOptions& options)
        : m_set(set), m_options(options), m_n(leadingButtonCount(set))
    {}

    QString build()
    {
        m_page.reserve(2048 + 600 * m_n);
        m_page += u"<!DOCTYPE html>\n<html lang=\"";
        appendHtmlEscaped(m_page, m_options.lang);
        m_page += u"\">\n<head>\n<meta charset=\"utf-8\">\n"
                  u"<meta http-equiv=\"Content-Security-Policy\" "
                  u"content=\"script-src 'none'; object-src 'none'; base-uri 'none'\">\n"
                  u"<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                  u"<title>";
        appendHtmlEscaped(m_page, m_options.title);
        m_page += u"</title>\n<meta name=\"description\" content=\"";
        appendHtmlEscaped(m_page, m_options.title);
        m_page += u"\">\n<link rel=\"icon\" href=\"data:,\">\n<style>\n";
        m_page += Style;
        hoverRules(u"@media (hover:hover){\n", u":hover");
        m_page += u"}\n";
        hoverRules(u"", u":focus-visible");
        m_page += u"</style>\n</head>\n<body>\n<main>\n<h1 class=\"vh\">";
        appendHtmlEscaped(m_page, m_options.title);
        m_page += u"</h1>\n<nav class=\"m\">\n";
        for (int k = 0; k < m_n; ++k)
            button(k);
        m_page += u"</nav>\n<div class=\"d\">";
        descriptionArea();
        m_page += u"</div>\n</main>\n</body>\n</html>\n";
        return std::move(m_page);
    }

private:
    [[nodiscard]] std::optional<QString> source(const QString& path, int owner) const
    {
        return pictureSource(path, m_set.Buttons[owner].ImagePathPrefix, m_options.mode);
    }

    // An <img> with `alt` and class `cls`, sized where its size is known;
    // false when there is no source for it.
    bool picture(const QString& path, int owner, QStringView cls, QStringView alt)
    {
        const std::optional<QString> src = source(path, owner);
        if (!src)
            return false;
        m_page += u"<img class=\"";
        m_page += cls;
        m_page += u"\" src=\"";
        m_page += *src;
        m_page += u"\" alt=\"";
        appendHtmlEscaped(m_page, alt);
        m_page += u'"';
        const QSize size = m_options.sizes.value(path);
        if (size.isValid() && !size.isEmpty()) {
            m_page += u" width=\"";
            m_page += QString::number(size.width());
            m_page += u"\" height=\"";
            m_page += QString::number(size.height());
            m_page += u'"';
        }
        m_page += u'>';
        return true;
    }

    [[nodiscard]] bool hasDescription(int k) const
    {
        return source(m_set.Buttons[k].DescriptionImage, k).has_value();
    }

    // Hovering or focusing a button shows its description instead of the
    // default one; a button without one leaves the default showing.
    void hoverRules(QStringView open, QStringView state)
    {
        m_page += open;
        if (state == u":hover")
            m_page += u".m a:has(.v):hover .o{display:none}\n.m a:hover .v{display:block}\n";
        bool any = false;
        for (int k = 0; k < m_n; ++k) {
            if (!hasDescription(k))
                continue;
            m_page += any ? u",\n" : u"";
            any = true;
            m_page += u"main:has(.b";
            m_page += QString::number(k);
            m_page += state;
            m_page += u") .d";
            m_page += QString::number(k);
        }
        if (any) {
            m_page += u"{display:block}\nmain:has(.h";
            m_page += state;
            m_page += u") .dd{display:none}\n";
        }
    }

    void button(int k)
    {
        const ButtonRecord& b = m_set.Buttons[k];
        m_page += u"<a class=\"b";
        m_page += QString::number(k);
        if (hasDescription(k))
            m_page += u" h";
        m_page += u"\" href=\"";
        QString url;
        appendUrlCleaned(url, b.Url);
        appendHtmlEscaped(m_page, url);
        m_page += u'"';
        if (!b.Target.isEmpty()) {
            m_page += u" target=\"";
            appendHtmlEscaped(m_page, b.Target);
            m_page += u'"';
        }
        m_page += u'>';
        if (!picture(b.MouseOutImage, k, u"o", b.Alt)) {
            m_page += u"<span class=\"o\">";
            appendHtmlEscaped(m_page, b.Alt);
            m_page += u"</span>";
        }
        picture(b.MouseOverImage, k, u"v", b.Alt);
        m_page += u"</a>\n";
    }

    void descriptionArea()
    {
        picture(m_set.DefaultDescriptionImage, 0, u"dd", u"");
        for (int k = 0; k < m_n; ++k)
            picture(m_set.Buttons[k].DescriptionImage, k, QStringLiteral("d%1").arg(k), u"");
    }

    const ButtonSet& m_set;
    const ModernPageOptions& m_options;
    int m_n;
    QString m_page;
};

} // namespace

QString buildModernPage(const ButtonSet& set, const ModernPageOptions& options)
{
    return ModernPageBuilder(set, options).build();
}

QStringList modernPagePictures(const ButtonSet& set)
{
    QStringList paths;
    const auto add = [&paths](const QString& path) {
        if (!path.isEmpty() && !paths.contains(path))
            paths += path;
    };
    add(set.DefaultDescriptionImage);
    for (int k = 0, n = leadingButtonCount(set); k < n; ++k) {
        const ButtonRecord& b = set.Buttons[k];
        add(b.MouseOutImage);
        add(b.MouseOverImage);
        add(b.DescriptionImage);
    }
    return paths;
}
