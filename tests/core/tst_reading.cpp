// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafile.h"
#include "singleline.h"

#include <QtTest>

// What reaches a data file is one line a value, and what is read of one is bounded.
class TestReading : public QObject {
    Q_OBJECT
private slots:
    void singleLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        const auto row = [](const char* rule, const char* text, const char* line) {
            QTest::newRow(rule) << text << line;
        };
        row("a trailing LF is dropped", "news.html\n", "news.html");
        row("trailing breaks of any kind are dropped", "x\r\n\r\n\r", "x");
        row("LF inside is a blank", "two\nlines", "two lines");
        row("CR LF inside is one blank", "two\r\nlines", "two lines");
        row("a lone CR inside is a blank", "a\rb", "a b");
        row("each break is a blank", "a\n\nb", "a  b");
        row("a leading break is a blank", "\nx", " x");
    }
    void singleLines()
    {
        QFETCH(QString, text);
        QTEST(singleLine(text), "line");
    }

    // A break in any value would split its line: nothing is written.
    void writerRefusesLineBreaks_data()
    {
        QTest::addColumn<QString>("defaultImage");
        QTest::addColumn<QStringList>("values"); // as ButtonRecord lists them
        QTest::addColumn<bool>("written");
        QTest::newRow("one line each is written") << "a.gif" << QStringList{"A", "a.htm"} << true;
        QTest::newRow("LF in the default image") << "a\n.gif" << QStringList{"A"} << false;
        QTest::newRow("CR in a name") << "#" << QStringList{"A\rB"} << false;
        QTest::newRow("CR LF in the prefix")
            << "#" << QStringList{"A", "", "", "", "im\r\ng"} << false;
    }
    void writerRefusesLineBreaks()
    {
        QFETCH(QString, defaultImage);
        QFETCH(QStringList, values);
        values.resize(8);
        const ButtonRecord b{values[0], values[1], values[2], values[3],
                             values[4], values[5], values[6], values[7]};
        QTEST(writeDataFile(defaultImage, {b}).has_value(), "written");
    }

    // A file of up to 32 MiB is read; one byte more is refused before reading.
    void readingIsBounded()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("big.rk2");
        QStringList expected;
        for (const qint64 size : {MaxDataFileBytes, MaxDataFileBytes + 1}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
            file.close();
            expected << readDataFileAt(path).expected;
        }
        QCOMPARE(expected,
                 QStringList({"\"[COMMON]\"", "a data file of at most 32 MiB, not a larger file"}));
    }
};

QTEST_MAIN(TestReading)
#include "tst_reading.moc"
