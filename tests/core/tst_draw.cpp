// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of drawn button pictures: contrast, colours, one size for every
// button, and the pictures' file names.
#include "drawrules.h"

#include <QtTest>

Q_DECLARE_METATYPE(DrawStyle)

class TestDraw : public QObject {
    Q_OBJECT
private slots:
    // Each row: two colours and their contrast ratio.
    void contrast_data()
    {
        QTest::addColumn<Rgb>("a");
        QTest::addColumn<Rgb>("b");
        QTest::addColumn<double>("ratio");
        QTest::newRow("black on white is 21:1") << Rgb(0x000000) << Rgb(0xFFFFFF) << 21.0;
        QTest::newRow("#777 on white misses 4.5") << Rgb(0x777777) << Rgb(0xFFFFFF) << 4.478;
        // Each channel has its own weight: red, green and blue on black.
        QTest::newRow("red weighs 0.2126") << Rgb(0xFF0000) << Rgb(0x000000) << 5.252;
        QTest::newRow("green weighs 0.7152") << Rgb(0x00FF00) << Rgb(0x000000) << 15.304;
        QTest::newRow("blue weighs 0.0722") << Rgb(0x0000FF) << Rgb(0x000000) << 2.444;
        // sRGB is linear below 0.04045 (10/255 = 0.0392): 1.0607, not 1.0604 by the curve.
        QTest::newRow("dark channels are linear") << Rgb(0x0A0A0A) << Rgb(0x000000) << 1.0607;
    }

    void contrast()
    {
        QFETCH(Rgb, a);
        QFETCH(Rgb, b);
        QFETCH(double, ratio);
        QVERIFY2(std::abs(contrastRatio(a, b) - ratio) < 0.0002,
                 qPrintable(QString::number(contrastRatio(a, b), 'f', 5)));
    }

