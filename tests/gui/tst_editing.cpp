// SPDX-License-Identifier: GPL-3.0-or-later
#include "testfiles.h"
#include "windowdriver.h"

#include <QtTest>

namespace {
const QByteArray TwoButtons =
    rk2(QStringList{"[COMMON]", "C:\\p\\def.gif"} +
        block("Home", {"C:\\p\\h.gif", "#", "#", "index.htm", "#", "Home", "img"}) +
        block("News", {"C:\\p\\n.gif", "#", "#", "news.htm", "_top", "News", "img"}));
} // namespace

// Editing the current button, the list commands and the data file, through
// the window's controls: which handler stores, asks and enables what.
class TestEditing : public WindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void steps_data();
    void steps();
    void refusesTheHundredAndFirst();
    void savesWhatOpensAgain();
};

void TestEditing::initTestCase()
{
    writeBytes(file("two.rk2"), TwoButtons);
    writeBytes(file("broken.rk2"), TwoButtons + rk2({"[Button]", "Last"}));
    writeBytes(file("none.rk2"), rk2({"[COMMON]", "C:\\p\\def.gif"}));
    QStringList gap{"[COMMON]", "#"};
    for (const char* name : {"A", "B", "", "D"})
        gap += block(name, {"#", "#", "#", "#", "#", "#", "old"});
    writeBytes(file("gap.rk2"), rk2(gap));
}

