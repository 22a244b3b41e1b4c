// SPDX-License-Identifier: GPL-3.0-or-later
#include "pathhelpers.h"

#include <QtTest>

class TestPathHelpers : public QObject {
    Q_OBJECT
private slots:
    void split_data();
    void split();
    void prevPath_data();
    void prevPath();
};

// A Windows path splits at its last backslash, a native one at its last
// slash; anything else has no folder and no name.
void TestPathHelpers::split_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    const char* rows[][3] = {
        {"C:\\site\\pics\\home.gif", "C:\\site\\pics\\", "home.gif"},
        {"C:\\site\\pics\\", "C:\\site\\pics\\", ""},
        {"\\", "\\", ""},
        {"home.gif", "", ""},
        {"", "", ""},
        {"img/home.gif", "", ""},
        {"/home/ann/a b/x.jpg", "/home/ann/a b/", "x.jpg"},
        {"/home/a\\b.gif", "/home/a\\", "b.gif"},
        {"/", "/", ""},
    };
    for (const auto& row : rows)
        QTest::addRow("'%s'", row[0]) << QString(row[0]) << QString(row[1]) << QString(row[2]);
}

void TestPathHelpers::split()
{
    QFETCH(QString, path);
    QTEST(GetFilenameOrFilePathFromString(path, 0), "folder");
    QTEST(GetFilenameOrFilePathFromString(path, 1), "name");
    QCOMPARE(GetFilenameOrFilePathFromString(path, 2), QString());
    QCOMPARE(GetFilenameOrFilePathFromString(path, -1), QString());
}

// The address a preview gives a local image: a drive letter becomes "X|".
void TestPathHelpers::prevPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    const char* rows[][2] = {
        {"C:\\site\\pics\\home.gif", "file:///C|/site/pics/home.gif"},
        {"C:", "file:///C|"},
        {"d:\\x.jpg", "file:///d|/x.jpg"},
        {"D:\\a b\\x.jpg", "file:///D|/a b/x.jpg"},
        {"\\\\server\\share\\x.gif", "file:///\\|server/share/x.gif"},
        {"/home/ann/a b/x.jpg", "file:///home/ann/a b/x.jpg"},
        {"/home/a\\b.gif", "file:////|ome/a/b.gif"},
        {"img/x.gif", "file:///i|g/x.gif"},
        {"x", "<fails>"},
        {"/", "<fails>"},
        {"", "<fails>"},
    };
    for (const auto& row : rows)
        QTest::addRow("'%s'", row[0]) << QString(row[0]) << QString(row[1]);
}

void TestPathHelpers::prevPath()
{
    QFETCH(QString, path);
    QTEST(GetPrevPath(path).value_or("<fails>"), "expected");
}

QTEST_APPLESS_MAIN(TestPathHelpers)
#include "tst_pathhelpers.moc"
