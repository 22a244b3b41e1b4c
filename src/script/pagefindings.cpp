// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagefindings.h"

#include "codepage.h"
#include "copyname.h"
#include "pathhelpers.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>

namespace {

QString orModern(const QString& remedy)
{
    return remedy + QStringLiteral(", or use render --modern, which escapes it");
}

bool isHex(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

bool allHex(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isHex);
}

// What goes wrong when `text` stands between the single quotes of a script
// string, as the page writes Alt texts and image sources: an apostrophe ends
// the string, a backslash escapes the next character (the closing quote too),
// and a \x or \u escape without its hex digits is a syntax error. Empty when
// the string holds.
QString scriptBreak(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\'')
            return QStringLiteral("its apostrophe ends the script's string");
        if (text[i] != u'\\')
            continue;
        const QString badEscape = QStringLiteral("the script cannot read its backslash");
        if (++i == text.size())
            return badEscape;
        if (text[i] == u'u' && text.sliced(i + 1).startsWith(u'{')) {
            const qsizetype close = text.indexOf(u'}', i + 2);
            if (close < 0 || !allHex(text.sliced(i + 2, close - i - 2)))
                return badEscape;
            i = close;
            continue;
        }
        const qsizetype digits = text[i] == u'x' ? 2 : text[i] == u'u' ? 4 : 0;
        if (digits > 0 && (i + digits >= text.size() || !allHex(text.sliced(i + 1, digits))))
            return badEscape;
        i += digits;
    }
    return {};
}

// A backslash the script drops while the picture's address turns it into '/'.
bool hasDroppedBackslash(QStringView source)
{
    for (qsizetype i = source.indexOf(u'\\'); i >= 0; i = source.indexOf(u'\\', i + 1)) {
        if (i + 1 >= source.size() || source[i + 1] != u'/')
            return true;
    }
    return false;
}

// What a browser makes of `what` in a picture's address: the path ends at '#'
// or '?', and '%' starts an escape. Empty when nothing.
QString addressBreak(QStringView text, const QString& what)
{
    for (const QChar c : text) {
        if (c == u'#' || c == u'?')
            return QStringLiteral("the browser reads %1 only up to its \"%2\"").arg(what, c);
        if (c == u'%')
            return QStringLiteral("the browser reads the \"%\" in %1 as an escape").arg(what);
    }
    return {};
}

// A file without the UTF-8 mark that decodes as UTF-8 and is not plain ASCII:
// an editor's UTF-8, which the reader takes for Windows-1252. Gives the first
// character outside ASCII, or nothing.
QString firstUtf8Letter(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {};
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        return {};
    const auto wide = std::find_if(text.begin(), text.end(), [](QChar c) { return c > u'\x7f'; });
    if (wide == text.end())
        return {};
    return wide->isHighSurrogate() ? QString(wide, 2) : QString(*wide);
}

class Finder {
public:
    explicit Finder(QList<PageFinding>& out) : m_out(out) {}

    void at(int button, const QString& name)
    {
        m_button = button;
        m_name = name;
    }

    void add(const QString& field, const QString& effect, const QString& remedy)
    {
        m_out.append({m_button, m_name, field, effect, remedy});
    }

    // An image as the page writes it (prefix with its slash, then the file
    // name) and as the copy names it (the file name alone). `inAttribute`:
    // the page also writes it into an HTML attribute, not only into the
    // script.
    void image(const QString& field, const QString& path, const QString& prefix, bool inAttribute)
    {
        if (path.isEmpty())
            return;
        const QString file = fileNamePart(path).toString();
        if (file.isEmpty()) {
            add(field,
                QStringLiteral("\"%1\" gives the page no file name (src = '%2', a broken "
                               "picture) and cannot be copied")
                    .arg(path, CheckSlash(prefix)),
                QStringLiteral("choose the picture again in the window, or write its full "
                               "path, starting with /"));
            return;
        }
        if (file.contains(u'\''))
            add(field,
                QStringLiteral("the apostrophe in \"%1\" ends the script's string: no button "
                               "lights up (SyntaxError)")
                    .arg(file),
                orModern(QStringLiteral("rename the file")));
        if (inAttribute && file.contains(u'"'))
            add(field,
                QStringLiteral("the \" in \"%1\" ends the picture's attribute: a broken picture")
                    .arg(file),
                orModern(QStringLiteral("rename the file")));
        if (const QString broken = addressBreak(file, u'"' + file + u'"'); !broken.isEmpty())
            add(field, broken + QStringLiteral(": a broken picture"),
                orModern(QStringLiteral("rename the file")));
        if (const QString problem = copyNameProblem(file); !problem.isEmpty())
            add(field, problem + QStringLiteral(": \"Copy images to path...\" leaves it out"),
                QStringLiteral("move the picture to a folder whose path holds no backslash, "
                               "and choose it again"));
        else
            copiedAs(field, path, file);
    }

