// SPDX-License-Identifier: GPL-3.0-or-later
// `rollcraft draw` as a user runs it: the pictures it draws for names in four
// scripts, and the data file it writes back.
#include "drawrules.h"
#include "testfiles.h"

#include <QImage>
#include <QtTest>

namespace {

// The most frequent opaque colour of a picture: its background.
QRgb backgroundOf(const QImage& image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            counts[image.pixel(x, y)] += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
    }
    return std::max_element(counts.keyValueBegin(), counts.keyValueEnd(),
                            [](auto a, auto b) { return a.second < b.second; })
        ->first;
}

struct Ink {
    double contrast = 1; // of the strongest pixel against the background
    int pixels = 0;      // standing out from the background at all
};

Ink inkOf(const QImage& image)
{
    const Rgb background = backgroundOf(image) & 0xFFFFFF;
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const double c = contrastRatio(pixel & 0xFFFFFF, background);
            if (qAlpha(pixel) == 255 && c > 2) {
                ink.contrast = std::max(ink.contrast, c);
                ++ink.pixels;
            }
        }
    }
    return ink;
}

QList<QByteArray> linesOf(const QByteArray& bytes)
{
    return bytes.split('\n');
}

// A whole data file as the program writes it: UTF-8 behind the mark only when
// Windows-1252 cannot hold a line.
void writeSet(const QString& path, const QStringList& lines)
{
    writeBytes(path, encodeTextFile(lines.join("\r\n") + "\r\n"));
}

} // namespace

