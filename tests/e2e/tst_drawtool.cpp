// SPDX-License-Identifier: GPL-3.0-or-later
// `rollcraft draw` as a user runs it: the pictures it draws for names in four scripts, and the data file it writes
// back.
#include "drawrules.h"
#include "testfiles.h"

#include <QImage>
#include <QtTest>

namespace {

// How a picture's words stand out from its background (its most frequent opaque colour): the contrast of the strongest
// opaque pixel, and how many stand out at all (above 2:1).
struct Ink {
    double contrast = 1;
    int pixels = 0;
};

Ink inkOf(const QImage& image)
{
    QHash<Rgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            counts[image.pixel(x, y) & 0xFFFFFF] += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
    }
    const auto most = [](auto a, auto b) { return a.second < b.second; };
    const Rgb background = std::max_element(counts.keyValueBegin(), counts.keyValueEnd(), most)->first;
    Ink ink;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (const double c = contrastRatio(it.key(), background); it.value() > 0 && c > 2)
            ink = {std::max(ink.contrast, c), ink.pixels + it.value()};
    }
    return ink;
}

// A whole data file as the program writes it: UTF-8 behind the mark only when Windows-1252 cannot hold a line.
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

    // Each row: the set, the command's options, the size every button gets (none: whatever the widest label needs).
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

        // Only the picture lines differ (the mark kept or not with them): line 2 and each button's lines 3 to 5.
        const QList<QByteArray> was = before.split('\n');
        QList<QByteArray> now = readBytes(file("out.rk2")).split('\n');
        QCOMPARE(now.size(), was.size());
        QStringList pictures; // the default description, then each button's MouseOut, MouseOver and Description
        for (qsizetype i = 1; i < was.size(); ++i) {
            if (i == 1 || ((i - 2) % 9 >= 2 && (i - 2) % 9 <= 4))
                pictures << QString::fromUtf8(std::exchange(now[i], was[i]).chopped(1)); // without the CR
        }
        QCOMPARE(now, was);

        QSize sizes[2]; // the descriptions', the buttons'
        for (qsizetype k = 0; k < pictures.size(); ++k) {
            const QImage one(pictures[k]), two(QString(pictures[k]).replace(".png", "@2x.png"));
            QVERIFY2(pictures[k].startsWith(QDir(dir).absolutePath() + '/') && !one.isNull(), qPrintable(pictures[k]));
            QCOMPARE(two.size(), one.size() * 2);
            QVERIFY(one.height() >= MinPictureHeight);
            QSize& same = sizes[k % 3 == 0 ? 0 : 1];
            QCOMPARE(one.size(), same = same.isEmpty() ? one.size() : same);
            // Every picture but the default description reads at 4.5:1 at least; MouseOver is told from MouseOut by
            // more ink (bold, a line or a border).
            QVERIFY2(k == 0 || (inkOf(one).contrast >= MinContrast && inkOf(two).contrast >= MinContrast),
                     qPrintable(pictures[k]));
            QVERIFY2(k % 3 != 2 || inkOf(one).pixels > inkOf(QImage(pictures[k - 1])).pixels * 1.1,
                     qPrintable(pictures[k]));
        }
        if (fixed.isValid())
            QCOMPARE(sizes[1], fixed);
        QVERIFY(sizes[0].width() >= sizes[1].width());
    }

    // Each row: a shell line run in the test's folder (t.rk2 a copy of scripts.rk2), its status and words; on refusal
    // nothing is drawn.
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
        // What works: the styles, a display not needed, Qt's own option names the command's, FILE replaced with the
        // earlier one kept.
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