// Each row: what the user does, and what the window then holds (see
// WindowFixture::probe): "state" is the list with the selected entry in
// brackets, the current index and whether the set counts as saved; a number
// is that record as "Name|Url|Target|Alt|Prefix|MouseOut|MouseOver|Description";
// "fields" the edit fields 0 to 7.
void TestEditing::steps_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QStringList>("expected");
    const QString two = "add A; add B; save ab.rk2; pick 0; ";
    QTest::newRow("showing another button is no change")
        << two + "pick 1; pick 1; pick 0" << QStringList{"state=[A],B 0 saved"};
    QTest::newRow("edits wait for the next store")
        << two + "type 3 a.htm; type 7 C:\\d.gif"
        << QStringList{"0=A|||A||||", "default=C:\\d.gif", "state=[A],B 0 unsaved"};
    QTest::newRow("moving on stores them")
        << two + "type 3 a.htm; type 7 C:\\d.gif; down"
        << QStringList{"0=A|a.htm||A||||", "state=A,[B] 1 unsaved", "fields=|||||B||C:\\d.gif"};
    QTest::newRow("and coming back shows them")
        << two + "type 3 a.htm; down; pick 0" << QStringList{"fields=|||a.htm||A||", "1=B|||B||||"};
    QTest::newRow("add cancelled") << "add" << QStringList{"state= -1 saved", "on:Text1_0=no"};
    QTest::newRow("add") << "add Home"
                         << QStringList{"dialog=input:Button name : |Add button|Button1",
                                        "state=[Home] 0 unsaved",
                                        "fields=|||||Home||",
                                        "on:Command5=yes",
                                        "on:Command6=yes",
                                        "on:Command1=yes",
                                        "on:Command2=yes",
                                        "on:Command7_0=yes",
                                        "on:Command7_7=yes",
                                        "on:Text1_0=yes",
                                        "on:Text1_7=yes"};
    QTest::newRow("a new button takes the prefix above")
        << "add A; type 6 img/; add B" << QStringList{"fields=|||||B|img/|", "initial=Button2"};
    QTest::newRow("the prefix of the one just above")
        << "add A; type 6 a/; add B; type 6 b/; add C" << QStringList{"fields=|||||C|b/|"};
    QTest::newRow("which keeps its own") << "add A; type 6 img/; add B; type 6 pics; pick 0"
                                         << QStringList{"0=A|||A|img/|||", "1=B|||B|pics|||"};
    QTest::newRow("rename keeps a typed Alt")
        << "add A; type 5 Alt; input R; click Command5; pick 0"
        << QStringList{"dialog=input:Enter new name:|Edit button name|A", "0=R|||Alt||||",
                       "state=[R] 0 unsaved"};
    QTest::newRow("rename fills an empty Alt")
        << "add A; type 5; input R; click Command5" << QStringList{"fields=|||||R||"};
    QTest::newRow("rename cancelled")
        << "add A; save a.rk2; input; click Command5" << QStringList{"state=[A] 0 saved"};
    const QString three = "add A; add B; add C; save three.rk2; ";
    QTest::newRow("remove the middle one")
        << three + "pick 1; ok; click Command6"
        << QStringList{"dialog=Are you sure you want to clear \"B\" ?|Clear all data "
                       "?|exclamation|okcancel",
                       "state=A,[C] 1 unsaved", "2=|||||||"};
    QTest::newRow("after a removal the last is current")
        << three + "pick 0; ok; click Command6; type 3 c.htm; pick 0"
        << QStringList{"1=C|c.htm||C||||", "0=B|||B||||", "state=[B],C 0 unsaved"};
    QTest::newRow("remove cancelled")
        << three + "pick 0; cancel; click Command6" << QStringList{"state=[A],B,C 0 saved"};
    QTest::newRow("remove the only one")
        << "add A; type 7 C:\\d.gif; ok; click Command6"
        << QStringList{"state= -1 saved", "fields=|||||||", "0=|||||||",
                       "default=",        "on:Text1_0=no",  "on:Text1_7=no"};
    QTest::newRow("a nameless button ends the list")
        << "open gap.rk2; ok; click Command6"
        << QStringList{"state=[B] 0 unsaved", "2=D||||old|||"};
    QTest::newRow("New when saved")
        << "add A; type 7 C:\\d.gif; save m.rk2; menu File ClearAllData; add B; save"
        << QStringList{"state=[B] 0 unsaved", "default=",
                       "dialog=save:Save datafile|Rollcraft2 (*.rk2)|*.rk2|Rollcraft2_untitled"};
    QTest::newRow("New cancelled")
        << "add A; save m.rk2; type 3 x; cancel; menu File ClearAllData"
        << QStringList{
               "dialog=Do you want to clear all data ?|Clear all data ?|exclamation|okcancel",
               "state=[A] 0 unsaved", "file=m.rk2"};
    QTest::newRow("New confirmed") << "add A; save m.rk2; type 3 x; ok; menu File ClearAllData"
                                   << QStringList{"state= -1 saved", "file="};
    const QString prefixes = "add A; type 6 old; add B; add C; pick 1; type 6 typed; input ";
    QTest::newRow("all prefixes")
        << prefixes + "img/; menu EditSet ChangeImgPrefix"
        << QStringList{"dialog=input:New prefix : |Change prefix on all buttons to:|old",
                       "0=A|||A|img/|||", "2=C|||C|img/|||", "fields=|||||B|img/|"};
    QTest::newRow("all prefixes: empty answer")
        << prefixes + "; menu EditSet ChangeImgPrefix"
        << QStringList{"0=A|||A|old|||", "fields=|||||B|typed|"};
    QTest::newRow("all prefixes: CR first")
        << prefixes + "\rimg; menu EditSet ChangeImgPrefix" << QStringList{"0=A|||A|old|||"};
    QTest::newRow("all prefixes stop at a nameless button")
        << "open gap.rk2; input new; menu EditSet ChangeImgPrefix"
        << QStringList{"1=B||||new|||", "3=D||||old|||"};
    QTest::newRow("menus of an empty set")
        << ""
        << QStringList{"menu:File/SaveData=no", "menu:File/ClearAllData=no",
                       "menu:EditSet/ChangeImgPrefix=no", "menu:Special/CopyImagesToPath=no"};
    QTest::newRow("menus of a set")
        << "add A"
        << QStringList{"menu:File/SaveData=yes", "menu:File/ClearAllData=yes",
                       "menu:EditSet/ChangeImgPrefix=yes", "menu:Special/CopyImagesToPath=no"};
    QTest::newRow("menus of a set with only a default image")
        << "add A; type 7 C:\\d.gif" << QStringList{"menu:Special/CopyImagesToPath=yes"};
    QTest::newRow("opening the File menu stores")
        << "add A; type 0 C:\\a.gif"
        << QStringList{"menu:Special/CopyImagesToPath=no", "menu:File/SaveData=yes",
                       "menu:Special/CopyImagesToPath=yes"};
    QTest::newRow("open a file of no buttons")
        << "open none.rk2"
        << QStringList{"default=C:\\p\\def.gif", "fields=|||||||", "on:Text1_7=no",
                       "menu:Special/CopyImagesToPath=no"};
    QTest::newRow("open adds the extension")
        << "open two"
        << QStringList{"file=two.rk2", "state=[Home],News 0 saved",
                       "fields=C:\\p\\h.gif|||index.htm||Home|img|C:\\p\\def.gif"};
    QTest::newRow("open cancelled")
        << "add Mine; ok; open"
        << QStringList{"dialog:1=Current data is not saved, open new datafile "
                       "?|TWKPLUGIN|exclamation|okcancel",
                       "dialog=open:Open datafile|Rollcraft2 (*.rk2)|*.rk2|",
                       "state=[Mine] 0 unsaved"};
    QTest::newRow("open asks first")
        << "add Mine; ok; open two.rk2" << QStringList{"state=[Home],News 0 saved"};
    QTest::newRow("a broken file keeps what was read")
        << "add Old; type 3 old.htm; ok; open broken.rk2; ok"
        << QStringList{"dialog=ERROR! Unable to open file.|TWKPLUGIN|critical|ok",
                       "state=Home,News,Last -1 saved",
                       "fields=|||||||",
                       "on:Text1_0=no",
                       "default=C:\\p\\def.gif",
                       "file=broken.rk2"};
    QTest::newRow("its first pick stores nothing")
        << "open broken.rk2; ok; pick 1"
        << QStringList{"0=Home|index.htm||Home|img|C:\\p\\h.gif||"};
    QTest::newRow("open fails") << "add A; ok; open !; ok"
                                << QStringList{
                                       "dialog=ERROR! Unable to open file!|TWKPLUGIN|critical|ok",
                                       "state=[A] 0 unsaved"};
    QTest::newRow("save fails") << "add A; save !; ok"
                                << QStringList{
                                       "dialog=ERROR! Unable to save file!|TWKPLUGIN|critical|ok",
                                       "state=[A] 0 unsaved", "file="};
    QTest::newRow("writing fails")
        << "add A; save none.rk2/a.rk2; ok"
        << QStringList{"dialog=ERROR! Unable to save file.|TWKPLUGIN|critical|ok",
                       "state=[A] 0 unsaved", "file=none.rk2/a.rk2"};
    QTest::newRow("closing asks")
        << "add A; menu File Exit; cancel"
        << QStringList{"dialog=Current data is not saved, are you sure that you want to quit "
                       "?|TWKPLUGIN|exclamation|okcancel"};
    QTest::newRow("save offers the last file")
        << "add A; save m.rk2; save" << QStringList{"initial=m.rk2", "state=[A] 0 saved"};
}

void TestEditing::steps()
{
    QFETCH(QString, steps);
    QFETCH(QStringList, expected);
    check(steps, expected);
}

void TestEditing::refusesTheHundredAndFirst()
{
    for (int i = 1; i <= MaxButtons; ++i)
        f().add(QStringLiteral("B%1").arg(i));
    check("type 3 last.htm; ok; click Command4", {"99=B100|last.htm||B100||||"});
    QCOMPARE(f().probe("dialog"), "You already have 100 buttons !|TWKPLUGIN|exclamation|ok");
    QCOMPARE(f().list()->count(), MaxButtons);
}

// What the window writes is the whole set, and opens again as it was.
void TestEditing::savesWhatOpensAgain()
{
    f().run("add Home; type 0 C:\\p\\h.gif; type 3 index.htm; type 6 img; add News; type 0 "
            "C:\\p\\n.gif; type 3 news.htm; type 4 _top; type 7 C:\\p\\def.gif; save saved");
    QCOMPARE(readBytes(file("saved")), TwoButtons); // no extension added
    WindowFixture other;
    other.open(file("two.rk2"));
    QCOMPARE(other.set().Buttons, f().set().Buttons);
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
