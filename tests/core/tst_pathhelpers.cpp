// SPDX-License-Identifier: GPL-3.0-or-later
#include "pathhelpers.h"

#include <QtTest>

// A Windows path splits at its last backslash, a native one at its last
// slash; anything else has no folder and no name. A preview's address for a
// path turns its second character into "|" and its backslashes into slashes.
class TestPathHelpers : public QObject {
    Q_OBJECT
private slots:
    void paths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        const char* rows[][4] = {
            {"C:\\site\\pics\\home.gif", "C:\\site\\pics\\", "home.gif",
             "file:///C|/site/pics/home.gif"},
            {"C:\\site\\pics\\", "C:\\site\\pics\\", "", "file:///C|/site/pics/"},
            {"d:\\a b\\x.jpg", "d:\\a b\\", "x.jpg", "file:///d|/a b/x.jpg"},
            {"C:", "", "", "file:///C|"},
            {"\\\\server\\share\\x.gif", "\\\\server\\share\\", "x.gif",
             "file:///\\|server/share/x.gif"},
            {"\\", "\\", "", "<fails>"},
            {"/home/ann/a b/x.jpg", "/home/ann/a b/", "x.jpg", "file:///home/ann/a b/x.jpg"},
            {"/home/a\\b.gif", "/home/a\\", "b.gif", "file:////|ome/a/b.gif"},
            {"/", "/", "", "<fails>"},
            {"img/home.gif", "", "", "file:///i|g/home.gif"},
            {"home.gif", "", "", "file:///h|me.gif"},
            {"x", "", "", "<fails>"},
            {"", "", "", "<fails>"},
        };
        for (const auto& row : rows)
            QTest::addRow("'%s'", row[0])
                << QString(row[0]) << QString(row[1]) << QString(row[2]) << QString(row[3]);
    }

    void paths()
    {
        QFETCH(QString, path);
        QTEST(GetFilenameOrFilePathFromString(path, 0), "folder");
        QTEST(GetFilenameOrFilePathFromString(path, 1), "name");
        QCOMPARE(GetFilenameOrFilePathFromString(path, 2), QString());
        QTEST(GetPrevPath(path).value_or("<fails>"), "address");
    }
};

QTEST_APPLESS_MAIN(TestPathHelpers)
#include "tst_pathhelpers.moc"
