// SPDX-License-Identifier: GPL-3.0-or-later
#include "modernpage.h"

#include "pathhelpers.h"
#include "webtext.h"

#include <QStringBuilder>

#include <algorithm>
#include <array>
#include <iterator>

namespace {

// The menu's rules, '$' standing for the class prefix. Every rule is written
// under the root, and first puts back the browser's own style of each element
// of the menu (the root's class and the elements' [class] outweigh a page's
// rules on elements, "a:hover" and ".nav img" alike): the page around it
// changes nothing of the menu, and the menu nothing of the page. A button's
// two pictures share one place, the MouseOver one over the MouseOut one and
// hidden by visibility until it is wanted, so nothing moves on hover; the
// description pictures share one place too. Pictures shrink with the screen;
// a link is never smaller than 24 x 24; the focused one is lifted above its
// neighbours, its ring light and dark so that it shows on any picture.
constexpr QStringView MenuStyle =
    u".$menu [class]{all:revert}\n"
    u".$menu[class]{all:revert;display:block;width:fit-content;max-width:100%}\n"
    u".$menu .$m{display:flex;flex-direction:column;align-items:center}\n"
    u".$menu .$m>a{display:grid;place-items:center;min-width:24px;min-height:24px;"
    u"max-width:100%}\n"
    u".$menu .$d{display:grid;place-items:center}\n"
    u".$menu .$m>a>*,.$menu .$d>*{grid-area:1/1}\n"
    u".$menu .$m img,.$menu .$d img{display:block;max-width:100%;height:auto}\n"
    u".$menu .$v,.$menu .$d img:not(.$dd){visibility:hidden}\n"
    u".$menu .$m>a:focus-visible{z-index:1;outline:3px solid #1a5fb4;outline-offset:2px;"
    u"box-shadow:0 0 0 2px #fff,0 0 0 7px #fff}\n";

// The page's own rules, around the menu: laid out as the classic page shows in
// quirks mode, with an 8 px body margin and the menu centred.
constexpr QStringView PageStyle =
    u"body{margin:8px;background:#fff;color:#000}\n"
    u"main{display:grid;justify-items:center}\n"
    u".$vh{position:absolute;width:1px;height:1px;margin:-1px;padding:0;overflow:hidden;"
    u"clip:rect(0 0 0 0);white-space:nowrap;border:0}\n";

// Language subtags of the languages written right to left, where the tag names
// no script.
constexpr QStringView RightToLeftLanguages[] = {u"ar", u"arc", u"ckb", u"dv",  u"fa",
                                                u"he", u"iw",  u"ks",  u"nqo", u"ps",
                                                u"sd", u"syr", u"ug",  u"ur",  u"yi"};

// Whether picture `path` has a source: in page mode a file name, in preview
// mode an address, for which it needs two characters. Where it has none, the
// classic page would point at no file.
bool hasSource(const QString& path, PageMode mode)
{
    return mode == PageMode::Preview ? path.size() >= 2 : !fileNamePart(path).isEmpty();
}

// The source of picture `path`, percent-encoded: in page mode `prefix` (encoded,
// with its slash) and the file name, in preview mode the file:/// address;
// empty where it has none.
QString sourceOf(const QString& path, const QString& prefix, PageMode mode)
{
    if (!hasSource(path, mode))
        return {};
    if (mode == PageMode::Page)
        return prefix % percentEncoded(fileNamePart(path).toString(), PercentKeeps::Name);
    const QString address = *GetPrevPath(path);
    constexpr qsizetype Scheme = 7; // "file://"
    return address.first(Scheme) % percentEncoded(address.sliced(Scheme), PercentKeeps::Address);
}

// Scripts written right to left, as a tag's script subtag names them.
constexpr QStringView RightToLeftScripts[] = {u"adlm", u"arab", u"hebr", u"mand", u"mend", u"nkoo",
                                              u"rohg", u"samr", u"syrc", u"thaa", u"yezi"};

bool isOneOf(QStringView subtag, const auto& list)
{
    return std::any_of(std::begin(list), std::end(list), [subtag](QStringView member) {
        return subtag.compare(member, Qt::CaseInsensitive) == 0;
    });
}

// Builds the page by appending to one text, most of an element at a time:
// each piece's length is summed before the pieces are copied in.
class ModernPageBuilder {
public:
    ModernPageBuilder(const ButtonSet& set, const ModernPageOptions& options)
        : m_set(set), m_options(options), m_n(leadingButtonCount(set)),
          m_p(isClassPrefix(options.classPrefix) ? QStringView(options.classPrefix)
                                                 : QStringView(u"rc-"))
    {
        for (int k = 0; k < m_n; ++k) {
            const ButtonRecord& b = m_set.Buttons[k];
            m_hasDescription[k] = hasSource(b.DescriptionImage, m_options.mode);
            m_prefix[k] = percentEncoded(CheckSlash(b.ImagePathPrefix), PercentKeeps::Folder);
        }
        if (!m_options.current.isEmpty()) {
            const QString current = urlCleaned(m_options.current);
            for (int k = 0; k < m_n && m_current < 0; ++k) {
                if (urlCleaned(m_set.Buttons[k].Url) == current)
                    m_current = k;
            }
        }
    }

