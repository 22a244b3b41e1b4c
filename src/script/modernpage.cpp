// SPDX-License-Identifier: GPL-3.0-or-later
#include "modernpage.h"

#include "pathhelpers.h"
#include "webtext.h"

#include <QStringBuilder>

#include <array>
#include <iterator>

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

// A number that is not negative, in decimal, without a string of its own;
// a negative one shows as nothing.
class Decimal {
public:
    explicit Decimal(int k)
    {
        if (k < 0)
            return;
        do {
            m_digits[--m_at] = static_cast<char16_t>(u'0' + k % 10);
            k /= 10;
        } while (k > 0);
    }
    [[nodiscard]] QStringView view() const
    {
        return QStringView(m_digits + m_at, qsizetype(std::size(m_digits)) - m_at);
    }

private:
    char16_t m_digits[12] = {};
    qsizetype m_at = std::size(m_digits);
};

// Builds the page by appending to one text, most of an element at a time:
// each piece's length is summed before the pieces are copied in. Texts from
// the set pass through the escaping helpers, which copy only what changes.
class ModernPageBuilder {
public:
    ModernPageBuilder(const ButtonSet& set, const ModernPageOptions& options)
        : m_set(set), m_options(options), m_n(leadingButtonCount(set))
    {
        for (int k = 0; k < m_n; ++k)
            m_hasDescription[k] =
                !sourcePart(m_set.Buttons[k].DescriptionImage, m_options.mode).isEmpty();
    }

    QString build()
    {
        m_page.reserve(2048 + 400 * m_n);
        const QStringView title = htmlEscaped(m_options.title, m_room[0]);
        m_page += u"<!DOCTYPE html>\n<html lang=\"" % htmlEscaped(m_options.lang, m_room[1]) %
                  u"\">\n<head>\n<meta charset=\"utf-8\">\n"
                  u"<meta http-equiv=\"Content-Security-Policy\" "
                  u"content=\"script-src 'none'; object-src 'none'; base-uri 'none'\">\n"
                  u"<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                  u"<title>" %
                  title % u"</title>\n<meta name=\"description\" content=\"" % title %
                  u"\">\n<link rel=\"icon\" href=\"data:,\">\n<style>\n" % Style;
        hoverRules(u"@media (hover:hover){\n", u":hover");
        m_page += u"}\n";
        hoverRules(u"", u":focus-visible");
        m_page += u"</style>\n</head>\n<body>\n<main>\n<h1 class=\"vh\">" %
                  htmlEscaped(m_options.title, m_room[0]) % u"</h1>\n<nav class=\"m\">\n";
        for (int k = 0; k < m_n; ++k)
            button(k);
        m_page += u"</nav>\n<div class=\"d\">";
        descriptionArea();
        m_page += u"</div>\n</main>\n</body>\n</html>\n";
        return std::move(m_page);
    }

private:
    // A button's prefix as its pictures' sources begin with it: encoded, and
    // followed by a slash unless it is empty or ends in one.
    struct Prefix {
        QStringView encoded;
        QStringView slash;
    };

    // The prefix of button `k`, encoded into `room`.
    Prefix prefixOf(int k, QString& room) const
    {
        const QString& prefix = m_set.Buttons[k].ImagePathPrefix;
        const bool slash = !prefix.isEmpty() && !prefix.endsWith(u'/');
        return {percentEncoded(prefix, PercentKeeps::Folder, room),
                slash ? QStringView(u"/") : QStringView()};
    }

    // An <img> of class `cls` (followed by `number` unless it is negative),
    // its source percent-encoded (in page mode `prefix` and the file name, in
    // preview mode the file:/// address), `alt` already escaped, sized where
    // its size is known, and `after` it; false when it has no source.
    bool picture(const QString& path, Prefix prefix, QStringView cls, int number, QStringView alt,
                 QStringView after = {})
    {
        QStringView part = sourcePart(path, m_options.mode);
        if (part.isEmpty())
            return false;
        if (m_options.mode == PageMode::Preview) {
            constexpr QStringView Scheme = u"file://";
            m_room[2].truncate(0);
            appendPrevPath(m_room[2], part);
            prefix = {Scheme, {}};
            part = QStringView(m_room[2]).sliced(Scheme.size());
        }
        const QStringView name = percentEncoded(
            part, m_options.mode == PageMode::Preview ? PercentKeeps::Address : PercentKeeps::Name,
            m_room[0]);
        const QSize size = m_options.sizes.value(path);
        const bool sized = size.isValid() && !size.isEmpty();
        const Decimal width(sized ? size.width() : -1);
        const Decimal height(sized ? size.height() : -1);
        m_page += u"<img class=\"" % cls % Decimal(number).view() % u"\" src=\"" % prefix.encoded %
                  prefix.slash % name % u"\" alt=\"" % alt %
                  (sized ? QStringView(u"\" width=\"") : QStringView()) % width.view() %
                  (sized ? QStringView(u"\" height=\"") : QStringView()) % height.view() % u"\">" %
                  after;
        return true;
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
            if (!m_hasDescription[k])
                continue;
            const Decimal number(k);
            m_page += (any ? QStringView(u",\n") : QStringView()) % u"main:has(.b" % number.view() %
                      state % u") .d" % number.view();
            any = true;
        }
        if (any)
            m_page += u"{display:block}\nmain:has(.h" % state % u") .dd{display:none}\n";
    }

    void button(int k)
    {
        const ButtonRecord& b = m_set.Buttons[k];
        const bool target = !b.Target.isEmpty();
        m_page +=
            u"<a class=\"b" % Decimal(k).view() %
            (m_hasDescription[k] ? QStringView(u" h\" href=\"") : QStringView(u"\" href=\"")) %
            htmlEscaped(urlCleaned(b.Url, m_room[0]), m_room[1]) %
            (target ? QStringView(u"\" target=\"") : QStringView()) %
            (target ? htmlEscaped(b.Target, m_room[2]) : QStringView()) % u"\">";
        const Prefix prefix = prefixOf(k, m_room[1]);
        const QStringView alt = htmlEscaped(b.Alt, m_room[3]);
        if (!picture(b.MouseOutImage, prefix, u"o", -1, alt))
            m_page += u"<span class=\"o\">" % alt % u"</span>";
        if (!picture(b.MouseOverImage, prefix, u"v", -1, alt, u"</a>\n"))
            m_page += u"</a>\n";
    }

    void descriptionArea()
    {
        // The default description goes under button 0's prefix, as on the classic page.
        picture(m_set.DefaultDescriptionImage, prefixOf(0, m_room[1]), u"dd", -1, {});
        for (int k = 0; k < m_n; ++k)
            picture(m_set.Buttons[k].DescriptionImage, prefixOf(k, m_room[1]), u"d", k, {});
    }

    const ButtonSet& m_set;
    const ModernPageOptions& m_options;
    int m_n;
    // Whether each button has a description picture to show.
    std::array<bool, MaxButtons> m_hasDescription{};
    QString m_page;
    // Room for the escaped or encoded form of the texts on their way into
    // the page; each use says which it takes, so that no two pieces in use
    // at once share one: 1 the prefix, 3 the Alt text, 0 and 2 the rest.
    std::array<QString, 4> m_room;
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