    // Each row: --colors as typed, the refusal said (empty: accepted), or "bad" when unreadable.
    void colors_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal");
        const auto row = [](const char* rule, const char* typed, const char* refusal) {
            QTest::newRow(rule) << QString(typed) << QString(refusal);
        };
        row("readable in both states", "#ffffff,#e0e0e0,#222", "");
        row("without # and in capitals", "FFFFFF , E0E0E0 , 222222", "");
        row("the lower state is named, rounded down", "#000,#777,#fff",
            "the text #ffffff on the MouseOver background #777777 has a contrast of 4.47:1; at "
            "least 4.5:1 is needed");
        row("MouseOut below", "#333,#000,#555",
            "the text #555555 on the MouseOut background #333333 has a contrast of 1.69:1");
        // 4.4999:1 would round to 4.50 and read as enough.
        row("just below never reads 4.50", "#fff,#fff,#797951", "contrast of 4.49:1");
        row("two colours", "#fff,#000", "bad");
        row("four colours", "#fff,#000,#000,#000", "bad");
        row("five digits", "#fffff,#000,#000", "bad");
        row("not hex", "#ggg,#000,#000", "bad");
        row("a sign", "+fffff,#000,#fff", "bad");
    }

    void colors()
    {
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        const std::optional<DrawColors> colors = parseColors(typed);
        QCOMPARE(colors.has_value(), refusal != "bad");
        if (!colors)
            return;
        const QString said = contrastRefusal(*colors);
        QVERIFY2(refusal.isEmpty() ? said.isEmpty() : said.contains(refusal), qPrintable(said));
    }

    // Every built-in style is readable as it comes.
    void styles_data()
    {
        QTest::addColumn<DrawStyle>("style");
        for (const DrawStyle& style : builtInStyles())
            QTest::newRow(qPrintable(style.name)) << style;
    }

    void styles()
    {
        QFETCH(DrawStyle, style);
        QCOMPARE(contrastRefusal(style.colors), QString());
        QVERIFY(style.minHeight >= MinPictureHeight);
        QCOMPARE(findStyle(style.name)->description, style.description);
    }

    // Each row: the labels' measured sizes, the style's least height, --size
    // (none when invalid), the size every button gets and the labels refused.
    void layout_data()
    {
        QTest::addColumn<QList<QSizeF>>("labels");
        QTest::addColumn<int>("minHeight");
        QTest::addColumn<QSize>("fixed");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<int>>("refused");
        const QList<QSizeF> three{{50, 18}, {120.2, 18}, {80, 18}};
        // The style leaves 10 px left and right and 5 above and below.
        const auto row = [](const char* rule, const QList<QSizeF>& labels, int minHeight, QSize fixed, QSize size,
                            const QList<int>& refused) {
            QTest::newRow(rule) << labels << minHeight << fixed << size << refused;
        };
        row("the widest label decides, rounded up", three, 30, {}, {141, 30}, {});
        row("the tallest label decides past the style's height", {{40, 18}, {40, 31.5}}, 30, {}, {60, 42}, {});
        row("never below 24 px", {{40, 8}}, 10, {}, {60, 24}, {});
        row("no labels", {}, 30, {}, {20, 30}, {});
        row("--size is kept", three, 30, {200, 28}, {200, 28}, {});
        row("a label filling the room fits", {{120, 18}}, 30, {140, 28}, {140, 28}, {});
        row("wider than the room is refused", three, 30, {140, 28}, {140, 28}, {1});
        row("every label that does not fit", three, 30, {90, 40}, {90, 40}, {1, 2});
        row("taller than the room is refused", three, 30, {200, 27}, {200, 27}, {0, 1, 2});
        // -1: the height itself, below 24 px whatever fits in it.
        row("--size below 24 px is refused", {}, 30, {100, 23}, {100, 23}, {-1});
        row("--size of 24 px is enough", {}, 30, {100, 24}, {100, 24}, {});
    }

    void layout()
    {
        QFETCH(QList<QSizeF>, labels);
        QFETCH(int, minHeight);
        QFETCH(QSize, fixed);
        DrawStyle style;
        style.paddingX = 10;
        style.paddingY = 5;
        style.minHeight = minHeight;
        const PictureLayout layout =
            layoutPictures(labels, style, fixed.isValid() ? std::optional<QSize>(fixed) : std::nullopt);
        QTEST(layout.size, "size");
        QTEST(layout.refused + (layout.tooLow ? QList<int>{-1} : QList<int>()), "refused");
    }

    // Each row: "|"-separated names, and their stems.
    void stems_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("stems");
        const auto row = [](const char* rule, const QStringList& names, const QStringList& stems) {
            QTest::newRow(rule) << names << stems;
        };
        row("position and name", {"Home", "About us"}, {"01-Home", "02-About-us"});
        row("accents dropped, letters kept", {"Café Über", "Ｗｉｄｅ"}, {"01-Cafe-Uber", "02-Wide"});
        row("no folder, no .., no hidden file", {"../etc/passwd", ".profile", "a..b", "C:\\x"},
            {"01-etc-passwd", "02-profile", "03-a-b", "04-C-x"});
        row("no control character", {"a\tb\nc\x7f"}, {"01-a-b-c"});
        row("web and shell characters", {"50% off? #1 'x' \"y\" <z>&"}, {"01-50-off-1-x-y-z"});
        row("other scripts leave the position", {"Главная", "首页", "", "-"}, {"01", "02", "03", "04"});
        row("the same name twice stays two files", {"Home", "Home", "HOME"}, {"01-Home", "02-Home", "03-HOME"});
        row("cut at 40 characters", {QString(39, 'a') + " bc"}, {"01-" + QString(39, 'a')});
        QStringList hundred(100, "x");
        QStringList numbered;
        for (int i = 1; i <= 100; ++i)
            numbered << QString::asprintf("%03d-x", i);
        row("100 buttons sort by three digits", hundred, numbered);
    }

    void stems()
    {
        QFETCH(QStringList, names);
        QTEST(pictureStems(names), "stems");
    }

    // Each row: --size as typed, and what it reads as (invalid: refused).
    void sizes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QSize>("size");
        QTest::newRow("width x height") << "160x32" << QSize(160, 32);
        QTest::newRow("zero") << "0x32" << QSize();
        QTest::newRow("negative") << "-5x32" << QSize();
        QTest::newRow("one number") << "160" << QSize();
        QTest::newRow("blanks") << "160 x 32" << QSize();
        QTest::newRow("beyond 99999") << "100000x32" << QSize();
    }

    void sizes()
    {
        QFETCH(QString, typed);
        QTEST(parseSize(typed).value_or(QSize()), "size");
    }
};

QTEST_APPLESS_MAIN(TestDraw)
#include "tst_draw.moc"
