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
        QTest::newRow("a trailing LF is dropped") << "news.html\n"
                                                  << "news.html";
        QTest::newRow("trailing breaks of any kind are dropped") << "x\r\n\r\n\r"
                                                                 << "x";
        QTest::newRow("LF inside is a blank") << "two\nlines"
                                              << "two lines";
        QTest::newRow("CR LF inside is one blank") << "two\r\nlines"
                                                   << "two lines";
        QTest::newRow("a lone CR inside is a blank") << "a\rb"
                                                     << "a b";
        QTest::newRow("each break is a blank") << "a\n\nb"
                                               << "a  b";
        QTest::newRow("a leading break is a blank") << "\nx"
                                                    << " x";
        QTest::newRow("only breaks give nothing") << "\r\n"
                                                  << "";
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
        QTest::addColumn<QStringList>("values"); // name, then the seven in file order
        QTest::addColumn<bool>("written");
        QTest::newRow("one line each is written") << "a.gif" << QStringList{"A", "o.gif"} << true;
        QTest::newRow("LF in the default image") << "a\n.gif" << QStringList{"A"} << false;
        QTest::newRow("CR in a name") << "#" << QStringList{"A\rB"} << false;
        QTest::newRow("trailing LF in a link")
            << "#" << QStringList{"A", "", "", "", "n.htm\n"} << false;
        QTest::newRow("CR LF in the prefix")
            << "#" << QStringList{"A", "", "", "", "", "", "", "im\r\ng"} << false;
    }
    void writerRefusesLineBreaks()
    {
        QFETCH(QString, defaultImage);
        QFETCH(QStringList, values);
        values.resize(8);
        QString ButtonRecord::*const fields[] = {&ButtonRecord::Name,
                                                 &ButtonRecord::MouseOutImage,
                                                 &ButtonRecord::MouseOverImage,
                                                 &ButtonRecord::DescriptionImage,
                                                 &ButtonRecord::Url,
                                                 &ButtonRecord::Target,
                                                 &ButtonRecord::Alt,
                                                 &ButtonRecord::ImagePathPrefix};
        ButtonRecord b;
        for (int i = 0; i < 8; ++i)
            b.*fields[i] = values[i];
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
