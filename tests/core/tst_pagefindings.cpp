// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagefindings.h"
#include "testfiles.h"

#include <QtTest>

// The finding rules' own edge cases, each set's whole list of findings; the
// tool's test shows one warning of each kind as a user reads it.
class TestPageFindings : public QObject {
    Q_OBJECT
private slots:
    // Each row: the data file's lines after "[COMMON]", and every finding as
    // "BUTTON FIELD: EFFECT".
    void findings_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("found");
        const auto row = [](const char* what, const QStringList& lines, const QStringList& found) {
            QTest::newRow(what) << lines << found;
        };
        const QString noLight = ": the button does not light up (SyntaxError)";
        const QString badEscape = "1 Alt: the script cannot read its backslash" + noLight;
        row("empty braces", QStringList{"#"} + block("B", {"#", "#", "#", "#", "#", "\\u{}"}),
            {badEscape});
        row("short \\u at the end",
            QStringList{"#"} + block("B", {"#", "#", "#", "#", "#", "\\u00e"}), {badEscape});
        row("a quote first cuts the attribute",
            QStringList{"#"} + block("B", {"#", "#", "#", "#", "#", "it's \"x\""}),
            {"1 Alt: its \" ends the mouse-over attribute: the button does not light up, and its "
             "alternative text is cut"});
        row("Windows path", QStringList{"#"} + block("B", {"C:\\site\\it's.gif"}),
            {"1 MouseOut image: the apostrophe in \"it's.gif\" ends the script's string: no button "
             "lights up (SyntaxError)"});
        row("a prefix ending in a backslash gets its slash",
            QStringList{"#"} + block("B", {"/a/b.gif", "#", "#", "#", "#", "#", "img\\"}), {});
        row("a folder", QStringList{"#"} + block("B", {"/home/ann/pics/"}),
            {"1 MouseOut image: \"/home/ann/pics/\" gives the page no file name (src = '', a "
             "broken picture) and cannot be copied"});
        row("the default image takes the first button's prefix",
            QStringList{"d.gif"} + block("B", {"#", "#", "#", "#", "#", "#", "img"}) +
                block("C", {"#", "#", "#", "#", "#", "#", "other"}),
            {"0 Default description image: \"d.gif\" gives the page no file name (src = 'img/', "
             "a broken picture) and cannot be copied"});
        row("the default image copied over a button's",
            QStringList{"/a/x.gif"} + block("B", {"/b/x.gif"}),
            {"0 Default description image: copied as x.gif, it replaces the MouseOut image of "
             "button 1 \"B\" (/b/x.gif): both show this picture"});
        row("nothing after an empty name is the page's",
            QStringList{"#"} + block("") + block("C", {"#", "#", "#", "#", "#", "it's"}),
            {"1 Name: the page ends before this button: the file lists 2 buttons, the page has 0"});
    }

    void findings()
    {
        QFETCH(QStringList, lines);
        const QByteArray bytes = rk2(QStringList{"[COMMON]"} + lines);
        const DataFileReadResult read = readDataFile(bytes);
        QVERIFY(read.ok);
        QStringList found;
        for (const PageFinding& f : pageFindings(read, bytes))
            found << QString::number(f.button) + ' ' + f.field + ": " + f.effect;
        QTEST(found, "found");
    }
};

QTEST_MAIN(TestPageFindings)
#include "tst_pagefindings.moc"
