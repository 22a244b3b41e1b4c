// SPDX-License-Identifier: GPL-3.0-or-later
#include "modernoptions.h"

#include "console.h"
#include "picturesizes.h"

#include <QLocale>

namespace {

// The user's language as a tag such as "de-CH"; "en" where the locale names none.
QString userLanguage()
{
    const QLocale locale = QLocale::system();
    return locale.language() == QLocale::C ? QStringLiteral("en") : locale.bcp47Name();
}

} // namespace

ModernPageArguments::ModernPageArguments()
    : m_modern(QStringLiteral("modern"),
               QStringLiteral("Write the same menu as an HTML5 page instead: the rollover in CSS "
                              "alone (no script; its own Content-Security-Policy forbids "
                              "scripts), shown on keyboard focus as on hover, a tap following "
                              "the link on touch screens, every picture's width and height read "
                              "from its file, and NAME@2x.EXT offered to HiDPI screens where it "
                              "lies beside NAME.EXT.")),
      m_fragment(QStringLiteral("fragment"),
                 QStringLiteral("With --modern: the menu alone, to paste into a page of your "
                                "own: one <div> holding its style, the menu and the description "
                                "area, every rule written under it, so that it changes nothing "
                                "of the page and the page's own rules do not change it. No "
                                "policy: the page's Content-Security-Policy must allow its "
                                "<style> (style-src 'unsafe-inline') and its pictures.")),
      m_lang(QStringLiteral("lang"),
             QStringLiteral("With --modern: the language, a tag such as \"de\" or \"ar\" (a "
                            "right-to-left one turns the menu right to left). Default for a "
                            "page: the user's locale, \"en\" where it names none; a fragment "
                            "without it takes the language of the page around it."),
             QStringLiteral("TAG")),
      m_title(QStringLiteral("title"),
              QStringLiteral("With --modern: the page's title (default: the classic page's, "
                             "\"ButtonMenu\")."),
              QStringLiteral("TEXT")),
      m_prefix(QStringLiteral("prefix"),
               QStringLiteral("With --fragment: what every class name of the menu begins with "
                              "(default \"rc-\"): a letter or '_', then letters, digits, '-' "
                              "and '_'."),
               QStringLiteral("PREFIX")),
      m_current(QStringLiteral("current"),
                QStringLiteral("With --modern: the address of the page the menu stands on; the "
                               "button linking there is marked as the current page "
                               "(aria-current)."),
                QStringLiteral("URL")),
      m_label(QStringLiteral("label"),
              QStringLiteral("With --modern: the menu's name, as a screen reader says it "
                             "(default: the title)."),
              QStringLiteral("TEXT"))
{}

void ModernPageArguments::addTo(QCommandLineParser& parser) const
{
    parser.addOptions({m_modern, m_fragment, m_lang, m_title, m_prefix, m_current, m_label});
}

bool ModernPageArguments::read(const QCommandLineParser& parser, const QString& command,
                               std::optional<ModernPageOptions>& options) const
{
    const auto usage = [&command](const QString& what) {
        writeErr(
            QStringLiteral("rollcraft %1: %2\nTry 'rollcraft %1 --help'.\n").arg(command, what));
        return false;
    };
    if (!parser.isSet(m_modern)) {
        for (const QCommandLineOption* option :
             {&m_fragment, &m_lang, &m_title, &m_prefix, &m_current, &m_label}) {
            if (parser.isSet(*option))
                return usage(
                    QStringLiteral("--%1 goes with --modern").arg(option->names().first()));
        }
        options.reset();
        return true;
    }
    if (parser.isSet(m_prefix) && !parser.isSet(m_fragment))
        return usage(QStringLiteral("--prefix goes with --fragment"));
    const QString prefix = parser.isSet(m_prefix) ? parser.value(m_prefix) : QStringLiteral("rc-");
    if (!isClassPrefix(prefix))
        return usage(QStringLiteral("--prefix must begin with a letter or '_' and hold only "
                                    "letters, digits, '-' and '_': %1")
                         .arg(prefix));
    ModernPageOptions read;
    read.fragment = parser.isSet(m_fragment);
    read.lang = parser.isSet(m_lang) ? parser.value(m_lang)
                : read.fragment      ? QString()
                                     : userLanguage();
    read.title = parser.isSet(m_title) ? parser.value(m_title) : QStringLiteral("ButtonMenu");
    read.classPrefix = prefix;
    read.current = parser.value(m_current);
    read.label = parser.value(m_label);
    options = read;
    return true;
}

QString renderModernPage(const ButtonSet& set, ModernPageOptions options)
{
    const QStringList pictures = modernPagePictures(set);
    options.sizes = readPictureSizes(pictures);
    options.hiDpi = findHiDpiPictures(pictures);
    return buildModernPage(set, options);
}
