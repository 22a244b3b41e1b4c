// SPDX-License-Identifier: GPL-3.0-or-later
#include "aboutwindow.h"
#include "demomenu.h"
#include "qtdialogs.h"
#include "testfiles.h"
#include "windowdriver.h"

#include <QtTest>
#include <QtWidgets>
#include <sys/stat.h>

namespace {
const QByteArray TwoButtons =
    rk2(QStringList{"[COMMON]", "C:\\p\\def.gif"} +
        block("Home", {"C:\\p\\h.gif", "#", "#", "index.htm", "#", "Home", "img"}) +
        block("News", {"C:\\p\\n.gif", "#", "#", "news.htm", "_top", "News", "img"}));
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
            QCOMPARE(TWKPLUGIN(f().dialogs).findChild<QAction*>("AutoImage")->isChecked(),
                     !s.endsWith("False"));
        }
        f().run("menu File AutoImage");
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

    // Each row: what the user does, what the window then holds (WindowFixture).
    void steps_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        const auto row = [](const QString& steps, const QString& expected) {
            QTest::newRow(qPrintable(steps.left(200))) << steps << expected;
        };
        const QString critical = "|TWKPLUGIN|critical|ok", warns = "|exclamation|";
        const QString two = "add A; add B; save ab.rk2; pick 0; ";
        row(two + "pick 1; pick 1; pick 0", "state=[A],B 0 saved");
        row(two + "type 3 a.htm; type 7 C:\\d.gif",
            "0=A|||A||||; default=C:\\d.gif; state=[A],B 0 unsaved");
        row(two + "type 3 a.htm; type 7 C:\\d.gif; down",
            "0=A|a.htm||A||||; state=A,[B] 1 unsaved; fields=|||||B||C:\\d.gif");
        row("add A; type 0 o; type 1 v; type 2 d; type 3 u; type 4 t; type 5 a; type 6 p; pick 0",
            "0=A|u|t|a|p|o|v|d");
        row("add", "state= -1 saved; changes=; off=editing; menu:File/SaveData=no; "
                   "menu:File/ClearAllData=no; menu:EditSet/ChangeImgPrefix=no");
        row("add Home", "dialog=input:Button name : |Add button|Button1; state=[Home] 0 unsaved; "
                        "fields=|||||Home||; off=");
        row("add A; type 6 a/; add B; type 6 b/; add C",
            "fields=|||||C|b/|; dialog=input:Button name : |Add button|Button3");
        row("add A; type 5 Alt; input R; click Command5; pick 0",
            "dialog=input:Enter new name:|Edit button name|A; 0=R|||Alt||||; state=[R] 0 unsaved");
        row("add A; type 5; input R; click Command5", "fields=|||||R||");
        row("add A; add B; add C; pick 1; input R; click Command5",
            "state=A,[R],C 1 unsaved; 2=C|||C||||");
        row("add A; save a.rk2; input; click Command5", "state=[A] 0 saved");
        const QString three = "add A; add B; add C; save three.rk2; ";
        row(three + "pick 1; ok; click Command6",
            "dialog=Are you sure you want to clear \"B\" ?|Clear all data ?" + warns +
                "okcancel; state=A,[C] 1 unsaved; 2=|||||||");
        // After a removal the last one is current.
        row(three + "pick 0; ok; click Command6; type 3 c.htm; pick 0",
            "1=C|c.htm||C||||; 0=B|||B||||; state=[B],C 0 unsaved");
        row(three + "pick 0; cancel; click Command6", "state=[A],B,C 0 saved");
        row("add A; type 7 C:\\d.gif; ok; click Command6",
            "state= -1 saved; fields=|||||||; 0=|||||||; default=; off=editing");
        // A nameless button ends the list.
        row("open gap.rk2; ok; click Command6", "state=[B] 0 unsaved; 2=D||||old|||");
        row("open gap.rk2; input new; menu EditSet ChangeImgPrefix",
            "1=B||||new|||; 3=D||||old|||");
        row("add A; type 7 C:\\d.gif; save m.rk2; menu File ClearAllData; add B; save",
            "default=; dialog=save:Save datafile|Rollcraft2 (*.rk2)|*.rk2|Rollcraft2_untitled");
        row("add A; save m.rk2; type 3 x; cancel; menu File ClearAllData",
            "dialog=Do you want to clear all data ?|Clear all data ?" + warns +
                "okcancel; state=[A] 0 unsaved; file=m.rk2");
        row("add A; save m.rk2; type 3 x; ok; menu File ClearAllData", "state= -1 saved; file=");
        const QString prefixes = "add A; type 6 old; add B; add C; pick 1; type 6 typed; input ";
        row(prefixes + "img/; menu EditSet ChangeImgPrefix",
            "dialog=input:New prefix : |Change prefix on all buttons to:|old; 0=A|||A|img/|||; "
            "2=C|||C|img/|||; fields=|||||B|img/|");
        // An empty answer, or one starting with CR, changes nothing.
        row(prefixes + "; menu EditSet ChangeImgPrefix", "0=A|||A|old|||; fields=|||||B|typed|");
        row(prefixes + "\rimg; menu EditSet ChangeImgPrefix", "0=A|||A|old|||");
        row("add A; type 7 C:\\d.gif", "menu:Special/CopyImagesToPath=yes");
        // Opening the File menu stores.
        row("add A; type 0 C:\\a.gif",
            "menu:Special/CopyImagesToPath=no; menu:File/SaveData=yes; "
            "menu:Special/CopyImagesToPath=yes; menu:File/ClearAllData=yes; "
            "menu:EditSet/ChangeImgPrefix=yes");
        row("open none.rk2", "default=C:\\p\\def.gif; fields=|||||||; off=editing; "
                             "menu:Special/CopyImagesToPath=no");
        row("open two", "file=two.rk2; state=[Home],News 0 saved; "
                        "fields=C:\\p\\h.gif|||index.htm||Home|img|C:\\p\\def.gif");
        row("add Mine; ok; open",
            "dialog:1=Current data is not saved, open new datafile ?|TWKPLUGIN" + warns +
                "okcancel; dialog=open:Open datafile|Rollcraft2 (*.rk2)|*.rk2|; "
                "state=[Mine] 0 unsaved");
        // A broken file keeps what was read; its first pick stores nothing.
        row("add Old; type 3 old.htm; ok; open broken.rk2; ok",
            "dialog=ERROR! Unable to open file." + critical +
                "; state=Home,News,Last -1 saved; fields=|||||||; off=editing; "
                "default=C:\\p\\def.gif; file=broken.rk2");
        // A FIFO keeps nobody waiting for a writer.
        row("open fifo.rk2; ok",
            "dialog=ERROR! Unable to open file." + critical + "; state= -1 saved");
        // A line break that reaches the writer fails the save; the earlier file stays.
        row("add A; save lb.rk2; add X\nY; save lb.rk2; ok",
            "dialog=ERROR! Unable to save file." + critical + "; state=A,[X\nY] 1 unsaved");
        row("add A; save lb.rk2; add X\nY; save lb.rk2; ok; ok; open lb.rk2", "state=[A] 0 saved");
        row("open broken.rk2; ok; pick 1", "0=Home|index.htm||Home|img|C:\\p\\h.gif||");
        row("add A; ok; open !; ok",
            "dialog=ERROR! Unable to open file!" + critical + "; state=[A] 0 unsaved");
        row("add A; save !; ok",
            "dialog=ERROR! Unable to save file!" + critical + "; state=[A] 0 unsaved; file=");
        row("add A; save none.rk2/a.rk2; ok", "dialog=ERROR! Unable to save file." + critical +
                                                  "; state=[A] 0 unsaved; file=none.rk2/a.rk2");
        row("add A; save m.rk2; save",
            "dialog=save:Save datafile|Rollcraft2 (*.rk2)|*.rk2|m.rk2; state=[A] 0 saved");
        row(QString("add B; ").repeated(MaxButtons) + "type 3 last.htm; ok; click Command4",
            "99=B|last.htm||B||||; dialog=You already have 100 buttons !|TWKPLUGIN" + warns + "ok");
        row("add Home; type 3 index.htm; click Command1; ok; wait",
            "0=Home|index.htm||Home||||; script=page; title=Rollcraft II 09-01-26 - 19-05-03");
        // A preview page shows a button's link only when it has a MouseOut image.
        row("add Home; type 0 C:\\h.gif; type 3 index.htm; click Command2",
            "0=Home|index.htm||Home||C:\\h.gif||; script=preview; title=");
        // The choosers the wizard chains ("file" alone cancels one); other formats' warning.
        const QString wizard = "menu File AutoImage; add A; ";
        row(wizard + "file /o.gif; file /v.gif; file /d.gif; file /x.gif",
            "choosers=MouseOut,MouseOver,Description,Default description; "
            "fields=/o.gif|/v.gif|/d.gif|||A||/x.gif; default=/x.gif");
        row(wizard + "file /o.gif; file; file", "choosers=MouseOut,MouseOver,Default description");
        row(wizard + "file; file /x.gif; add B; file",
            "choosers=MouseOut,Default description,MouseOut");
        row(wizard + "file; file; type 1 /v.gif; click Command7_0; file /o.gif",
            "choosers=MouseOut,Default description,MouseOut");
        row(wizard + "file; file; click Command7_1; file /v.gif; file /d.gif",
            "choosers=MouseOut,Default description,MouseOver,Description");
        row(wizard + "file; file; click Command7_2; file /d.gif",
            "choosers=MouseOut,Default description,Description");
        row("add A; click Command7_0; file /o.gif", "choosers=MouseOut; fields=/o.gif|||||A||");
        const QString chosen = "add A; save a.rk2; click Command7_2; file /p/";
        for (const QString name : {"a.gif", "photo.Gif", "B.JPG"})
            row(chosen + name, "fields=||/p/" + name + "|||A||; state=[A] 0 unsaved");
        for (const QString name : {"a.jpeg", "a.png"})
            row(chosen + name + "; ok",
                "dialog=The imageformat you have choosen,might not work in a browser !|TWKPLUGIN" +
                    warns + "ok; fields=||/p/" + name + "|||A||");
        row("add A; save a.rk2; click Command7_2; file !; ok",
            "dialog=ERROR! Unable to get image path!" + critical + "; state=[A] 0 saved");
        // Closing, shown: each exchange field change, and whether the sequence ended.
        const QString emptied = "SCRIPT=,SCRIPTTYPE=";
        const QString preview = "SCRIPT=,SCRIPT=<html>,PREVIEW=PREVIE,PREVIEW=";
        const QString insert = "SCRIPTTYPE=Rollcr,SCRIPT=,SCRIPT=<html>";
        const auto closing = [&row](const QString& steps, const QString& changes, const char* n) {
            row("show; " + steps, "changes=" + changes + "; closed=" + n);
        };
        row("show; add A; menu File Exit; cancel",
            "dialog=Current data is not saved, are you sure that you want to quit ?|TWKPLUGIN" +
                warns + "okcancel; changes=; closed=0");
        closing("menu File Exit", emptied, "1");
        closing("add A; click Command2; wait; close; ok", preview + ',' + emptied, "1");
        closing("add A; click Command2; close; ok; wait", "SCRIPT=,SCRIPT=<html>," + emptied, "1");
        closing("click Command3", emptied + ',' + emptied, "1");
        closing("add A; click Command3; ok; cancel", emptied, "0");
        closing("add A; click Command3; cancel", "", "0");
        // Insert closes a timer's tick later; a refused close keeps the page.
        closing("add A; click Command1; ok; wait", insert, "1");
        closing("add A; click Command1; cancel; wait", insert, "0");
        closing("add A; click Command1; cancel; wait; click Command2; wait; menu File Exit; ok",
                insert + ',' + preview, "1");
        closing("add A; click Command1; cancel; wait; click Command3; ok; ok",
                insert + ',' + emptied, "1");
        closing("add A; click Command2; wait", preview, "0");
    }

    void steps() { check(); }

    // A field and the name box hold one line of a text with line breaks
    // (the rule's cases are the core's), pasted or set, after what is there.
    void oneLineFields_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("held");
        // clang-format off
        QTest::newRow("paste into a field") << "paste" << "news.html\n" << "Alt news.html";
        QTest::newRow("set a field") << "set" << "two\r\nlines" << "two lines";
        QTest::newRow("paste into the name box") << "box" << "two\nlines\n" << "two lines";
        // clang-format on
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
            f().run("add Alt"); // the Alt field holds "Alt"
            auto* field = f().control<QLineEdit>("Text1_5");
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
        f().run("open cut.rk2; ok; save cut.rk2; add Next; save cut.rk2; open two.rk2; "
                "save two.rk2; save two");
        QCOMPARE(readBytes(file("cut.rk2~")), broken);
        QCOMPARE(readBytes(file("cut.rk2")),
                 TwoButtons +
                     rk2(block("Last") + block("Next", {"#", "#", "#", "#", "#", "Next"})));
        QCOMPARE(readBytes(file("two.rk2~")), "<missing>");
        QCOMPARE(readBytes(file("two")), TwoButtons);
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
