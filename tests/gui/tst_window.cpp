// SPDX-License-Identifier: GPL-3.0-or-later
#include "aboutwindow.h"
#include "demomenu.h"
#include "pagegenerator.h"
#include "qtdialogs.h"
#include "testfiles.h"
#include "windowdriver.h"

#include <QtTest>
#include <QtWidgets>
#include <sys/stat.h>

using W = WindowFixture;
using Steps = std::function<void(W&)>;
using Changes = QList<std::pair<QString, QString>>;
using Records = QList<ButtonRecord>;
Q_DECLARE_METATYPE(Steps)
Q_DECLARE_METATYPE(ButtonRecord)

namespace {

const QByteArray TwoButtons = rk2(QStringList{"[COMMON]", "C:\\p\\def.gif"} +
                                  block("Home", {"C:\\p\\h.gif", "#", "#", "index.htm", "#", "Home", "img"}) +
                                  block("News", {"C:\\p\\n.gif", "#", "#", "news.htm", "_top", "News", "img"}));

// What is disabled while there is no current button.
const QStringList NoButton{"Command1",   "Command2",   "Command5", "Command6", "Command7_0", "Command7_1",
                           "Command7_2", "Command7_7", "Text1_0",  "Text1_1",  "Text1_2",    "Text1_3",
                           "Text1_4",    "Text1_5",    "Text1_6",  "Text1_7"};

// A message box as the scripted dialogs record it: a question, a warning, an error.
const char *const Question = "|exclamation|okcancel", *const Warning = "|exclamation|ok", *const Error = "|critical|ok";
QString message(const QString& text, const char* kind, const QString& title = "TWKPLUGIN")
{
    return text + '|' + title + kind;
}

// A record, its fields in order, those not given empty.
ButtonRecord rec(const QString& name, const QString& url = {}, const QString& target = {}, const QString& alt = {},
                 const QString& prefix = {}, const QString& out = {}, const QString& over = {},
                 const QString& description = {})
{
    return {name, url, target, alt, prefix, out, over, description};
}

ButtonRecord added(const QString& name)
{
    return rec(name, "", "", name);
}

// The eight edit fields of a button added as `name`, with those given (index, text).
QStringList fieldsOf(const QString& name, const QList<std::pair<int, QString>>& given = {})
{
    QStringList fields(8);
    fields[5] = name;
    for (const auto& [i, text] : given)
        fields[i] = text;
    return fields;
}

// Adds `name` with the image wizard on, choosing `images` in the choosers it opens.
W& addWith(W& w, const QString& name, const QStringList& images)
{
    w.input(name);
    for (const QString& image : images)
        w.chooseImage(image);
    return w.click("Command4");
}

// A button "A" with a picture and a Url typed, not yet stored; the page of the set of it.
W& typedA(W& w)
{
    return w.add("A").type(0, "C:\\a.gif").type(3, "a.htm");
}
QString pageOfA(PageMode mode)
{
    ButtonSet set;
    set.Buttons[0] = rec("A", "a.htm", "", "A", "", "C:\\a.gif");
    return buildPage(set, mode);
}

} // namespace

