// SPDX-License-Identifier: GPL-3.0-or-later
#include "aboutwindow.h"
#include "demomenu.h"
#include "fullscreenviewer.h"
#include "previewpicture.h"
#include "qtdialogs.h"
#include "windowdriver.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// What a screen reader hears of a window: each control, by object name (by
// class for Qt's unnamed parts), as "Role name - description"; and the
// controls a user reaches (focus or an action) or looks at (a picture) that
// have no name or one another such control has. Qt's own pictures (a message
// box's icon, named qt_...) are Qt's to name.
struct Heard {
    QMap<QString, QString> controls;
    QStringList problems;
};

void listen(QAccessibleInterface* node, Heard& heard, QMap<QString, QString>& reachable)
{
    QObject* object = node->object();
    if (!object || node->state().invisible)
        return;
    const QString key =
        object->objectName().isEmpty() ? object->metaObject()->className() : object->objectName();
    QString text = QMetaEnum::fromType<QAccessible::Role>().valueToKey(node->role()) +
                   (' ' + node->text(QAccessible::Name));
    if (const QString description = node->text(QAccessible::Description); !description.isEmpty())
        text += " - " + description;
    heard.controls.insert(key, text);
    const QAccessibleActionInterface* actions = node->actionInterface();
    if (node->state().focusable || (actions && !actions->actionNames().isEmpty()) ||
        (node->role() == QAccessible::Graphic && !key.startsWith("qt_"))) {
        const QString name = node->text(QAccessible::Name);
        if (name.isEmpty() || reachable.contains(name))
            heard.problems << key + " is called \"" + name + "\" like " + reachable.value(name);
        reachable.insert(name, key);
    }
    for (int i = 0; i < node->childCount(); ++i)
        listen(node->child(i), heard, reachable);
}

Heard hear(QWidget* window)
{
    Heard heard;
    QMap<QString, QString> reachable;
    if (window)
        listen(QAccessible::queryAccessibleInterface(window), heard, reachable);
    return heard;
}

QWidget* viewer()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<FullScreenViewer*>(w) && w->isVisible())
            return w;
    return nullptr;
}

void press(QWidget* control)
{
    QAccessible::queryAccessibleInterface(control)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
}

} // namespace

