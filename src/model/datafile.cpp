// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafile.h"

#include "codepage.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>

namespace {

// Splits the file into lines at CR LF, a lone LF or a lone CR. A last line
// without an ending still counts; nothing follows the last line ending.
class LineReader {
public:
    explicit LineReader(QByteArrayView bytes) : m_bytes(bytes) {}

    [[nodiscard]] bool atEnd() const { return m_pos >= m_bytes.size(); }
    [[nodiscard]] int lineNumber() const { return m_line; }

    // The next line's bytes, without its ending; false at the end of the file.
    bool next(QByteArrayView& line)
    {
        if (atEnd())
            return false;
        const char* begin = m_bytes.data() + m_pos;
        const char* stop = m_bytes.data() + m_bytes.size();
        const char* end = std::find_if(begin, stop, [](char c) { return c == '\r' || c == '\n'; });
        line = QByteArrayView(begin, end);
        m_pos = end - m_bytes.data();
        if (m_pos < m_bytes.size()) {
            const char ending = m_bytes[m_pos++];
            if (ending == '\r' && m_pos < m_bytes.size() && m_bytes[m_pos] == '\n')
                ++m_pos;
        }
        ++m_line;
        return true;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    int m_line = 0;
};

using Decoder = QString (*)(QByteArrayView);

QString decodeUtf8(QByteArrayView bytes)
{
    // fromUtf8 drops a byte-order mark that starts its input; inside the file
    // it is a character of the line.
    QString text;
    for (; startsWithUtf8Mark(bytes); bytes = bytes.sliced(3))
        text += QChar(0xFEFF);
    return text + QString::fromUtf8(bytes);
}

QString valueOf(QByteArrayView line, Decoder decode)
{
    return line == "#" ? QString() : decode(line);
}

// Section headers match in any case. Comparing the raw bytes in ASCII is the
// same as comparing the decoded upper-cased line: no character of the code
// page outside ASCII upper-cases to an ASCII letter.
bool isHeader(QByteArrayView line, QByteArrayView header)
{
    return line.compare(header, Qt::CaseInsensitive) == 0;
}

QStringView writtenValue(const QString& value)
{
    return value.isEmpty() ? QStringView(u"#") : QStringView(value);
}

struct FieldSlot {
    QString ButtonRecord::*field;
    const char* what;
};

// File order of the seven value lines after a button's name.
constexpr FieldSlot FileFields[] = {
    {&ButtonRecord::MouseOutImage, "the MouseOut image"},
    {&ButtonRecord::MouseOverImage, "the MouseOver image"},
    {&ButtonRecord::DescriptionImage, "the Description image"},
    {&ButtonRecord::Url, "the link"},
    {&ButtonRecord::Target, "the target"},
    {&ButtonRecord::Alt, "the alternative text"},
    {&ButtonRecord::ImagePathPrefix, "the image path prefix"},
};

// A file not read at all: why, as what was expected at line 0.
DataFileReadResult unread(QString expected)
{
    DataFileReadResult result;
    result.expected = std::move(expected);
    return result;
}

bool holdsLineBreak(QStringView value)
{
    return value.contains(u'\r') || value.contains(u'\n');
}

DataFileReadResult stopped(DataFileReadResult result, int line, QString expected)
{
    result.ok = false;
    result.errorLine = line;
    result.expected = std::move(expected);
    return result;
}

} // namespace

DataFileReadResult readDataFile(QByteArrayView bytes)
{
    DataFileReadResult result;
    // A button takes at least nine line endings; reserving spares the list
    // from growing by copies.
    result.buttons.reserve(std::min<qsizetype>(MaxButtons, bytes.size() / 9));
    const bool utf8 = startsWithUtf8Mark(bytes);
    const Decoder decode = utf8 ? &decodeUtf8 : &decodeWindows1252;
    LineReader reader(utf8 ? bytes.sliced(3) : bytes);
    QByteArrayView line;

    if (!reader.next(line) || !isHeader(line, "[COMMON]"))
        return stopped(std::move(result), 1, QStringLiteral("\"[COMMON]\""));
    if (!reader.next(line))
        return stopped(std::move(result), 2, QStringLiteral("the default description image"));
    result.DefaultDescriptionImage = valueOf(line, decode);
    result.defaultDescriptionRead = true;

    while (!reader.atEnd()) {
        reader.next(line);
        const int header = reader.lineNumber();
        if (!isHeader(line, "[BUTTON]"))
            return stopped(std::move(result), header, QStringLiteral("\"[Button]\""));
        if (result.buttons.size() >= MaxButtons)
            return stopped(std::move(result), header,
                           QStringLiteral("the end of the file (at most 100 buttons)"));
        const qsizetype number = result.buttons.size() + 1;
        if (!reader.next(line))
            return stopped(std::move(result), header + 1,
                           QStringLiteral("the name of button %1").arg(number));
        ButtonRecord& button = result.buttons.emplace_back();
        button.Name = decode(line);
        for (const FieldSlot& slot : FileFields) {
            if (!reader.next(line))
                return stopped(
                    std::move(result), reader.lineNumber() + 1,
                    QStringLiteral("%1 of button %2").arg(QLatin1String(slot.what)).arg(number));
            button.*slot.field = valueOf(line, decode);
        }
    }
    result.ok = true;
    return result;
}

DataFileReadResult readDataFileFrom(QFile& file, QByteArray* bytes)
{
    const QString tooLarge = QStringLiteral("a data file of at most %1 MiB, not a larger file")
                                 .arg(MaxDataFileBytes >> 20);
    // A regular file says its size: one too large is refused before reading.
    if (!file.isSequential() && file.size() > MaxDataFileBytes)
        return unread(tooLarge);
    QByteArray data;
    if (!readAtMost(file, MaxDataFileBytes, data))
        return unread(file.error() == QFileDevice::NoError
                          ? tooLarge
                          : QStringLiteral("a readable file (%1)").arg(file.errorString()));
    if (bytes)
        *bytes = data;
    return readDataFile(data);
}

DataFileReadResult readDataFile(const OpenedFile& opened, QByteArray* bytes)
{
    if (opened)
        return readDataFileFrom(*opened.file, bytes);
    if (opened.code == EISDIR)
        return unread(QStringLiteral("a data file, not a folder"));
    return unread(QStringLiteral("a readable file (%1)").arg(opened.error));
}

DataFileReadResult readDataFileAt(const QString& path)
{
    return readDataFile(openRegularFile(path));
}

namespace {

// The data file's text; `broken` tells whether a value held a line break,
// which would split it into lines of its own.
QString composedText(const QString& defaultDescriptionImage, const QList<ButtonRecord>& buttons,
                     bool& broken)
{
    QString text;
    const auto line = [&text, &broken](QStringView s) {
        broken = broken || holdsLineBreak(s);
        text.append(s);
        text.append(u"\r\n");
    };
    line(u"[COMMON]");
    line(writtenValue(defaultDescriptionImage));
    for (const ButtonRecord& b : buttons) {
        line(u"[Button]");
        line(b.Name);
        for (const FieldSlot& slot : FileFields)
            line(writtenValue(b.*slot.field));
    }
    return text;
}

} // namespace

QString dataFileText(const QString& defaultDescriptionImage, const QList<ButtonRecord>& buttons)
{
    bool broken = false;
    return composedText(defaultDescriptionImage, buttons, broken);
}

std::optional<QByteArray> writeDataFile(const QString& defaultDescriptionImage,
                                        const QList<ButtonRecord>& buttons)
{
    bool broken = false;
    const QString text = composedText(defaultDescriptionImage, buttons, broken);
    if (broken)
        return std::nullopt;
    return encodeTextFile(text);
}

DataFileReadResult readDataFileText(QStringView text)
{
    return readDataFile(QByteArray("\xEF\xBB\xBF") + text.toUtf8());
}

QString withDataFileExtension(const QString& path)
{
    if (path.right(4).toUpper() == QLatin1String(".RK2"))
        return path;
    return path + QLatin1String(".rk2");
}

bool saveFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // Unbuffered, so that a failing write (a full disk, a file-size limit)
    // is seen here: a failed flush inside commit() goes unreported.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

ButtonSet toButtonSet(const DataFileReadResult& read)
{
    ButtonSet set;
    set.DefaultDescriptionImage = read.DefaultDescriptionImage;
    for (qsizetype i = 0; i < read.buttons.size() && i < MaxButtons; ++i)
        set.Buttons[static_cast<std::size_t>(i)] = read.buttons[i];
    return set;
}