    void prefix(const QString& prefix)
    {
        const QString field = QStringLiteral("Image path prefix");
        const QString source = CheckSlash(prefix);
        if (const QString broken = scriptBreak(source); !broken.isEmpty())
            add(field, broken + QStringLiteral(": no button lights up (SyntaxError)"),
                orModern(QStringLiteral("remove it")));
        else if (hasDroppedBackslash(source))
            add(field,
                QStringLiteral("the script drops its backslash, the page reads it as '/': on "
                               "and after hover the pictures are looked for elsewhere"),
                QStringLiteral("write / instead of \\"));
        if (prefix.contains(u'"'))
            add(field,
                QStringLiteral("its \" ends the button picture's attribute: a broken picture"),
                orModern(QStringLiteral("remove it")));
        if (const QString broken = addressBreak(prefix, QStringLiteral("the prefix"));
            !broken.isEmpty())
            add(field, broken + QStringLiteral(": the button's pictures are broken"),
                orModern(QStringLiteral("remove it")));
    }

    void texts(const ButtonRecord& b)
    {
        const QString url = QStringLiteral("Url");
        const QString target = QStringLiteral("Target");
        const QString alt = QStringLiteral("Alt");
        if (b.Url.contains(u'"'))
            add(url,
                QStringLiteral("its \" ends the link's attribute: the link goes to \"%1\"")
                    .arg(b.Url.section(u'"', 0, 0)),
                orModern(QStringLiteral("write %22 instead")));
        if (b.Target.contains(u'"'))
            add(target,
                QStringLiteral("its \" ends the target's attribute: the link opens in \"%1\"")
                    .arg(b.Target.section(u'"', 0, 0)),
                orModern(QStringLiteral("remove it")));
        if (b.Alt.contains(u'"'))
            add(alt,
                QStringLiteral("its \" ends the mouse-over attribute: the button does not light "
                               "up, and its alternative text is cut"),
                orModern(QStringLiteral("write \u201c or \u201d instead")));
        else if (const QString broken = scriptBreak(b.Alt); !broken.isEmpty())
            add(alt, broken + QStringLiteral(": the button does not light up (SyntaxError)"),
                orModern(
                    QStringLiteral("write \u2019 for an apostrophe and leave out backslashes")));
    }

private:
    // The copy names every picture by its file name alone: a later picture
    // of the same name from elsewhere replaces an earlier one.
    void copiedAs(const QString& field, const QString& path, const QString& file)
    {
        const QString where = m_button > 0 ? QStringLiteral("the %1 of button %2 \"%3\"")
                                                 .arg(field, QString::number(m_button), m_name)
                                           : QStringLiteral("the ") + field;
        const auto first = m_copied.constFind(file);
        if (first == m_copied.cend()) {
            m_copied.insert(file, {path, where});
        } else if (first->first != path && !m_reported.contains(path)) {
            m_reported.insert(path);
            add(field,
                QStringLiteral("copied as %1, it replaces %2 (%3): both show this picture")
                    .arg(file, first->second, first->first),
                QStringLiteral("rename one of the two files"));
        }
    }

    QList<PageFinding>& m_out;
    int m_button = 0;
    QString m_name;
    QHash<QString, std::pair<QString, QString>> m_copied; // file name: first path, where
    QSet<QString> m_reported;
};

} // namespace

QList<PageFinding> pageFindings(const DataFileReadResult& read, QByteArrayView bytes)
{
    QList<PageFinding> out;
    Finder find(out);
    if (const QString letter = firstUtf8Letter(bytes); !letter.isEmpty())
        find.add(QStringLiteral("Data file"),
                 QStringLiteral("it is UTF-8 without the UTF-8 mark, likely saved so by an "
                                "editor: it reads as Windows-1252, \"%1\" as \"%2\", and paths "
                                "holding such letters are not found")
                     .arg(letter, decodeWindows1252(letter.toUtf8())),
                 QStringLiteral("add the UTF-8 mark (bytes EF BB BF) at its start"));
    if (read.buttons.isEmpty()) {
        find.add(QStringLiteral("Buttons"),
                 QStringLiteral("the set has none: \"Insert script\" publishes no page"),
                 QStringLiteral("add a button"));
        return out;
    }
    const qsizetype listed = read.buttons.size();
    for (qsizetype k = 0; k < listed; ++k) {
        const ButtonRecord& b = read.buttons[k];
        find.at(int(k) + 1, b.Name);
        if (b.Name.isEmpty()) {
            find.add(QStringLiteral("Name"),
                     QStringLiteral("the page ends before this button: the file lists %1 "
                                    "buttons, the page has %2")
                         .arg(listed)
                         .arg(k),
                     QStringLiteral("give it a name"));
            break;
        }
        find.image(QStringLiteral("MouseOut image"), b.MouseOutImage, b.ImagePathPrefix, true);
        find.image(QStringLiteral("MouseOver image"), b.MouseOverImage, b.ImagePathPrefix, false);
        find.image(QStringLiteral("Description image"), b.DescriptionImage, b.ImagePathPrefix,
                   false);
        find.texts(b);
        find.prefix(b.ImagePathPrefix);
    }
    // The page forms the default description's source with the first button's prefix.
    find.at(0, {});
    find.image(QStringLiteral("Default description image"), read.DefaultDescriptionImage,
               read.buttons.constFirst().ImagePathPrefix, true);
    return out;
}

QString findingText(const PageFinding& finding)
{
    QString text;
    if (finding.button > 0)
        text = finding.name.isEmpty() ? QStringLiteral("button %1 (no name), ").arg(finding.button)
                                      : QStringLiteral("button %1 \"%2\", ")
                                            .arg(QString::number(finding.button), finding.name);
    text += finding.field + QStringLiteral(": ") + finding.effect + QStringLiteral("; ") +
            finding.remedy + u'.';
    return text;
}
