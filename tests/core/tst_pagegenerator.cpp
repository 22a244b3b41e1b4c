// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafile.h"
#include "pagegenerator.h"
#include "testfiles.h"

#include <QtTest>

Q_DECLARE_METATYPE(ButtonSet)
Q_DECLARE_METATYPE(PageMode)

namespace {

ButtonRecord button(const QString& name, const QString& prefix, const QString& out)
{
    return {name, name.toLower() + ".htm", {}, name, prefix, out, {}, {}};
}

QStringList linesOf(const QString& page)
{
    return page.chopped(2).split("\r\n"); // the page ends in CR LF
}

} // namespace

class TestPageGenerator : public QObject {
    Q_OBJECT
private slots:
    // A hand-checked set covering prefixes img\, img/ and none, native and
    // Windows paths, names without a folder, targets and quotes.
    void goldenPages()
    {
        const DataFileReadResult read = readDataFile(readBytes(QFINDTESTDATA("golden/mixed.rk2")));
        QVERIFY(read.ok);
        for (const auto& [mode, golden] : {std::pair{PageMode::Page, "golden/mixed-page.html"},
                                           {PageMode::Preview, "golden/mixed-preview.html"}}) {
            const QStringList actual = linesOf(buildPage(toButtonSet(read), mode));
            const QStringList expected =
                linesOf(QString::fromUtf8(readBytes(QFINDTESTDATA(golden))));
            for (qsizetype i = 0; i < qMax(actual.size(), expected.size()); ++i)
                QCOMPARE(actual.value(i), expected.value(i));
        }
    }

    void lineCount_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("emptyNameAt");
        QTest::addColumn<int>("expectedButtons");
        QTest::newRow("none") << 0 << -1 << 0;
        QTest::newRow("one") << 1 << -1 << 1;
        QTest::newRow("full") << 100 << -1 << 100;
        QTest::newRow("empty name in the middle") << 5 << 2 << 2;
        QTest::newRow("empty first name") << 3 << 0 << 0;
    }

    void lineCount()
    {
        QFETCH(int, buttons);
        QFETCH(int, emptyNameAt);
        QFETCH(int, expectedButtons);
        ButtonSet set;
        for (int i = 0; i < buttons; ++i)
            set.Buttons[i] =
                button(QStringLiteral("B%1").arg(i), "img", QStringLiteral("C:\\o%1.gif").arg(i));
        if (emptyNameAt >= 0)
            set.Buttons[emptyNameAt].Name.clear();
        for (PageMode mode : {PageMode::Page, PageMode::Preview}) {
            const QString page = buildPage(set, mode);
            QVERIFY(page.endsWith("</html>\r\n"));
            QCOMPARE(page.count("\r\n"), 68 + 4 * expectedButtons);
            QCOMPARE(page.count('\n'), page.count("\r\n"));
            QCOMPARE(page.count("lighten('name"), expectedButtons);
        }
        if (buttons == 100) { // two-digit numbers in the names
            QCOMPARE(linesOf(buildPage(set, PageMode::Page))[67],
                     "name10a = new Image;name10a.src = 'img/o10.gif';");
            QCOMPARE(linesOf(buildPage(set, PageMode::Page))[334],
                     "name99a = new Image;name99a.src = 'img/o99.gif';");
        }
    }

    // Lines the mixed pages do not show: where the default image goes, what an
    // empty or one-character image gives.
    void lines_data()
    {
        QTest::addColumn<ButtonSet>("set");
        QTest::addColumn<PageMode>("mode");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("expected");
        ButtonSet empty;
        empty.DefaultDescriptionImage = "C:\\d\\def.gif";
        QTest::newRow("n=0: default right after line 37")
            << empty << PageMode::Page << 38
            << "defaultimage = new Image;defaultimage.src = 'def.gif';";
        QTest::newRow("n=0: description area")
            << empty << PageMode::Page << 66 << "<img src=\"def.gif\" name=\"defimage\"></p>";
        ButtonSet set;
        set.Buttons[0] = button("A", "top", "C:\\a.gif");
        set.Buttons[0].MouseOverImage = "x";
        set.Buttons[1] = button("B", "other", {});
        set.DefaultDescriptionImage = "y";
        QTest::newRow("preview: empty MouseOut leaves the row empty")
            << set << PageMode::Preview << 73 << "";
        QTest::newRow("preview: one-character image") << set << PageMode::Preview << 39 << "";
        QTest::newRow("preview: one-character default") << set << PageMode::Preview << 44 << "";
        QTest::newRow("page: one-character default under button 0's prefix")
            << set << PageMode::Page << 44 << "defaultimage = new Image;defaultimage.src = 'top/';";
    }

    void lines()
    {
        QFETCH(ButtonSet, set);
        QFETCH(PageMode, mode);
        QFETCH(int, line);
        QTEST(linesOf(buildPage(set, mode)).value(line - 1, "<none>"), "expected");
    }
};

QTEST_APPLESS_MAIN(TestPageGenerator)
#include "tst_pagegenerator.moc"