// The main window through its controls: which handler stores, asks, enables
// and publishes what, in which order.
class TestWindow : public WindowTest {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        writeBytes(file("two.rk2"), TwoButtons);
        writeBytes(file("broken.rk2"), TwoButtons + rk2({"[Button]", "Last"}));
        writeBytes(file("none.rk2"), rk2({"[COMMON]", "C:\\p\\def.gif"}));
        QStringList gap{"[COMMON]", "#"};
        for (const char* name : {"A", "B", "", "D"})
            gap += block(name, {"#", "#", "#", "#", "#", "#", "old"});
        writeBytes(file("gap.rk2"), rk2(gap));
        QCOMPARE(mkfifo(QFile::encodeName(file("fifo.rk2")).constData(), 0600), 0);
    }

    // The image wizard is on unless the setting says False; switching it is kept.
    void wizardSetting()
    {
        for (const QByteArray s : {"", "AutoImage=True", "AutoImage=False", "AutoImage=maybe"}) {
            writeSettings("[General]\n" + s + '\n');
            QCOMPARE(TWKPLUGIN(f().dialogs).findChild<QAction*>("AutoImage")->isChecked(), !s.endsWith("False"));
        }
        f().menu("File", "AutoImage");
        QVERIFY(readBytes(settingsPath()).contains("[General]\nAutoImage=True\n"));
    }

    // Each window of fixed size tells the window system so: its least and its
    // greatest size are both its designed one, so nothing offers to resize or
    // maximize it. Rows: the window, the designed size of its client area.
    void fixedForTheWindowSystem_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QSize>("client");
        QTest::newRow("main window") << "TWKPLUGIN" << QSize(7830, 6705) / 15;
        QTest::newRow("DemoMenu") << "Form3" << QSize(8145, 6780) / 15;
        QTest::newRow("About") << "Form2" << QSize(4635, 2130) / 15;
    }

    void fixedForTheWindowSystem()
    {
        QFETCH(QString, window);
        QWidget* shown = &f().window;
        QWidget* client = f().control("centralwidget");
        // The dialogs go with the main window, their parent.
        if (window == "Form3")
            shown = client = new DemoMenu(f().dialogs, &f().window);
        else if (window == "Form2")
            shown = client = new AboutWindow(&f().window);
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        const QWindow* handle = shown->windowHandle();
        QCOMPARE(handle->minimumSize(), shown->size());
        QCOMPARE(handle->maximumSize(), shown->size());
        QTEST(client->size(), "client");
    }

    // What the window holds and shows after each journey: the last dialog, the list and its current entry, saved
    // or not, the stored slots, the edit fields, the set's default image and its file. Nothing can be edited while
    // there is no current button.
    void editing_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<int>("current");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<Records>("buttons");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("byDefault");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("disabled");
        // What else the window holds: the fields (if not the current button's as stored, or none), the default image,
        // the file; whether the edit fields are enabled with a current button.
        struct More {
            QStringList fields = {};
            QString byDefault = {}, file = {};
            bool editable = true;
        };
        const auto row = [](const char* rule, const QString& dialog, const QStringList& list, int current, bool saved,
                            const Records& buttons, const More& more, Steps steps) {
            const ButtonRecord b = current < 0 ? ButtonRecord() : buttons[current];
            const QStringList shown =
                current < 0 ? QStringList(8)
                            : QStringList{b.MouseOutImage, b.MouseOverImage,  b.DescriptionImage, b.Url, b.Target,
                                          b.Alt,           b.ImagePathPrefix, more.byDefault};
            QTest::newRow(rule) << steps << dialog << list << current << saved << buttons
                                << (more.fields.isEmpty() ? shown : more.fields) << more.byDefault << more.file
                                << (more.editable && current >= 0 ? QStringList() : NoButton);
        };
        const QString named = "input:Button name : |Add button|Button",
                      rename = "input:Enter new name:|Edit button name|";
        const QString sure = message("Are you sure you want to clear \"A\" ?", Question, "Clear all data ?");
        const QString opened = "open:Open datafile|Rollcraft2 (*.rk2)|*.rk2|", def = "C:\\p\\def.gif";
        const QString saveAs = "save:Save datafile|Rollcraft2 (*.rk2)|*.rk2|",
                      untitled = saveAs + "Rollcraft2_untitled";
        const QString unreadable = message("ERROR! Unable to open file.", Error);
        const QString unwritable = message("ERROR! Unable to save file.", Error);
        const QString newPrefix = "input:New prefix : |Change prefix on all buttons to:|old";
        const Records a{added("A")}, ab = a + Records{added("B")}, abc = ab + Records{added("C")};
        const Records read{rec("Home", "index.htm", "", "Home", "img", "C:\\p\\h.gif"),
                           rec("News", "news.htm", "_top", "News", "img", "C:\\p\\n.gif"), rec("Last")};
        const Records gap{rec("B", "", "", "", "new"), rec("", "", "", "", "old"), rec("D", "", "", "", "old")};
        const auto prefixed = [](const QString& answer) -> Steps {
            return [answer](W& w) {
                w.add("A").type(6, "old").add("B").add("C").pick(1).type(6, "typed");
                w.input(answer).menu("EditSet", "ChangeImgPrefix");
            };
        };
        const auto withPrefix = [abc](const QString& prefix) {
            Records r = abc;
            for (ButtonRecord& b : r)
                b.ImagePathPrefix = prefix;
            return r;
        };
        // Adding.
        row("a cancelled name adds nothing", named + "1", {}, -1, true, {}, {}, [](W& w) { w.add(""); });
        row("a new button is named as asked, its Alt its name", named + "1", {"A"}, 0, false, a, {},
            [](W& w) { w.add("A"); });
        row("ButtonN is offered, the prefix of the one before taken", named + "3", {"A", "B", "C"}, 2, false,
            {rec("A", "", "", "A", "a/"), rec("B", "", "", "B", "b/"), added("C")}, {fieldsOf("C", {{6, "b/"}})},
            [](W& w) { w.add("A").type(6, "a/").add("B").type(6, "b/").add("C"); });
        // Picking and typing.
        row("picking alone changes nothing", untitled, {"A", "B"}, 0, true, ab, {.file = "ab.rk2"},
            [](W& w) { w.add("A").add("B").save("ab.rk2").pick(0).pick(1).pick(1).pick(0); });
        row("typing stores nothing but the default image", named + "2", {"A", "B"}, 0, false, ab,
            {fieldsOf("A", {{3, "a.htm"}, {7, "C:\\d.gif"}}), "C:\\d.gif"},
            [](W& w) { w.add("A").add("B").pick(0).type(3, "a.htm").type(7, "C:\\d.gif"); });
        row("the arrow key stores the button left", named + "2", {"A", "B"}, 1, false,
            {rec("A", "a.htm", "", "A"), added("B")}, {.byDefault = "C:\\d.gif"},
            [](W& w) { w.add("A").add("B").pick(0).type(3, "a.htm").type(7, "C:\\d.gif").down(); });
        row("picking stores each field into its own", named + "2", {"A", "B"}, 0, false,
            {added("A"), rec("B", "u", "t", "a", "p", "o", "v", "d")}, {}, [](W& w) {
                w.add("A").add("B");
                for (int i = 0; i < 7; ++i)
                    w.type(i, QString("ovdutap")[i]);
                w.pick(0);
            });
        // Renaming.
        row("renaming asks with the name and keeps an Alt", rename + "A", {"R"}, 0, false, {rec("R", "", "", "Alt")},
            {}, [](W& w) { w.add("A").type(5, "Alt").input("R").click("Command5").pick(0); });
        row("renaming fills an empty Alt", rename + "A", {"S"}, 0, false, {added("S")}, {},
            [](W& w) { w.add("A").type(5, "").input("S").click("Command5"); });
        row("renaming renames the entry and the button", rename + "B", {"A", "T", "C"}, 0, false,
            {added("A"), rec("T", "", "", "B"), added("C")}, {},
            [](W& w) { w.add("A").add("B").add("C").pick(1).input("T").click("Command5").pick(0); });
        row("an empty new name changes nothing", rename + "A", {"A"}, 0, true, a, {.file = "a.rk2"},
            [](W& w) { w.add("A").save("a.rk2").input("").click("Command5"); });
        // Removing.
        row("removing asks first", sure, {"A", "B", "C"}, 0, true, abc, {.file = "abc.rk2"},
            [](W& w) { w.add("A").add("B").add("C").save("abc.rk2").pick(0).cancel().click("Command6"); });
        row("the buttons after move up, the last listed current", sure, {"B", "C"}, 1, false, abc.mid(1), {},
            [](W& w) { w.add("A").add("B").add("C").pick(0).ok().click("Command6"); });
        row("removing the last button empties the set, saved", sure, {}, -1, true, {}, {},
            [](W& w) { w.add("A").type(7, "C:\\d.gif").ok().click("Command6"); });
        // The new prefix.
        row("the new prefix goes to every button and the field", newPrefix, {"A", "B", "C"}, 1, false,
            withPrefix("img/"), {}, prefixed("img/"));
        row("an empty new prefix changes nothing", newPrefix, {"A", "B", "C"}, 1, false, withPrefix("old"),
            {fieldsOf("B", {{6, "typed"}})}, prefixed(""));
        row("a new prefix starting with CR changes nothing", newPrefix, {"A", "B", "C"}, 1, false, withPrefix("old"),
            {fieldsOf("B", {{6, "typed"}})}, prefixed("\rimg"));
        row("a nameless button ends the list: the new prefix and a removal stop there", sure, {"B"}, 0, false, gap,
            {.file = "gap.rk2"},
            [](W& w) { w.open("gap.rk2").input("new").menu("EditSet", "ChangeImgPrefix").ok().click("Command6"); });
        // Clearing.
        row("clearing a saved set asks nothing and forgets it all", untitled, {}, -1, true, {}, {},
            [](W& w) { w.add("A").type(7, "C:\\d.gif").save("m.rk2").menu("File", "ClearAllData"); });
        row("clearing an unsaved set asks first",
            message("Do you want to clear all data ?", Question, "Clear all data ?"), {"B"}, 0, false,
            {rec("B", "x", "", "B")}, {.file = "m.rk2"},
            [](W& w) { w.add("B").save("m.rk2").type(3, "x").cancel().menu("File", "ClearAllData"); });
        row("a cleared set is saved untitled", untitled, {"C"}, 0, false, {added("C")}, {},
            [](W& w) { w.add("B").save("m.rk2").type(3, "x").ok().menu("File", "ClearAllData").add("C").save(""); });
        // Opening.
        row("a set without buttons has no current one", opened, {}, -1, true, {},
            {.byDefault = def, .file = "none.rk2"}, [](W& w) { w.open("none.rk2"); });
        row("an unsaved set is asked about before opening",
            message("Current data is not saved, open new datafile ?", Question), {"A"}, 0, false, a, {},
            [](W& w) { w.add("A").cancel().menu("File", "OpenData"); });
        row("a cancelled choice keeps the set", opened, {"A"}, 0, false, a, {}, [](W& w) { w.add("A").ok().open(""); });
        row("a file opens with .rk2 added, its first button current", opened, {"Home", "News"}, 0, true, read.mid(0, 2),
            {.byDefault = def, .file = "two.rk2"}, [](W& w) { w.add("A").ok().open("two"); });
        row("a failed choice says so and keeps the set", message("ERROR! Unable to open file!", Error), {"A"}, 0, false,
            a, {}, [](W& w) { w.add("A").ok().ok().open("!"); });
        row("a broken file keeps what was read, with no current button", unreadable, {"Home", "News", "Last"}, -1, true,
            read, {.byDefault = def, .file = "broken.rk2"},
            [](W& w) { w.add("Old").type(3, "old.htm").ok().ok().open("broken.rk2"); });
        row("the first pick after a broken file stores nothing, edits nothing", unreadable, {"Home", "News", "Last"}, 1,
            true, read, {{"C:\\p\\n.gif", "", "", "news.htm", "_top", "News", "img", ""}, def, "broken.rk2", false},
            [](W& w) { w.ok().open("broken.rk2").pick(1); });
        row("a FIFO keeps nobody waiting for a writer", unreadable, {}, -1, true, {}, {.file = "fifo.rk2"},
            [](W& w) { w.ok().open("fifo.rk2"); });
        // Saving.
        row("a failed save dialog says so", message("ERROR! Unable to save file!", Error), {"A"}, 0, false, a, {},
            [](W& w) { w.add("A").ok().save("!"); });
        row("a failed write says so, the name kept", unwritable, {"A"}, 0, false, a, {.file = "none.rk2/a.rk2"},
            [](W& w) { w.add("A").ok().save("none.rk2/a.rk2"); });
        row("a save offers the file's name", saveAs + "lb.rk2", {"A"}, 0, true, a, {.file = "lb.rk2"},
            [](W& w) { w.add("A").save("lb.rk2").save(""); });
        row("a line break reaching the writer fails it, the earlier file kept", opened + "lb.rk2", {"A"}, 0, true, a,
            {.file = "lb.rk2"},
            [](W& w) { w.add("A").save("lb.rk2").add("X\nY").ok().save("lb.rk2").ok().open("lb.rk2"); });
        // Choosing a picture, the wizard off: it goes into its field; a name not ending in GIF or JPG (in any case)
        // is warned about, a chooser that fails says so.
        const QString chooser =
            "open:MouseOver image:|All images|*.gif;*.jpg|Gif file|*.gif|Jpg file|*.jpg|All files|*.*|";
        row("a GIF in any case is taken", chooser, {"A"}, 0, false, {rec("A", "", "", "A", "", "", "/p/a.Gif")},
            {.file = "a.rk2"},
            [](W& w) { w.add("A").save("a.rk2").chooseImage("/p/a.Gif").click("Command7_1").pick(0); });
        row("a JPG is taken", chooser, {"A"}, 0, false, {rec("A", "", "", "A", "", "", "/p/B.JPG")}, {.file = "a.rk2"},
            [](W& w) { w.add("A").save("a.rk2").chooseImage("/p/B.JPG").click("Command7_1").pick(0); });
        row("only the last three letters count",
            message("The imageformat you have choosen,might not work in a browser !", Warning), {"A"}, 0, false,
            {rec("A", "", "", "A", "", "", "/p/a.jpeg")}, {.file = "a.rk2"},
            [](W& w) { w.add("A").save("a.rk2").chooseImage("/p/a.jpeg").ok().click("Command7_1").pick(0); });
        row("a failed chooser says so and changes nothing", message("ERROR! Unable to get image path!", Error), {"A"},
            0, true, a, {.file = "a.rk2"},
            [](W& w) { w.add("A").save("a.rk2").chooseImage("!").ok().click("Command7_1"); });
        row("a hundredth button is the last, adding still stores", message("You already have 100 buttons !", Warning),
            QStringList(MaxButtons, "B"), MaxButtons - 1, false,
            Records(MaxButtons - 1, added("B")) << rec("B", "last.htm", "", "B"), {}, [](W& w) {
                for (int i = 0; i < MaxButtons; ++i)
                    w.add("B");
                w.type(3, "last.htm").ok().click("Command4");
            });
    }

    void editing()
    {
        QFETCH(Steps, steps);
        QFETCH(int, current);
        steps(f());
        QTEST(f().dialog(), "dialog");
        QTEST(f().listed(), "list");
        QCOMPARE(f().selected(), current);
        QCOMPARE(f().window.currentIndex(), current);
        QTEST(f().saved(), "saved");
        QTEST(f().records(), "buttons");
        QTEST(f().fields(), "fields");
        QTEST(f().disabled(), "disabled");
        QTEST(f().set().DefaultDescriptionImage, "byDefault");
        QTEST(f().dataFile(), "file");
    }

    // Which items the menus enable when opened, Special first: saving, clearing and a new prefix need a button;
    // copying images a picture in the stored set, and opening the File menu stores.
    void menus_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QStringList>("enabled");
        const QStringList all{"CopyImagesToPath", "ChangeImgPrefix", "ClearAllData", "SaveData"};
        QTest::newRow("no button") << Steps([](W& w) { w.add(""); }) << QStringList();
        QTest::newRow("a default picture but no button") << Steps([](W& w) { w.open("none.rk2"); }) << QStringList();
        QTest::newRow("a picture") << Steps([](W& w) { w.add("A").type(7, "C:\\d.gif"); }) << all;
        QTest::newRow("a picture not stored") << Steps([](W& w) { w.add("A").type(0, "C:\\a.gif"); }) << all.mid(1);
        QTest::newRow("a picture stored by the File menu")
            << Steps([](W& w) { std::ignore = w.add("A").type(0, "C:\\a.gif").enabledInMenu("File", "SaveData"); })
            << all;
    }

    void menus()
    {
        QFETCH(Steps, steps);
        steps(f());
        QStringList enabled;
        for (const auto& [menu, item] : {std::pair{"Special", "CopyImagesToPath"},
                                         {"EditSet", "ChangeImgPrefix"},
                                         {"File", "ClearAllData"},
                                         {"File", "SaveData"}})
            if (f().enabledInMenu(menu, item))
                enabled << item;
        QTEST(enabled, "enabled");
    }

    // With the wizard on, adding a button chains the choosers of its empty
    // pictures ("" cancels one); each chooser goes on to the next empty one.
    void imageWizard_data()
    {
        QTest::addColumn<QStringList>("choosers");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<Steps>("steps");
        const QString out = "MouseOut", over = "MouseOver", description = "Description";
        const QString byDefault = "Default description";
        const auto row = [](const char* rule, const QStringList& choosers, const QStringList& fields, Steps steps) {
            QTest::newRow(rule) << choosers << fields << steps;
        };
        row("adding asks every picture", {out, over, description, byDefault},
            fieldsOf("A", {{0, "/o.gif"}, {1, "/v.gif"}, {2, "/d.gif"}, {7, "/x.gif"}}), [](W& w) {
                addWith(w, "A", {"/o.gif", "/v.gif", "/d.gif", "/x.gif"});
            });
        row("a cancelled MouseOver ends the chain", {out, over, byDefault}, fieldsOf("A", {{0, "/o.gif"}}), [](W& w) {
            addWith(w, "A", {"/o.gif", "", ""});
        });
        row("the default is asked once", {out, byDefault, out}, fieldsOf("B", {{7, "/x.gif"}}), [](W& w) {
            addWith(addWith(w, "A", {"", "/x.gif"}), "B", {""});
        });
        row("a MouseOver already there is not asked", {out, byDefault, out},
            fieldsOf("A", {{0, "/o.gif"}, {1, "/v.gif"}}), [](W& w) {
                addWith(w, "A", {"", ""}).type(1, "/v.gif").chooseImage("/o.gif").click("Command7_0");
            });
        row("MouseOver goes on to Description", {out, byDefault, over, description},
            fieldsOf("A", {{1, "/v.gif"}, {2, "/d.gif"}}), [](W& w) {
                addWith(w, "A", {"", ""}).chooseImage("/v.gif").chooseImage("/d.gif").click("Command7_1");
            });
        row("Description is the last", {out, byDefault, description}, fieldsOf("A", {{2, "/d.gif"}}), [](W& w) {
            addWith(w, "A", {"", ""}).chooseImage("/d.gif").click("Command7_2");
        });
    }

    void imageWizard()
    {
        QFETCH(Steps, steps);
        steps(f().menu("File", "AutoImage"));
        QTEST(f().choosers(), "choosers");
        QTEST(f().fields(), "fields");
        QCOMPARE(f().set().DefaultDescriptionImage, f().fields()[7]);
    }

    // Closing, shown: each change of the exchange fields, and whether the closing
    // sequence ended (the window hidden then, and only then). What is asked is
    // whether to quit an unsaved set.
    void closing_data()
    {
        QTest::addColumn<Changes>("changes");
        QTest::addColumn<int>("closed");
        QTest::addColumn<Steps>("steps");
        const Changes emptied{{"SCRIPT", ""}, {"SCRIPTTYPE", ""}};
        const Changes preview{
            {"SCRIPT", ""}, {"SCRIPT", pageOfA(PageMode::Preview)}, {"PREVIEW", "PREVIEW"}, {"PREVIEW", ""}};
        const Changes insert{
            {"SCRIPTTYPE", "Rollcraft II 09-01-26 - 19-05-03"}, {"SCRIPT", ""}, {"SCRIPT", pageOfA(PageMode::Page)}};
        const auto row = [](const char* rule, const Changes& changes, int closed, Steps steps) {
            QTest::newRow(rule) << changes << closed << steps;
        };
        row("an unsaved set is asked about", {}, 0, [](W& w) { w.add("A").cancel().menu("File", "Exit"); });
        row("Exit empties the page", emptied, 1, [](W& w) { w.menu("File", "Exit"); });
        row("a preview ends before closing", preview + emptied, 1,
            [](W& w) { typedA(w).click("Command2").wait().ok().close(); });
        row("closing ends a preview on its way", preview.mid(0, 2) + emptied, 1,
            [](W& w) { typedA(w).click("Command2").ok().close().wait(); });
        row("Cancel empties the page, closing again", emptied + emptied, 1, [](W& w) { w.click("Command3"); });
        row("a close refused after Cancel", emptied, 0, [](W& w) { w.add("A").ok().cancel().click("Command3"); });
        row("Cancel refused", {}, 0, [](W& w) { w.add("A").cancel().click("Command3"); });
        row("Insert closes a timer's tick later", insert, 1, [](W& w) { typedA(w).ok().click("Command1").wait(); });
        row("a refused close keeps the page", insert, 0, [](W& w) { typedA(w).cancel().click("Command1").wait(); });
        row("closing after an insert keeps its page", insert + preview, 1, [](W& w) {
            typedA(w).cancel().click("Command1").wait();
            w.click("Command2").wait().ok().menu("File", "Exit");
        });
        row("Cancel after an insert empties it", insert + emptied, 1,
            [](W& w) { typedA(w).cancel().click("Command1").wait().ok().ok().click("Command3"); });
        row("a preview keeps the window", preview, 0, [](W& w) { typedA(w).click("Command2").wait(); });
    }

    void closing()
    {
        QFETCH(Steps, steps);
        QFETCH(int, closed);
        steps(f().show());
        QTEST(f().changes, "changes");
        QCOMPARE(f().closed, closed);
        QCOMPARE(f().window.isVisible(), closed == 0);
        const QString quit = "Current data is not saved, are you sure that you want to quit ?";
        for (const QString& asked : f().dialogs.shown.mid(1)) // after the name
            QCOMPARE(asked, message(quit, Question));
    }

    // A field and the name box hold one line of a text with line breaks (the rule's cases are the core's), pasted
    // or set, after what is there.
    void oneLineFields()
    {
        auto* field = f().add("Alt").control<QLineEdit>("Text1_5");
        QGuiApplication::clipboard()->setText("news.html\n");
        field->end(false);
        field->insert(" ");
        field->paste();
        QCOMPARE(field->text(), "Alt news.html");
        field->setText("two\r\nlines");
        QCOMPARE(field->text(), "two lines");
        QGuiApplication::clipboard()->setText("two\nlines\n");
        QTimer::singleShot(0, [] {
            auto* box = QApplication::activeModalWidget()->findChild<QLineEdit*>();
            box->selectAll();
            box->paste();
            qobject_cast<QDialog*>(QApplication::activeModalWidget())->accept();
        });
        QCOMPARE(QtDialogs().inputBox(nullptr, "Button name : ", "Add button", "Button1"), "two lines");
    }

    // Saving over a file that did not read completely keeps it as NAME~, once;
    // a file that read whole gets no copy. The whole set is saved, as named.
    void savingOverABrokenFileKeepsIt()
    {
        const QByteArray broken = readBytes(file("broken.rk2"));
        writeBytes(file("cut.rk2"), broken);
        f().ok().open("cut.rk2").save("cut.rk2").add("Next").save("cut.rk2");
        f().open("two.rk2").save("two.rk2").save("two");
        QCOMPARE(readBytes(file("cut.rk2~")), broken);
        const QStringList next = block("Next", {"#", "#", "#", "#", "#", "Next"});
        QCOMPARE(readBytes(file("cut.rk2")), TwoButtons + rk2(block("Last") + next));
        QCOMPARE(readBytes(file("two.rk2~")), "<missing>");
        QCOMPARE(readBytes(file("two")), TwoButtons);
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