    QString build()
    {
        m_page.reserve(3072 + 500 * m_n);
        const bool rtl = isRightToLeft(m_options.lang);
        const QStringView dir = rtl ? QStringView(u" dir=\"rtl\"") : QStringView();
        if (m_options.fragment) {
            m_page += u"<div class=\"" % m_p % u"menu\"";
            if (!m_options.lang.isEmpty())
                m_page += u" lang=\"" % htmlEscaped(m_options.lang) % u'"';
            m_page += dir % u">\n<style>\n";
            style();
            m_page += u"</style>\n";
            menu();
            m_page += u"</div>\n";
            return std::move(m_page);
        }
        const QString title = htmlEscaped(m_options.title);
        m_page += u"<!DOCTYPE html>\n<html lang=\"" % htmlEscaped(m_options.lang) % u'"' % dir %
                  u">\n<head>\n<meta charset=\"utf-8\">\n"
                  u"<meta http-equiv=\"Content-Security-Policy\" "
                  u"content=\"script-src 'none'; object-src 'none'; base-uri 'none'\">\n"
                  u"<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                  u"<title>" %
                  title % u"</title>\n<meta name=\"description\" content=\"" % title %
                  u"\">\n<link rel=\"icon\" href=\"data:,\">\n<style>\n";
        prefixed(PageStyle);
        style();
        m_page += u"</style>\n</head>\n<body>\n<main>\n<h1 class=\"" % m_p % u"vh\">" % title %
                  u"</h1>\n<div class=\"" % m_p % u"menu\">\n";
        menu();
        m_page += u"</div>\n</main>\n</body>\n</html>\n";
        return std::move(m_page);
    }

private:
    // `text` with each '$' as the class prefix.
    void prefixed(QStringView text)
    {
        for (qsizetype at = 0; at < text.size();) {
            const qsizetype mark = text.indexOf(u'$', at);
            m_page += text.sliced(at, (mark < 0 ? text.size() : mark) - at);
            if (mark < 0)
                break;
            m_page += m_p;
            at = mark + 1;
        }
    }

    void style()
    {
        prefixed(MenuStyle);
        hoverRules(u"@media (hover:hover){\n", u":hover");
        m_page += u"}\n";
        hoverRules({}, u":focus-visible");
    }

    void menu()
    {
        const QString& label = m_options.label.isEmpty() ? m_options.title : m_options.label;
        m_page += u"<nav class=\"" % m_p % u"m\" aria-label=\"" % htmlEscaped(label) % u"\">\n";
        for (int k = 0; k < m_n; ++k)
            button(k);
        m_page += u"</nav>\n<div class=\"" % m_p % u"d\">";
        descriptionArea();
        m_page += u"</div>\n";
    }

    // When a picture is fetched: with the page (one on show), after the pictures
    // on show (one hidden until hover or focus), or only as its place comes
    // into view (one that moves nothing and leaves no blank while it comes).
    enum class Fetch { AtOnce, AfterTheShown, Lazily };

    // An <img> of class `cls` (followed by `number` unless it is negative),
    // with its source, the source of its picture of twice the size where the
    // tool found one, `alt` already escaped, sized where its size is known,
    // decoded off the page's way, fetched as `fetch` says, and `after` it;
    // false when it has no source.
    bool picture(const QString& path, const QString& prefix, QStringView cls, int number,
                 QStringView alt, Fetch fetch = Fetch::AtOnce, QStringView after = {})
    {
        const QString source = sourceOf(path, prefix, m_options.mode);
        if (source.isEmpty())
            return false;
        m_page += u"<img class=\"" % m_p % cls %
                  (number < 0 ? QString() : QString::number(number)) % u"\" src=\"" % source;
        // A comma would end the address within a srcset.
        if (m_options.hiDpi.contains(path))
            m_page += u"\" srcset=\"" %
                      sourceOf(hiDpiPicturePath(path), prefix, m_options.mode)
                          .replace(u',', QStringLiteral("%2C")) %
                      u" 2x";
        m_page += u"\" alt=\"" % alt;
        const QSize size = m_options.sizes.value(path);
        if (size.isValid() && !size.isEmpty())
            m_page += u"\" width=\"" % QString::number(size.width()) % u"\" height=\"" %
                      QString::number(size.height());
        m_page += u"\" decoding=\"async" %
                  (fetch == Fetch::Lazily          ? QStringView(u"\" loading=\"lazy\">")
                   : fetch == Fetch::AfterTheShown ? QStringView(u"\" fetchpriority=\"low\">")
                                                   : QStringView(u"\">")) %
                  after;
        return true;
    }

