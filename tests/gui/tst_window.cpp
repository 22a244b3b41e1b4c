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
Q_DECLARE_METATYPE(Steps)

namespace {

using Exchange = PluginExchange::Field;

const QByteArray TwoButtons = rk2(QStringList{"[COMMON]", "C:\\p\\def.gif"} +
                                  block("Home", {"C:\\p\\h.gif", "#", "#", "index.htm", "#", "Home", "img"}) +
                                  block("News", {"C:\\p\\n.gif", "#", "#", "news.htm", "_top", "News", "img"}));

// What is disabled while there is no current button.
const QStringList NoButton = QString("Command1 Command2 Command5 Command6 Command7_0 Command7_1 "
                                     "Command7_2 Command7_7 Text1_0 Text1_1 Text1_2 Text1_3 "
                                     "Text1_4 Text1_5 Text1_6 Text1_7")
                                 .split(' ');

// A message box as the scripted dialogs record it: a question, a warning, an error.
const char* const Question = "|exclamation|okcancel";
const char* const Warning = "|exclamation|ok";
const char* const Error = "|critical|ok";
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

// The page of a set of one button "A" as added.
QString pageOfA(PageMode mode)
{
    ButtonSet set;
    set.Buttons[0] = rec("A", "", "", "A");
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

    // Until a button is added nothing can be edited, saved, cleared or given a
    // prefix, and nothing is published. A new button is named as asked
    // ("ButtonN" offered), takes its name as its Alt text and the prefix of the
    // one before, and can be edited.
    void adding()
    {
        f().add("");
        listIs({}, -1, true);
        QCOMPARE(f().changes, Changes());
        QCOMPARE(f().disabled(), NoButton);
        QVERIFY(!f().enabledInMenu("File", "SaveData"));
        QVERIFY(!f().enabledInMenu("File", "ClearAllData"));
        QVERIFY(!f().enabledInMenu("EditSet", "ChangeImgPrefix"));
        f().add("Home");
        QCOMPARE(f().dialog(), "input:Button name : |Add button|Button1");
        listIs({"Home"}, 0, false);
        QCOMPARE(f().fields(), fieldsOf("Home"));
        QCOMPARE(f().disabled(), QStringList());
        f().type(6, "a/").add("B").type(6, "b/").add("C");
        QCOMPARE(f().dialog(), "input:Button name : |Add button|Button3");
        QCOMPARE(f().fields(), fieldsOf("C", {{6, "b/"}}));
    }

    // The fields go into the button left when another is picked (or reached by
    // the arrow key), each into its own; picking alone changes nothing, and the
    // default image is the set's at once.
    void pickingStoresTheButtonLeft()
    {
        f().add("A").add("B").save("ab.rk2").pick(0).pick(1).pick(1).pick(0);
        listIs({"A", "B"}, 0, true);
        f().type(3, "a.htm").type(7, "C:\\d.gif");
        QCOMPARE(f().record(0), rec("A", "", "", "A"));
        QCOMPARE(f().set().DefaultDescriptionImage, "C:\\d.gif");
        listIs({"A", "B"}, 0, false);
        QCOMPARE(f().down().record(0), rec("A", "a.htm", "", "A"));
        listIs({"A", "B"}, 1, false);
        QCOMPARE(f().fields(), fieldsOf("B", {{7, "C:\\d.gif"}}));
        for (int i = 0; i < 7; ++i)
            f().type(i, QString("ovdutap")[i]);
        QCOMPARE(f().pick(0).record(1), rec("B", "u", "t", "a", "p", "o", "v", "d"));
    }

    // Renaming asks with the name as it is, renames the entry and the button and
    // fills an empty Alt field; an empty answer changes nothing.
    void renaming()
    {
        f().add("A").type(5, "Alt").input("R").click("Command5");
        QCOMPARE(f().dialog(), "input:Enter new name:|Edit button name|A");
        QCOMPARE(f().pick(0).record(0), rec("R", "", "", "Alt"));
        QCOMPARE(f().type(5, "").input("S").click("Command5").fields(), fieldsOf("S"));
        f().add("B").add("C").pick(1).input("T").click("Command5");
        listIs({"S", "T", "C"}, 1, false);
        QCOMPARE(f().record(2), rec("C", "", "", "C"));
        f().save("a.rk2").input("").click("Command5");
        listIs({"S", "T", "C"}, 1, true);
    }

    // Removing asks first; the buttons after move up and the last one listed is
    // current; removing the last button empties the set, saved.
    void removing()
    {
        f().add("A").add("B").add("C").save("three.rk2").pick(0).cancel().click("Command6");
        listIs({"A", "B", "C"}, 0, true);
        f().ok().click("Command6");
        QCOMPARE(f().dialog(), message("Are you sure you want to clear \"A\" ?", Question, "Clear all data ?"));
        listIs({"B", "C"}, 1, false);
        QCOMPARE(f().record(2), ButtonRecord());
        f().type(3, "c.htm").pick(0);
        QCOMPARE(f().record(0), rec("B", "", "", "B"));
        QCOMPARE(f().record(1), rec("C", "c.htm", "", "C"));
        f().ok().click("Command6").type(7, "C:\\d.gif").ok().click("Command6");
        listIs({}, -1, true);
        QCOMPARE(f().record(0), ButtonRecord());
        QCOMPARE(f().fields(), QStringList(8));
        QCOMPARE(f().set().DefaultDescriptionImage, QString());
        QCOMPARE(f().disabled(), NoButton);
    }

    // A nameless button ends the list: removing and the new prefix stop there.
    void aNamelessButtonEndsTheList()
    {
        f().open("gap.rk2").input("new").menu("EditSet", "ChangeImgPrefix");
        QCOMPARE(f().record(1), rec("B", "", "", "", "new"));
        QCOMPARE(f().record(3), rec("D", "", "", "", "old"));
        f().ok().click("Command6");
        listIs({"B"}, 0, false);
        QCOMPARE(f().record(2), rec("D", "", "", "", "old"));
    }

    // The new prefix is asked with the current button's stored one, and given
    // to every button and the field; an empty answer, or one starting with CR,
    // changes nothing.
    void newPrefix_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* rule, const char* answer, const char* stored, const char* shown) {
            QTest::newRow(rule) << QString(answer) << QString(stored) << QString(shown);
        };
        row("every button gets it", "img/", "img/", "img/");
        row("an empty answer changes nothing", "", "old", "typed");
        row("an answer starting with CR changes nothing", "\rimg", "old", "typed");
    }

    void newPrefix()
    {
        QFETCH(QString, answer);
        QFETCH(QString, stored);
        f().add("A").type(6, "old").add("B").add("C").pick(1).type(6, "typed");
        f().input(answer).menu("EditSet", "ChangeImgPrefix");
        QCOMPARE(f().dialog(), "input:New prefix : |Change prefix on all buttons to:|old");
        QCOMPARE(f().record(0), rec("A", "", "", "A", stored));
        QCOMPARE(f().record(2), rec("C", "", "", "C", stored));
        QTEST(f().fields()[6], "shown");
    }

    // Clearing asks only for an unsaved set, and forgets the buttons, the
    // default image and the file.
    void clearingAll()
    {
        f().add("A").type(7, "C:\\d.gif").save("m.rk2").menu("File", "ClearAllData");
        listIs({}, -1, true);
        QCOMPARE(f().set().DefaultDescriptionImage, QString());
        QCOMPARE(f().dataFile(), QString());
        f().add("B").save("m.rk2").type(3, "x").cancel().menu("File", "ClearAllData");
        QCOMPARE(f().dialog(), message("Do you want to clear all data ?", Question, "Clear all data ?"));
        listIs({"B"}, 0, false);
        QCOMPARE(f().dataFile(), "m.rk2");
        f().ok().menu("File", "ClearAllData");
        listIs({}, -1, true);
        QCOMPARE(f().dataFile(), QString());
        f().add("C").save("");
        QCOMPARE(f().dialog(), "save:Save datafile|Rollcraft2 (*.rk2)|*.rk2|Rollcraft2_untitled");
    }

    // Copying images needs a picture in the stored set; opening the File menu stores.
    void menusEnabledByTheSet()
    {
        f().open("none.rk2");
        QCOMPARE(f().set().DefaultDescriptionImage, "C:\\p\\def.gif");
        QCOMPARE(f().fields(), QStringList(8));
        QCOMPARE(f().disabled(), NoButton);
        QVERIFY(!f().enabledInMenu("Special", "CopyImagesToPath"));
        fresh();
        QVERIFY(f().add("A").type(7, "C:\\d.gif").enabledInMenu("Special", "CopyImagesToPath"));
        fresh();
        QVERIFY(!f().add("A").type(0, "C:\\a.gif").enabledInMenu("Special", "CopyImagesToPath"));
        QVERIFY(f().enabledInMenu("File", "SaveData"));
        QVERIFY(f().enabledInMenu("Special", "CopyImagesToPath"));
        QVERIFY(f().enabledInMenu("File", "ClearAllData"));
        QVERIFY(f().enabledInMenu("EditSet", "ChangeImgPrefix"));
    }

    // A file opens with ".rk2" added, its first button current; an unsaved set is
    // asked about first; a cancelled or failed choice keeps the set.
    void opening()
    {
        f().add("Mine").ok().open("");
        QCOMPARE(f().dialog(1), message("Current data is not saved, open new datafile ?", Question));
        QCOMPARE(f().dialog(), "open:Open datafile|Rollcraft2 (*.rk2)|*.rk2|");
        listIs({"Mine"}, 0, false);
        f().ok().open("two");
        QCOMPARE(f().dataFile(), "two.rk2");
        listIs({"Home", "News"}, 0, true);
        QCOMPARE(f().fields(), (QStringList{"C:\\p\\h.gif", "", "", "index.htm", "", "Home", "img", "C:\\p\\def.gif"}));
        f().type(3, "x").ok().ok().open("!");
        QCOMPARE(f().dialog(), message("ERROR! Unable to open file!", Error));
        listIs({"Home", "News"}, 0, false);
    }

    // A broken file keeps what was read, with no current button, so the first
    // pick stores nothing; a FIFO keeps nobody waiting for a writer.
    void openingABrokenFile()
    {
        f().add("Old").type(3, "old.htm").ok().ok().open("broken.rk2");
        QCOMPARE(f().dialog(), message("ERROR! Unable to open file.", Error));
        listIs({"Home", "News", "Last"}, -1, true);
        QCOMPARE(f().fields(), QStringList(8));
        QCOMPARE(f().disabled(), NoButton);
        QCOMPARE(f().set().DefaultDescriptionImage, "C:\\p\\def.gif");
        QCOMPARE(f().dataFile(), "broken.rk2");
        QCOMPARE(f().pick(1).record(0), rec("Home", "index.htm", "", "Home", "img", "C:\\p\\h.gif"));
        QCOMPARE(f().ok().open("fifo.rk2").dialog(), message("ERROR! Unable to open file.", Error));
        listIs({}, -1, true);
    }

    // A save offers the file's name; one that fails says so and leaves the set
    // unsaved and the earlier file as it was (a line break reaching the writer).
    void saving()
    {
        QCOMPARE(f().add("A").ok().save("!").dialog(), message("ERROR! Unable to save file!", Error));
        listIs({"A"}, 0, false);
        QCOMPARE(f().dataFile(), QString());
        f().ok().save("none.rk2/a.rk2");
        QCOMPARE(f().dialog(), message("ERROR! Unable to save file.", Error));
        QCOMPARE(f().dataFile(), "none.rk2/a.rk2");
        f().save("lb.rk2").save("");
        QCOMPARE(f().dialog(), "save:Save datafile|Rollcraft2 (*.rk2)|*.rk2|lb.rk2");
        listIs({"A"}, 0, true);
        f().add("X\nY").ok().save("lb.rk2");
        QCOMPARE(f().dialog(), message("ERROR! Unable to save file.", Error));
        listIs({"A", "X\nY"}, 1, false);
        f().ok().open("lb.rk2");
        listIs({"A"}, 0, true);
    }

    // A hundredth button is the last; adding still stores the current one.
    void aHundredButtons()
    {
        for (int i = 0; i < MaxButtons; ++i)
            f().add("B");
        f().type(3, "last.htm").ok().click("Command4");
        QCOMPARE(f().record(99), rec("B", "last.htm", "", "B"));
        QCOMPARE(f().dialog(), message("You already have 100 buttons !", Warning));
    }

    // Preview stores the current button and publishes the preview page, untitled;
    // Insert stores it and publishes the page, titled with the time.
    void publishing()
    {
        f().add("Home").type(0, "C:\\h.gif").type(3, "index.htm").click("Command2");
        QCOMPARE(f().record(0), rec("Home", "index.htm", "", "Home", "", "C:\\h.gif"));
        QCOMPARE(f().exchange(Exchange::SCRIPT), buildPage(f().set(), PageMode::Preview));
        QCOMPARE(f().exchange(Exchange::SCRIPTTYPE), QString());
        f().type(3, "home.htm").ok().click("Command1").wait();
        QCOMPARE(f().record(0).Url, "home.htm");
        QCOMPARE(f().exchange(Exchange::SCRIPT), buildPage(f().set(), PageMode::Page));
        QCOMPARE(f().exchange(Exchange::SCRIPTTYPE), "Rollcraft II 09-01-26 - 19-05-03");
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
                addWith(w, "A", {"", ""}).type(1, "/v.gif").chooseImage("/o.gif");
                w.click("Command7_0");
            });
        row("MouseOver goes on to Description", {out, byDefault, over, description},
            fieldsOf("A", {{1, "/v.gif"}, {2, "/d.gif"}}), [](W& w) {
                addWith(w, "A", {"", ""}).chooseImage("/v.gif").chooseImage("/d.gif");
                w.click("Command7_1");
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

    // Without the wizard a chooser asks alone; the picture goes into its field, a
    // name not ending in GIF or JPG (in any case) is warned about, a chooser that
    // fails says so.
    void choosingAPicture_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("told");
        const auto row = [](const char* rule, const QString& chosen, const QString& told) {
            QTest::newRow(rule) << chosen << told;
        };
        const QString format = "The imageformat you have choosen,might not work in a browser !";
        row("GIF in any case", "/p/photo.Gif", "");
        row("JPG", "/p/B.JPG", "");
        row("only the last three letters count", "/p/a.jpeg", message(format, Warning));
        row("a failed chooser changes nothing", "!", message("ERROR! Unable to get image path!", Error));
    }

    void choosingAPicture()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, told);
        f().add("A").save("a.rk2").chooseImage(chosen);
        if (!told.isEmpty())
            f().ok();
        QCOMPARE(f().click("Command7_1").choosers(), QStringList{"MouseOver"});
        if (!told.isEmpty())
            QCOMPARE(f().dialog(), told);
        QCOMPARE(f().fields(), fieldsOf("A", {{1, chosen == "!" ? "" : chosen}}));
        QCOMPARE(f().saved(), chosen == "!");
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
            [](W& w) { w.add("A").click("Command2").wait().ok().close(); });
        row("closing ends a preview on its way", preview.mid(0, 2) + emptied, 1,
            [](W& w) { w.add("A").click("Command2").ok().close().wait(); });
        row("Cancel empties the page, closing again", emptied + emptied, 1, [](W& w) { w.click("Command3"); });
        row("a close refused after Cancel", emptied, 0, [](W& w) { w.add("A").ok().cancel().click("Command3"); });
        row("Cancel refused", {}, 0, [](W& w) { w.add("A").cancel().click("Command3"); });
        row("Insert closes a timer's tick later", insert, 1, [](W& w) { w.add("A").ok().click("Command1").wait(); });
        row("a refused close keeps the page", insert, 0, [](W& w) { w.add("A").cancel().click("Command1").wait(); });
        row("closing after an insert keeps its page", insert + preview, 1, [](W& w) {
            w.add("A").cancel().click("Command1").wait();
            w.click("Command2").wait().ok().menu("File", "Exit");
        });
        row("Cancel after an insert empties it", insert + emptied, 1,
            [](W& w) { w.add("A").cancel().click("Command1").wait().ok().ok().click("Command3"); });
        row("a preview keeps the window", preview, 0, [](W& w) { w.add("A").click("Command2").wait(); });
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

    // A field and the name box hold one line of a text with line breaks
    // (the rule's cases are the core's), pasted or set, after what is there.
    void oneLineFields_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("held");
        const auto row = [](const char* rule, const char* how, const char* text, const char* held) {
            QTest::newRow(rule) << QString(how) << QString(text) << QString(held);
        };
        row("paste into a field", "paste", "news.html\n", "Alt news.html");
        row("set a field", "set", "two\r\nlines", "two lines");
        row("paste into the name box", "box", "two\nlines\n", "two lines");
    }

    void oneLineFields()
    {
        QFETCH(QString, how);
        QFETCH(QString, text);
        QGuiApplication::clipboard()->setText(text);
        QString held;
        if (how == "box") {
            QTimer::singleShot(0, [] {
                auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
                box->findChild<QLineEdit*>()->selectAll();
                box->findChild<QLineEdit*>()->paste();
                box->accept();
            });
            held = QtDialogs().inputBox(nullptr, "Button name : ", "Add button", "Button1");
        } else {
            auto* field = f().add("Alt").control<QLineEdit>("Text1_5"); // holding "Alt"
            field->end(false);
            field->insert(" ");
            how == "set" ? field->setText(text) : field->paste();
            held = field->text();
        }
        QTEST(held, "held");
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

private:
    // The list shows `names`, `current` selected and current; the set is saved or not.
    void listIs(const QStringList& names, int current, bool saved)
    {
        QCOMPARE(f().listed(), names);
        QCOMPARE(f().selected(), current);
        QCOMPARE(f().currentIndex(), current);
        QCOMPARE(f().saved(), saved);
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
