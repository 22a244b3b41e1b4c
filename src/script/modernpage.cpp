// SPDX-License-Identifier: GPL-3.0-or-later
#include "modernpage.h"

#include "pathhelpers.h"
#include "webtext.h"

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

// The part of picture `path` its source is made of: the file name in page
// mode, the whole path for an address in preview mode. Empty where classic
// page would point at no file (no file name; too short a path for an address).
QStringView sourcePart(const QString& path, PageMode mode)
{
    if (mode == PageMode::Preview)
        return path.size() >= 2 ? QStringView(path) : QStringView();
    return fileNamePart(path);
}

// Appends the source of a picture whose sourcePart is `part`, for a button
// with `prefix`, percent-encoded.
void appendSource(QString& out, QStringView part, const QString& prefix, PageMode mode)
{
    if (mode == PageMode::Preview) {
        constexpr QStringView Scheme = u"file://";
        out += Scheme;
        const QString address = *GetPrevPath(part.toString());
        appendPercentEncoded(out, QStringView(address).sliced(Scheme.size()), u"/:|");
        return;
    }
    appendPercentEncoded(out, CheckSlash(prefix), u"/:@!$()*+,;=");
    appendPercentEncoded(out, part, u"@!$()*+,;=");
}

// Appends a number that is not negative, without a string of its own.
void appendNumber(QString& out, int k)
{
    char digits[12];
    int at = sizeof digits;
    do {
        digits[--at] = static_cast<char>('0' + k % 10);
        k /= 10;
    } while (k > 0);
    out += QLatin1StringView(digits + at, static_cast<qsizetype>(sizeof digits) - at);
}

class ModernPageBuilder {
public:
    ModernPageBuilder(const ButtonSet& set, const ModernPageOptions& options)
        : m_set(set), m_options(options), m_n(leadingButtonCount(set))
    {}

    QString build()
    {
        m_page.reserve(2048 + 400 * m_n);
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
    // An <img> of class `cls` (followed by `number` unless it is negative),
    // sized where its size is known; false when it has no source.
    bool picture(const QString& path, const QString& prefix, QStringView cls, int number,
                 QStringView alt)
    {
        const QStringView part = sourcePart(path, m_options.mode);
        if (part.isEmpty())
            return false;
        m_page += u"<img class=\"";
        m_page += cls;
        if (number >= 0)
            appendNumber(m_page, number);
        m_page += u"\" src=\"";
        appendSource(m_page, part, prefix, m_options.mode);
        m_page += u"\" alt=\"";
        appendHtmlEscaped(m_page, alt);
        const QSize size = m_options.sizes.value(path);
        if (size.isValid() && !size.isEmpty()) {
            m_page += u"\" width=\"";
            appendNumber(m_page, size.width());
            m_page += u"\" height=\"";
            appendNumber(m_page, size.height());
        }
        m_page += u"\">";
        return true;
    }

    [[nodiscard]] bool hasDescription(int k) const
    {
        return !sourcePart(m_set.Buttons[k].DescriptionImage, m_options.mode).isEmpty();
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
            appendNumber(m_page, k);
            m_page += state;
            m_page += u") .d";
            appendNumber(m_page, k);
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
        appendNumber(m_page, k);
        m_page += hasDescription(k) ? u" h\" href=\"" : u"\" href=\"";
        QString url;
        appendUrlCleaned(url, b.Url);
        appendHtmlEscaped(m_page, url);
        if (!b.Target.isEmpty()) {
            m_page += u"\" target=\"";
            appendHtmlEscaped(m_page, b.Target);
        }
        m_page += u"\">";
        if (!picture(b.MouseOutImage, b.ImagePathPrefix, u"o", -1, b.Alt)) {
            m_page += u"<span class=\"o\">";
            appendHtmlEscaped(m_page, b.Alt);
            m_page += u"</span>";
        }
        picture(b.MouseOverImage, b.ImagePathPrefix, u"v", -1, b.Alt);
        m_page += u"</a>\n";
    }

    void descriptionArea()
    {
        // The default description goes under button 0's prefix, as on the classic page.
        picture(m_set.DefaultDescriptionImage, m_set.Buttons[0].ImagePathPrefix, u"dd", -1, u"");
        for (int k = 0; k < m_n; ++k) {
            const ButtonRecord& b = m_set.Buttons[k];
            picture(b.DescriptionImage, b.ImagePathPrefix, u"d", k, u"");
        }
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