class TestDrawTool : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Latin with accents, Cyrillic, CJK and Arabic, in UTF-8 behind the mark.
        writeSet(file("scripts.rk2"),
                 QStringList{"[COMMON]", "C:\\old\\default.gif"} +
                     block("Café Über", {"C:\\old\\a.gif", "#", "#", "index.htm", "_top", "Café and more", "img"}) +
                     block("Главная", {"#", "#", "#", "ru/index.htm", "#", "О компании", "img"}) +
                     block("首页", {"#", "#", "#", "zh/", "#", "关于我们", "#"}) +
                     block("الرئيسية", {"#", "#", "#", "ar/", "main", "من نحن", "img/ar"}));
        // Windows-1252 stays Windows-1252: the pictures' names need nothing else.
        writeSet(file("latin.rk2"),
                 QStringList{"[COMMON]", "#"} +
                     block("Über uns", {"#", "#", "#", "über.htm", "#", "Wir über uns – 100 €", "img"}) +
                     block("Home", {"#", "#", "#", "#", "#", "Home", "#"}));
        writeSet(file("cuneiform.rk2"),
                 QStringList{"[COMMON]", "#"} + block("Home") + block("𒀀 Sumer", {"#", "#", "#", "#", "#", "𒀁 x 𒀀"}));
    }

    // Each row: the set, the command's options, the size every button gets
    // (none: whatever the widest label needs).
    void draws_data()
    {
        QTest::addColumn<QString>("set");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QSize>("fixed");
        QTest::newRow("bar") << "scripts" << QStringList{"--style", "bar"} << QSize();
        QTest::newRow("pill") << "scripts" << QStringList{"--style", "pill"} << QSize();
        QTest::newRow("tab") << "scripts" << QStringList{"--style", "tab"} << QSize();
        QTest::newRow("colours and font of one's own")
            << "scripts" << QStringList{"--colors", "#fff,#ffd,#000", "--font", "Liberation Serif"} << QSize();
        QTest::newRow("--size") << "scripts" << QStringList{"--style", "pill", "--size", "300x48"} << QSize(300, 48);
        QTest::newRow("Windows-1252") << "latin" << QStringList{"--style", "tab"} << QSize();
    }

    void draws()
    {
        QFETCH(QString, set);
        QFETCH(QStringList, options);
        QFETCH(QSize, fixed);
        const QString dir = file("pictures-" + QString(QTest::currentDataTag()).replace(' ', '-'));
        const QByteArray before = readBytes(file(set + ".rk2"));
        const Run run = runProgram(built("rollcraft"),
                                   QStringList{"draw", file(set + ".rk2"), dir, "-o", file("out.rk2")} + options);
        QVERIFY2(run.status == 0, run.err);
        QCOMPARE(readBytes(file(set + ".rk2")), before);

        // Only the picture lines differ: line 2 and each button's lines 3 to 5.
        const QList<QByteArray> was = linesOf(before);
        const QList<QByteArray> now = linesOf(readBytes(file("out.rk2")));
        QCOMPARE(now.size(), was.size());
        QCOMPARE(now.first().startsWith("\xEF\xBB\xBF"), was.first().startsWith("\xEF\xBB\xBF"));
        QStringList pictures;
        for (qsizetype i = 0; i < was.size(); ++i) {
            const bool picture = i == 1 || (i >= 2 && (i - 2) % 9 >= 2 && (i - 2) % 9 <= 4);
            if (!picture) {
                QCOMPARE(now[i], was[i]);
                continue;
            }
            QVERIFY2(now[i].startsWith(QDir(dir).absolutePath().toUtf8() + '/'), now[i]);
            pictures << QString::fromUtf8(now[i].chopped(1)); // without the CR
        }
        QCOMPARE(pictures.size(), 1 + 3 * (was.size() - 3) / 9);

        // The default first, then MouseOut, MouseOver and Description of each button.
        QSize button;
        QSize description;
        for (qsizetype k = 0; k < pictures.size(); ++k) {
            const QImage one(pictures[k]);
            QString twice = pictures[k];
            const QImage two(twice.replace(".png", "@2x.png"));
            QVERIFY2(!one.isNull() && !two.isNull(), qPrintable(pictures[k]));
            QCOMPARE(two.size(), one.size() * 2);
            QVERIFY(one.height() >= MinPictureHeight);
            QSize& same = k % 3 == 0 ? description : button;
            if (same.isEmpty())
                same = one.size();
            QCOMPARE(one.size(), same);
            for (const QImage& image : {one, two}) {
                const Ink ink = inkOf(image);
                // The default description holds no words; every other picture
                // reads at 4.5:1 at least.
                if (k > 0)
                    QVERIFY2(ink.contrast >= MinContrast, qPrintable(pictures[k]));
            }
            if (k % 3 == 2) {
                // MouseOver is told from MouseOut by more ink (bold, a line or a border).
                const QImage out(pictures[k - 1]);
                QVERIFY(out != one);
                QVERIFY2(inkOf(one).pixels > inkOf(out).pixels * 1.1, qPrintable(pictures[k]));
            }
        }
        if (fixed.isValid())
            QCOMPARE(button, fixed);
        QVERIFY(description.width() >= button.width());
    }

    // Each row: a shell line run in the test's folder (t.rk2 a copy of
    // scripts.rk2), its status and words; on refusal nothing is drawn.
    void refusals_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        const auto row = [](const char* what, const char* command, int status, const QString& says) {
            QTest::newRow(what) << QString(command) << status << says;
        };
        row("a label wider than --size", "rollcraft draw t.rk2 d --size 90x40", 2,
            "button 1 \"Café Über\" does not fit in 90x40: its label needs");
        row("every label that does not fit", "rollcraft draw t.rk2 d --size 80x40", 2,
            "button 2 \"Главная\" does not fit");
        row("--size below 24 px", "rollcraft draw t.rk2 d --size 400x23", 2,
            "--size 400x23: pictures must be at least 24 px high");
        row("colours under 4.5:1", "rollcraft draw t.rk2 d --colors '#fff,#000,#777'", 2,
            "refused: the text #777777 on the MouseOut background #ffffff has a contrast of "
            "4.47:1; at least 4.5:1 is needed");
        row("a script no font draws", "rollcraft draw cuneiform.rk2 d", 2,
            "button 2 \"𒀀 Sumer\": no installed font draws \"𒀀\" (U+12000) of its name\nrollcraft "
            "draw: button 2 \"𒀀 Sumer\": no installed font draws \"𒀁\" (U+12001), \"𒀀\" (U+12000) "
            "of its Alt text\n");
        row("unknown font", "rollcraft draw t.rk2 d --font 'No Such Font'", 2,
            "no font family \"No Such Font\" is installed");
        row("unknown style", "rollcraft draw t.rk2 d --style neon", 64,
            "no style \"neon\"; 'rollcraft draw --list-styles' lists them");
        row("unreadable colours", "rollcraft draw t.rk2 d --colors red,blue", 64, "--colors takes three colours");
        row("unreadable size", "rollcraft draw t.rk2 d --size 100", 64, "--size takes WxH");
        row("standard input needs -o", "rollcraft draw - d < t.rk2", 64, "needs -o OUT.rk2");
        row("one argument", "rollcraft draw t.rk2", 64, "expected FILE and DIR, or --list-styles alone");
        row("an unreadable data file", "rollcraft draw nowhere.rk2 d", 2, "ERROR! Unable to open file.");
        row("DIR a file", "rollcraft draw t.rk2 t.rk2", 2, "t.rk2 is not a folder and cannot be made one");
        // What works: the styles, a display not needed, Qt's own option names
        // the command's, FILE replaced with the earlier one kept.
        row("the styles", "rollcraft draw --list-styles", 0, "pill  a rounded pill");
        row("no display", "env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY rollcraft draw t.rk2 d -o o.rk2", 0,
            "4 button(s) drawn in d (");
        row("--style is not Qt's", "rollcraft draw --style tab t.rk2 d -o o.rk2", 0, "style tab");
        row("FILE replaced, kept as FILE~", "rollcraft draw t.rk2 d && cmp scripts.rk2 t.rk2~ && grep -c /d/ t.rk2 >&2",
            0, "t.rk2 written\n13\n");
        row("from standard input", "rollcraft draw - d -o o.rk2 < t.rk2 && grep -c /d/ o.rk2 >&2", 0, "\n13\n");
    }

    void refusals()
    {
        QFETCH(QString, command);
        QFETCH(int, status);
        QFETCH(QString, says);
        const QString line = "cd '" + m_dir.path() + "' && rm -rf d t.rk2~ && cp scripts.rk2 t.rk2 && PATH='" +
                             built("") + "':$PATH; " + command;
        const Run run = runProgram("sh", {"-c", line});
        QVERIFY2(QString::fromUtf8(run.out + run.err).contains(says), run.out + run.err);
        QTEST(run.status, "status");
        if (status != 0) {
            QVERIFY(!QFileInfo::exists(file("d")));
            QCOMPARE(readBytes(file("t.rk2")), readBytes(file("scripts.rk2")));
        }
    }

private:
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestDrawTool)
#include "tst_drawtool.moc"
