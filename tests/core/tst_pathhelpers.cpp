#include "pathhelpers.h"

#include <QTemporaryDir>
#include <QtTest>

class TestPathHelpers : public QObject {
    Q_OBJECT
private slots:
    void checkSlash_data();
    void checkSlash();
    void split_data();
    void split();
    void prevPath_data();
    void prevPath();
    void fileExist();
};

void TestPathHelpers::checkSlash_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("plain") << "img"
                           << "img/";
    QTest::newRow("slash kept") << "img/"
                                << "img/";
    QTest::newRow("backslash gets a slash") << "img\\"
                                            << "img\\/";
    QTest::newRow("slash alone") << "/"
                                 << "/";
}

void TestPathHelpers::checkSlash()
{
    QFETCH(QString, prefix);
    QFETCH(QString, expected);
    QCOMPARE(CheckSlash(prefix), expected);
}

void TestPathHelpers::split_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::newRow("windows") << "C:\\site\\pics\\home.gif"
                             << "C:\\site\\pics\\"
                             << "home.gif";
    QTest::newRow("ends in backslash") << "C:\\site\\pics\\"
                                       << "C:\\site\\pics\\"
                                       << "";
    QTest::newRow("backslash alone") << "\\"
                                     << "\\"
                                     << "";
    QTest::newRow("bare name") << "home.gif"
                               << ""
                               << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("slash is no separator") << "img/home.gif"
                                           << ""
                                           << "";
    QTest::newRow("native") << "/home/ann/pics/home.gif"
                            << "/home/ann/pics/"
                            << "home.gif";
    QTest::newRow("native with spaces") << "/home/ann/a b/x.jpg"
                                        << "/home/ann/a b/"
                                        << "x.jpg";
    QTest::newRow("slash and backslash") << "/home/a\\b.gif"
                                         << "/home/a\\"
                                         << "b.gif";
    QTest::newRow("root") << "/"
                          << "/"
                          << "";
}

void TestPathHelpers::split()
{
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QCOMPARE(GetFilenameOrFilePathFromString(path, 0), folder);
    QCOMPARE(GetFilenameOrFilePathFromString(path, 1), name);
    QCOMPARE(GetFilenameOrFilePathFromString(path, 2), QString());
    QCOMPARE(GetFilenameOrFilePathFromString(path, -1), QString());
}

void TestPathHelpers::prevPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QString>("expected");
    QTest::newRow("windows") << "C:\\site\\pics\\home.gif" << false
                             << "file:///C|/site/pics/home.gif";
    QTest::newRow("drive only") << "C:" << false << "file:///C|";
    QTest::newRow("lower-case drive") << "d:\\x.jpg" << false << "file:///d|/x.jpg";
    QTest::newRow("spaces stay") << "D:\\a b\\x.jpg" << false << "file:///D|/a b/x.jpg";
    QTest::newRow("unc") << "\\\\server\\share\\x.gif" << false << "file:///\\|server/share/x.gif";
    QTest::newRow("native") << "/home/ann/a b/x.jpg" << false << "file:///home/ann/a b/x.jpg";
    QTest::newRow("relative") << "img/x.gif" << false << "file:///i|g/x.gif";
    QTest::newRow("one character") << "x" << true << "";
    QTest::newRow("slash alone") << "/" << true << "";
    QTest::newRow("empty") << "" << true << "";
}

void TestPathHelpers::prevPath()
{
    QFETCH(QString, path);
    QFETCH(bool, fails);
    QFETCH(QString, expected);
    const std::optional<QString> result = GetPrevPath(path);
    QCOMPARE(!result.has_value(), fails);
    if (result)
        QCOMPARE(*result, expected);
}

void TestPathHelpers::fileExist()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString full = dir.filePath(QStringLiteral("full.gif"));
    const QString empty = dir.filePath(QStringLiteral("empty.gif"));
    QFile f(full);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write("x", 1) == 1);
    f.close();
    QFile e(empty);
    QVERIFY(e.open(QIODevice::WriteOnly));
    e.close();

    QVERIFY(FileExist(full));
    QVERIFY(!FileExist(empty));
    QVERIFY(!FileExist(dir.filePath(QStringLiteral("missing.gif"))));
    QVERIFY(!FileExist(QString()));
    QVERIFY(!FileExist(dir.path()));
}

QTEST_APPLESS_MAIN(TestPathHelpers)
#include "tst_pathhelpers.moc"
