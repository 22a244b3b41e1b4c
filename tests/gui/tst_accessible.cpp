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

// What a screen reader hears of a window: each control, by object name (or
// class), as "Role name - description"; as problems, the controls reached
// (focus, an action) or looked at (a picture, but Qt's own qt_...) that have
// no name or the name of another.
struct Heard {
    QMap<QString, QString> controls, reachable;
    QStringList problems;

    explicit Heard(QWidget* window) { listen(QAccessible::queryAccessibleInterface(window)); }
    void listen(QAccessibleInterface* node)
    {
        QObject* object = node ? node->object() : nullptr;
        if (!object || node->state().invisible)
            return;
        const QString key = object->objectName().isEmpty() ? object->metaObject()->className() : object->objectName();
        const QString name = node->text(QAccessible::Name);
        const QString description = node->text(QAccessible::Description);
        controls.insert(key, QMetaEnum::fromType<QAccessible::Role>().valueToKey(node->role()) + (' ' + name) +
                                 (description.isEmpty() ? "" : " - " + description));
        const QAccessibleActionInterface* actions = node->actionInterface();
        if (node->state().focusable || (actions && !actions->actionNames().isEmpty()) ||
            (node->role() == QAccessible::Graphic && !key.startsWith("qt_"))) {
            if (name.isEmpty() || reachable.contains(name))
                problems << key + " is called \"" + name + "\" like " + reachable.value(name);
            reachable.insert(name, key);
        }
        for (int i = 0; i < node->childCount(); ++i)
            listen(node->child(i));
    }
};

// What is heard of each control named.
using Said = QMap<QString, QString>;

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

    // Each row: a window, what is heard of some of its controls; every reachable
    // control has its own name.
    void heard_data()
    {
        QTest::addColumn<Said>("heard");
        const auto row = [](const char* window, const Said& heard) { QTest::newRow(window) << heard; };
        const QStringList fields = QString("MouseOut image,MouseOver image,Description image,Url,"
                                           "Target,Alt,Image path prefix,Default description image")
                                       .split(',');
        Said main{{"Combo1", "ComboBox Buttons"}, {"DirBrowser1", "Graphic Folder browser"}};
        for (int i = 0; i < 8; ++i)
            main.insert(QString("Text1_%1").arg(i), "EditableText " + fields[i] + ':');
        for (int i : TWKPLUGIN::PreviewFields) {
            main.insert(QString("Command7_%1").arg(i), "Button Choose the " + fields[i]);
            main.insert(QString("Image1_%1").arg(i), "Graphic " + fields[i] + " preview - Click to view in fullscreen");
        }
        row("main", main);
        // One picture of each kind; the others are held to a name of their own.
        row("demo", {{"Image1_1", "Graphic ABOUT? button, MouseOver image - Dark red bar, the word ABOUT? in yellow "
                                  "capitals"},
                     {"Picture1_2", "Graphic Description area of the demo menu"}});
        row("about", {{"Command1", "Button OK"}});
        // Opened by the preview's press action, as a screen reader does.
        row("viewer", {{"Image1", "Graphic " + file("ok.png") + " - Click to return"}});
        // Of the Qt dialogs, the two it sets up itself.
        row("folder", {{"fileNameEdit", "EditableText Directory:"}});
        row("progress", {{"QProgressDialog", "Dialog TWKPLUGIN"}, {"QProgressBar", "ProgressBar Progress"}});
    }

    void heard()
    {
        QFETCH(Said, heard);
        const Heard h = open(QTest::currentDataTag());
        for (const auto& [control, expected] : heard.asKeyValueRange())
            QCOMPARE(h.controls.value(control, control + " unheard"), expected);
        QVERIFY2(h.problems.isEmpty(), qPrintable(h.problems.join("; ")));
    }

    // The previews are reached by their press action, not by Tab: the Tab
    // chain stays as the form sets it.
    void tabChain()
    {
        f().show().add("A");
        QStringList chain;
        QWidget* const first = f().control("Command1");
        QWidget* w = first;
        do {
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w != first);
        QCOMPARE(chain, QString("Command1 Command2 Command3 Combo1 Command4 Command5 Command6 Text1_0 Command7_0 "
                                "Text1_3 Text1_4 Text1_5 Text1_6 Command7_1 Text1_1 Command7_2 Text1_2 Command7_7 "
                                "Text1_7 Command8")
                            .split(' '));
    }

private:
    // Opens `window` and hears it; dialogs shown modally are heard while open.
    Heard open(const QString& window)
    {
        f().window.show();
        if (window == "main")
            return Heard(&f().window);
        if (window == "demo" || window == "about") {
            const std::unique_ptr<QDialog> w(window == "demo"
                                                 ? static_cast<QDialog*>(new DemoMenu(f().dialogs, &f().window))
                                                 : new AboutWindow(&f().window));
            w->show();
            return Heard(w.get());
        }
        if (window == "viewer") {
            f().add("A").type(0, file("ok.png"));
            QAccessible::queryAccessibleInterface(f().window.Image1(0))
                ->actionInterface()
                ->doAction(QAccessibleActionInterface::pressAction());
            f().settle(); // the viewer opens once its picture is decoded
            const std::unique_ptr<FullScreenViewer> viewer(f().window.findChild<FullScreenViewer*>());
            return Heard(viewer.get());
        }
        QtDialogs dialogs;
        if (window == "progress") {
            (void)dialogs.progress(&f().window, "Copying images: 0 of 4", 0, 4);
            // It shows from the event loop, as the copy runs on another thread.
            auto* progress = f().window.findChild<QProgressDialog*>();
            return Heard(QTest::qWaitFor([progress] { return progress->isVisible(); }) ? progress : nullptr);
        }
        std::optional<Heard> heard;
        QTimer::singleShot(0, [&heard] {
            heard.emplace(QApplication::activeModalWidget());
            QApplication::activeModalWidget()->close();
        });
        (void)dialogs.chooseFolder(&f().window, "Destination folder:");
        return *heard;
    }
};

QTEST_MAIN(TestAccessible)
#include "tst_accessible.moc"