    // Hovering or focusing a button shows its MouseOver picture over the
    // MouseOut one, and its description instead of the default one; a button
    // without one leaves the default showing.
    void hoverRules(QStringView open, QStringView state)
    {
        m_page += open % u'.' % m_p % u"menu ." % m_p % u"m>a" % state % u" ." % m_p %
                  u"v{visibility:visible}\n";
        bool any = false;
        for (int k = 0; k < m_n; ++k) {
            if (!m_hasDescription[k])
                continue;
            const QString number = QString::number(k);
            m_page += (any ? QStringView(u",\n") : QStringView()) % u'.' % m_p % u"menu:has(." %
                      m_p % u'b' % number % state % u") ." % m_p % u'd' % number;
            any = true;
        }
        if (any)
            m_page += u"{visibility:visible}\n." % m_p % u"menu:has(." % m_p % u'h' % state %
                      u") ." % m_p % u"dd{visibility:hidden}\n";
    }

    void button(int k)
    {
        const ButtonRecord& b = m_set.Buttons[k];
        const bool target = !b.Target.isEmpty();
        m_page +=
            u"<a class=\"" % m_p % u'b' % QString::number(k) %
            (m_hasDescription[k] ? QStringView(u" ") : QStringView()) %
            (m_hasDescription[k] ? m_p : QStringView()) %
            (m_hasDescription[k] ? QStringView(u"h") : QStringView()) % u"\" href=\"" %
            htmlEscaped(urlCleaned(b.Url)) %
            (target ? QStringView(u"\" target=\"") : QStringView()) %
            (target ? htmlEscaped(b.Target) : QString()) %
            (k == m_current ? QStringView(u"\" aria-current=\"page\">") : QStringView(u"\">"));
        const QString& prefix = m_prefix[k];
        const QString alt = htmlEscaped(b.Alt);
        if (!picture(b.MouseOutImage, prefix, u"o", -1, alt))
            m_page += u"<span class=\"" % m_p % u"o\">" % alt % u"</span>";
        // The link is named once, by the MouseOut picture (or its text). The
        // MouseOver picture may come late where it fits within the MouseOut
        // one, which it is laid over: there its coming moves nothing, and the
        // MouseOut picture shows until it has come.
        const QSize out = m_options.sizes.value(b.MouseOutImage);
        const QSize over = m_options.sizes.value(b.MouseOverImage);
        const bool fits = out.isValid() && over.isValid() && over.width() <= out.width() &&
                          over.height() <= out.height();
        if (!picture(b.MouseOverImage, prefix, u"v", -1, {},
                     fits ? Fetch::Lazily : Fetch::AfterTheShown, u"</a>\n"))
            m_page += u"</a>\n";
    }

    void descriptionArea()
    {
        // The default description goes under button 0's prefix, as on the classic page.
        picture(m_set.DefaultDescriptionImage, m_prefix[0], u"dd", -1, {});
        for (int k = 0; k < m_n; ++k)
            picture(m_set.Buttons[k].DescriptionImage, m_prefix[k], u"d", k, {},
                    Fetch::AfterTheShown);
    }

    const ButtonSet& m_set;
    const ModernPageOptions& m_options;
    int m_n;
    // The class prefix.
    QStringView m_p;
    // The button marked as the current page; -1 for none.
    int m_current = -1;
    // Whether each button has a description picture to show.
    std::array<bool, MaxButtons> m_hasDescription{};
    // Each button's prefix as its pictures' sources begin with it.
    std::array<QString, MaxButtons> m_prefix;
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
    for (const ButtonPicture& picture : buttonPictures(leadingButtons(set)))
        add(picture.path);
    return paths;
}

QString hiDpiPicturePath(const QString& path)
{
    const QStringView name = fileNamePart(path);
    if (name.isEmpty())
        return {};
    const qsizetype dot = name.lastIndexOf(u'.');
    const qsizetype at = path.size() - name.size() + (dot > 0 ? dot : name.size());
    return QString(path).insert(at, QStringLiteral("@2x"));
}

bool isClassPrefix(QStringView prefix)
{
    const auto letter = [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
    };
    return prefix.isEmpty() || (letter(prefix.front().unicode()) &&
                                std::all_of(prefix.begin(), prefix.end(), [&letter](QChar c) {
                                    return letter(c.unicode()) || (c >= u'0' && c <= u'9') ||
                                           c == u'-';
                                }));
}

bool isRightToLeft(const QString& lang)
{
    const QList<QStringView> subtags = QStringView(lang).split(u'-');
    for (QStringView subtag : subtags.sliced(1)) {
        if (subtag.size() == 4) // the script, where the tag names one
            return isOneOf(subtag, RightToLeftScripts);
    }
    return isOneOf(subtags.constFirst(), RightToLeftLanguages);
}