// Every window as a screen reader hears it, through Qt's accessibility
// interfaces; what goes over the desktop's bus is tests/e2e/tst_atspi.
class TestAccessible : public WindowTest {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkRed);
        QVERIFY(picture.save(file("ok.png")));
    }

    void names_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("heard");
        const auto row = [](const char* window, const char* control, const QString& heard) {
            QTest::newRow(qPrintable(QString(window) + ' ' + control))
                << window << control << heard;
        };
        const char* fields[] = {"MouseOut image",
                                "MouseOver image",
                                "Description image",
                                "Url",
                                "Target",
                                "Alt",
                                "Image path prefix",
                                "Default description image"};
        for (int i = 0; i < 8; ++i)
            row("main", qPrintable(QString("Text1_%1").arg(i)),
                QString("EditableText %1:").arg(fields[i]));
        for (int i : TWKPLUGIN::PreviewFields) {
            row("main", qPrintable(QString("Command7_%1").arg(i)),
                QString("Button Choose the %1").arg(fields[i]));
            row("main", qPrintable(QString("Image1_%1").arg(i)),
                QString("Graphic %1 preview - Click to view in fullscreen").arg(fields[i]));
        }
        row("main", "Combo1", "ComboBox Buttons");
        row("main", "DirBrowser1", "Graphic Folder browser");
        // Qt names a list by the entry it shows, the label comes by relation.
        row("failed", "Combo1", "ComboBox A");
        row("failed", "Image1_2",
            "Graphic Description image preview: UNABLE TO LOAD IMAGE! - Click to view in "
            "fullscreen");
        // One of each kind; reachableNamedOnce() holds the others to a name of their own.
        row("demo", "Image1_1",
            "Graphic ABOUT? button, MouseOver image - Dark red bar, the word ABOUT? in yellow "
            "capitals");
        row("demo", "Picture1_2", "Graphic Description area of the demo menu");
        row("about", "Command1", "Button OK");
        // The viewer opened by the preview's press action, as a screen reader does.
        row("viewer", "Form1", "Client Full-screen view of " + file("ok.png"));
        row("viewer", "Image1", "Graphic " + file("ok.png") + " - Click to return");
        row("message", "qt_msgbox_label", "StaticText Overwrite ?");
        row("input", "QLineEdit", "EditableText Button name : ");
        row("folder", "fileNameEdit", "EditableText Directory:");
        row("progress", "QProgressDialog", "Dialog TWKPLUGIN");
        row("progress", "QProgressBar", "ProgressBar Progress");
    }

    void names()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QTEST(open(window).controls.value(control), "heard");
    }

    void reachableNamedOnce_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* window : {"main", "failed", "demo", "about", "viewer", "message", "input",
                                   "folder", "progress"})
            QTest::newRow(window) << window;
    }

    // Every control a user can reach or look at has a name of its own.
    void reachableNamedOnce()
    {
        QFETCH(QString, window);
        const Heard heard = open(window);
        QVERIFY(!heard.controls.isEmpty());
        QVERIFY2(heard.problems.isEmpty(), qPrintable(heard.problems.join("; ")));
    }

    // The previews are reached by their press action, not by Tab: the Tab
    // chain stays as the form sets it.
    void tabChain()
    {
        f().run("show; add A");
        QStringList chain;
        QWidget* const first = f().control("Command1");
        QWidget* w = first;
        do {
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != first);
        QCOMPARE(chain.join(' '), "Command1 Command2 Command3 Combo1 Command4 Command5 Command6 "
                                  "Text1_0 Command7_0 Text1_3 Text1_4 Text1_5 Text1_6 Command7_1 "
                                  "Text1_1 Command7_2 Text1_2 Command7_7 Text1_7 Command8");
    }

private:
    // Opens `window` and hears it; dialogs shown modally are heard while open.
    Heard open(const QString& window)
    {
        fresh();
        f().window.show();
        if (window == "failed")
            f().run("add A; type 2 " + file("missing.gif"));
        if (window == "main" || window == "failed")
            return hear(&f().window);
        if (window == "demo") {
            DemoMenu demo(f().dialogs, &f().window);
            demo.show();
            return hear(&demo);
        }
        if (window == "about") {
            AboutWindow about(&f().window);
            about.show();
            return hear(&about);
        }
        if (window == "viewer") {
            f().run("add A; type 0 " + file("ok.png"));
            press(f().window.Image1(0));
            const Heard heard = hear(viewer());
            delete viewer();
            return heard;
        }
        QtDialogs dialogs;
        if (window == "progress") {
            (void)dialogs.progress(&f().window, "Copying images: 0 of 4", 0, 4);
            // It shows from the event loop, as the copy runs on another thread.
            auto* progress = f().window.findChild<QProgressDialog*>();
            static_cast<void>(QTest::qWaitFor([progress] { return progress->isVisible(); }));
            return hear(progress);
        }
        Heard heard;
        QTimer::singleShot(0, [&heard] {
            heard = hear(QApplication::activeModalWidget());
            QApplication::activeModalWidget()->close();
        });
        if (window == "message")
            dialogs.messageBox(&f().window, "Overwrite ?", "TWKPLUGIN", Dialogs::Icon::Question,
                               Dialogs::Buttons::YesNoCancel);
        else if (window == "input")
            (void)dialogs.inputBox(&f().window, "Button name : ", "Add button", "Button1");
        else
            (void)dialogs.chooseFolder(&f().window, "Destination folder:");
        return heard;
    }
};

QTEST_MAIN(TestAccessible)
#include "tst_accessible.moc"
