// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagefindings.h"

#include "copyname.h"
#include "pathhelpers.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>

namespace {

using Kind = PageFinding::Kind;

bool isHex(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

bool allHex(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isHex);
}

// What breaks `text` where it stands between the single quotes of a script
// string, as the page writes Alt texts and image sources: an apostrophe ends
// the string, a backslash escapes the next character (the closing quote too),
// and a \x or \u escape without its hex digits is a syntax error. Gives the
// apostrophe or the backslash the script cannot read; nothing when the string
// holds.
QChar scriptBreak(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\'')
            return u'\'';
        if (text[i] != u'\\')
            continue;
        if (++i == text.size())
            return u'\\';
        if (text[i] == u'u' && text.sliced(i + 1).startsWith(u'{')) {
            const qsizetype close = text.indexOf(u'}', i + 2);
            if (close < 0 || !allHex(text.sliced(i + 2, close - i - 2)))
                return u'\\';
            i = close;
            continue;
        }
        const qsizetype digits = text[i] == u'x' ? 2 : text[i] == u'u' ? 4 : 0;
        if (digits > 0 && (i + digits >= text.size() || !allHex(text.sliced(i + 1, digits))))
            return u'\\';
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

// What a browser stumbles on in a picture's address: the path ends at '#' or
// '?', and '%' starts an escape. Nothing when nothing.
QChar addressBreak(QStringView text)
{
    const auto mark = std::find_if(text.begin(), text.end(),
                                   [](QChar c) { return c == u'#' || c == u'?' || c == u'%'; });
    return mark == text.end() ? QChar() : *mark;
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

    PageFinding& add(Kind kind, PictureField picture = {})
    {
        m_out.append({.kind = kind, .button = m_button, .name = m_name, .picture = picture});
        return m_out.last();
    }

    // An image as the page writes it (prefix with its slash, then the file
    // name) and as the copy names it (the file name alone). `inAttribute`:
    // the page also writes it into an HTML attribute, not only into the
    // script.
    void image(PictureField field, const QString& path, const QString& prefix, bool inAttribute)
    {
        if (path.isEmpty())
            return;
        const QString file = fileNamePart(path).toString();
        if (file.isEmpty()) {
            PageFinding& found = add(Kind::NoFileName, field);
            found.quoted = path;
            found.source = CheckSlash(prefix);
            return;
        }
        if (file.contains(u'\''))
            add(Kind::FileNameEndsScript, field).quoted = file;
        if (inAttribute && file.contains(u'"'))
            add(Kind::FileNameEndsAttribute, field).quoted = file;
        if (const QChar mark = addressBreak(file); !mark.isNull()) {
            PageFinding& found = add(Kind::FileNameBreaksAddress, field);
            found.quoted = file;
            found.mark = mark;
        }
        if (const QString problem = copyNameProblem(file); !problem.isEmpty())
            add(Kind::NotCopied, field).quoted = problem;
        else
            copiedAs(field, path, file);
    }

    void prefix(const QString& prefix)
    {
        const QString source = CheckSlash(prefix);
        if (const QChar mark = scriptBreak(source); !mark.isNull())
            add(Kind::PrefixBreaksScript).mark = mark;
        else if (hasDroppedBackslash(source))
            add(Kind::PrefixDropsBackslash);
        if (prefix.contains(u'"'))
            add(Kind::PrefixEndsAttribute);
        if (const QChar mark = addressBreak(prefix); !mark.isNull())
            add(Kind::PrefixBreaksAddress).mark = mark;
    }

    void texts(const ButtonRecord& b)
    {
        if (b.Url.contains(u'"'))
            add(Kind::UrlEndsAttribute).quoted = b.Url.section(u'"', 0, 0);
        if (b.Target.contains(u'"'))
            add(Kind::TargetEndsAttribute).quoted = b.Target.section(u'"', 0, 0);
        if (b.Alt.contains(u'"'))
            add(Kind::AltEndsAttribute);
        else if (const QChar mark = scriptBreak(b.Alt); !mark.isNull())
            add(Kind::AltBreaksScript).mark = mark;
    }

private:
    // The copy names every picture by its file name alone: a later picture
    // of the same name from elsewhere replaces an earlier one.
    void copiedAs(PictureField field, const QString& path, const QString& file)
    {
        const auto first = m_copied.constFind(file);
        if (first == m_copied.cend()) {
            m_copied.insert(file, {m_button, m_name, field, path});
        } else if (first->path != path && !m_reported.contains(path)) {
            m_reported.insert(path);
            PageFinding& found = add(Kind::CopiedOver, field);
            found.quoted = file;
            found.replaced = *first;
        }
    }

    QList<PageFinding>& m_out;
    int m_button = 0;
    QString m_name;
    QHash<QString, PageFinding::Picture> m_copied; // by file name
    QSet<QString> m_reported;
};

} // namespace

QList<PageFinding> pageFindings(const DataFileReadResult& read, QByteArrayView bytes)
{
    QList<PageFinding> out;
    Finder find(out);
    if (const QString letter = firstUtf8Letter(bytes); !letter.isEmpty())
        find.add(Kind::Utf8WithoutMark).quoted = letter;
    if (read.buttons.isEmpty()) {
        find.add(Kind::NoButtons);
        return out;
    }
    const qsizetype listed = read.buttons.size();
    for (qsizetype k = 0; k < listed; ++k) {
        const ButtonRecord& b = read.buttons[k];
        find.at(int(k) + 1, b.Name);
        if (b.Name.isEmpty()) {
            find.add(Kind::PageEndsBefore).count = int(listed);
            break;
        }
        find.image(PictureField::MouseOut, b.MouseOutImage, b.ImagePathPrefix, true);
        find.image(PictureField::MouseOver, b.MouseOverImage, b.ImagePathPrefix, false);
        find.image(PictureField::Description, b.DescriptionImage, b.ImagePathPrefix, false);
        find.texts(b);
        find.prefix(b.ImagePathPrefix);
    }
    // The page forms the default description's source with the first button's prefix.
    find.at(0, {});
    find.image(PictureField::DefaultDescription, read.DefaultDescriptionImage,
               read.buttons.constFirst().ImagePathPrefix, true);
    return out;
}
