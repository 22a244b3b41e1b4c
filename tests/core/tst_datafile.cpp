// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafile.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray Mark = "\xEF\xBB\xBF";

const QByteArray OneButton =
    rk2(QStringList{"[COMMON]", "C:\\p\\def.gif"} +
        block("Home", {"C:\\p\\out.gif", "#", "C:\\p\\d.gif", "index.htm", "#", "Home", "img"}));

} // namespace

class TestDataFile : public QObject {
    Q_OBJECT
private slots:
    // Each row: the bytes; what was read: "ok" or the line where reading
    // stopped, the default image if it was read, each button as "Name=MouseOut"
    // (the first two, and how many more); and the bytes saving it gives.
    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("read");
        QTest::addColumn<QByteArray>("savedAgain"); // when read whole; empty: the same bytes
        const auto row = [](const char* name, const QByteArray& bytes, const QString& read,
                            const QByteArray& savedAgain = {}) {
            QTest::newRow(name) << bytes << read << savedAgain;
        };
        // clang-format off
        const QByteArray one = OneButton;
        const QString home = " default=C:\\p\\def.gif Home=C:\\p\\out.gif";
        row("as written", one, "ok" + home);
        row("[BUTTON]", QByteArray(one).replace("[Button]", "[BUTTON]"), "ok" + home, one);
        row("[button], [common]", QByteArray(one).replace("[Button]", "[button]").replace("[COMMON]", "[common]"), "ok" + home, one);
        row("LF line ends", QByteArray(one).replace("\r\n", "\n"), "ok" + home, one);
        row("CR line ends", QByteArray(one).replace("\r\n", "\r"), "ok" + home, one);
        row("no ending on the last line", one.chopped(2), "ok" + home, one);
        row("common and #", rk2({"[COMMON]", "#"}), "ok default=");
        row("a value starting with #", rk2({"[COMMON]", "#top.gif"}), "ok default=#top.gif");
        row("empty file", {}, "line 1");
        row("blank before [COMMON]", rk2({" [COMMON]", "#"}), "line 1");
        row("blank after [COMMON]", rk2({"[COMMON] ", "#"}), "line 1");
        row("ends after line 1", rk2({"[COMMON]"}), "line 2");
        row("empty line after the last button", one + rk2({""}), "line 12" + home);
        row("bad header", one + rk2({"[Buton]"}), "line 12" + home);
        row("ends after a header", one + rk2({"[Button]"}), "line 13" + home);
        row("ends after a name", one + rk2({"[Button]", "News"}), "line 14" + home + " News=");
        row("ends inside a block", one + rk2({"[Button]", "News", "C:\\n.gif", "#"}), "line 16" + home + " News=C:\\n.gif");
        row("empty name is a button", one + rk2({"[Button]", ""}), "line 14" + home + " =");
        row("an empty name stays an empty line", one + rk2(block("", {"C:\\e.gif"})), "ok" + home + " =C:\\e.gif");
        row("dashes", "[COMMON]\r\n\x96 \x97\r\n", "ok default=– —");
        row("LF CR ends two lines", "[COMMON]\n\rC:\\d.gif\r\n", "line 3 default=");
        // Bytes no editor would write.
        QStringList many{"[COMMON]", "#"};
        for (int i = 0; i < 10000; ++i)
            many += block(QStringLiteral("B%1").arg(i));
        row("10 000 buttons: the first 100 stay", rk2(many), "line 903 default= B0= B1= and 98 more");
        row("a 16 MB line", rk2(QStringList{"[COMMON]", "#"} + block("A", {QString(16 << 20, u'x')})), "ok default= A=" + QString(20, u'x'));
        const char nul[] = "[COMMON]\r\n\0\r\n[Button]\r\nA\0B\r\n\0\r\n";
        row("NUL bytes", QByteArray(nul, sizeof nul - 1) + rk2(block("").mid(3)), QString("ok default=@ A@B=@").replace('@', QChar(0)));
        QByteArray high("[COMMON]\r\n");
        for (int c = 0x80; c <= 0xFF; ++c)
            high += char(c);
        row("every byte above 127", high + "\r\n", "ok default=€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“");
        row("bytes Windows-1252 leaves undefined", "[COMMON]\r\n\x81\x8D\r\n[Button]\r\n\x8F\x90\x9D\r\n" + rk2(block("").mid(2)), "ok default=\u0081\u008D \u008F\u0090\u009D=");
        row("a file that cannot be opened", "<missing>", "line 0");
        // A set holding what Windows-1252 cannot is UTF-8 behind the mark, whole.
        const auto utf8 = [](const QStringList& lines) { return Mark + lines.join("\r\n").toUtf8() + "\r\n"; };
        row("Cyrillic", utf8(QStringList{"[COMMON]", "/home/ann/Изображения/a.gif"} + block("Домой")), "ok default=/home/ann/Изображени Домой=");
        row("CJK and Latin", utf8(QStringList{"[COMMON]", "#"} + block("é", {"/写真/a.gif"})), "ok default= é=/写真/a.gif");
        row("an emoji", utf8(QStringList{"[COMMON]", "#"} + block("😀")), "ok default= 😀=");
        row("a mark with Windows-1252 bytes after it", Mark + "[COMMON]\r\nd\xE9j\xE0\r\n", "ok default=d\uFFFDj\uFFFD", utf8({"[COMMON]", "d\uFFFDj\uFFFD"}));
        row("a mark starting a line is text", Mark + "[COMMON]\r\n" + Mark + "#\r\n", "ok default=\uFEFF#");
        row("a mark on text that fits", utf8({"[COMMON]", "déjà"}), "ok default=déjà", rk2({"[COMMON]", "déjà"}));
        // clang-format on
    }

    void reading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, savedAgain);
        const DataFileReadResult read =
            bytes == "<missing>" ? readDataFileAt("/nonexistent/menu.rk2") : readDataFile(bytes);
        QString summary = read.ok ? "ok" : QStringLiteral("line %1").arg(read.errorLine);
        if (read.defaultDescriptionRead)
            summary += " default=" + read.DefaultDescriptionImage.left(20);
        for (const ButtonRecord& b : read.buttons.mid(0, 2))
            summary += ' ' + b.Name + '=' + b.MouseOutImage.left(20);
        if (read.buttons.size() > 2)
            summary += QStringLiteral(" and %1 more").arg(read.buttons.size() - 2);
        QTEST(summary, "read");
        QCOMPARE(read.expected.isEmpty(), read.ok);
        if (read.ok)
            QVERIFY(writeDataFile(read.DefaultDescriptionImage, read.buttons) ==
                    (savedAgain.isEmpty() ? bytes : savedAgain));
    }

    // A chosen name without ".rk2" (in any case) gets it on opening.
    void extensionRule()
    {
        QStringList opened;
        for (const char* chosen : {"/d/menu", "/d/MENU.RK2", "/d/menu.Rk2", "/d/menu.txt", ".rk2"})
            opened << withDataFileExtension(chosen);
        QCOMPARE(opened.join(' '), "/d/menu.rk2 /d/MENU.RK2 /d/menu.Rk2 /d/menu.txt.rk2 .rk2");
    }

    // A save that cannot start (a file where its folder should be), or that
    // fails half way (cut short by the file size limit), leaves the earlier
    // file and nothing else.
    void failedSaveKeepsTheEarlierFile()
    {
        for (const bool halfWay : {false, true}) {
            QTemporaryDir dir;
            const QString path = dir.filePath("menu.rk2");
            QVERIFY(saveFileAtomically(path, OneButton));
            const bool saved = underFileSizeLimit(halfWay ? 64 : RLIM_INFINITY, [&] {
                return saveFileAtomically(halfWay ? path : path + "/menu.rk2",
                                          QByteArray(4096, 'x'));
            });
            QVERIFY(!saved);
            QCOMPARE(readBytes(path), OneButton);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"menu.rk2"});
        }
    }
};

QTEST_APPLESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
