// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtdialogs.h"
#include "testfiles.h"
#include "twkplugin.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// The file dialogs as Qt really shows them (its own dialog, offscreen),
// answered through their controls as a user would.
class TestQtDialogs : public QObject {
    Q_OBJECT
private slots:
    // "menu" typed where menu.rk2 exists opens menu.rk2; an image is chosen
    // among the pictures the chooser lists. Each filter shows its name.
    void throughTheWindow()
    {
        for (const char* name : {"a.gif", "b.jpg", "c.png", "menu.rk2"})
            writeBytes(m_dir.filePath(name), rk2(QStringList{"[COMMON]", "#"} + block("Home")));
        writeSettings("[General]\nAutoImage=False\n");
        QtDialogs dialogs;
        TWKPLUGIN window(dialogs);
        answer("menu", 1);
        window.findChild<QMenu*>("File")->popup(QPoint());
        window.findChild<QAction*>("OpenData")->trigger();
        QCOMPARE(window.buttonSet().DataFileName, m_dir.filePath("menu.rk2"));
        answer("a.gif", 2);
        window.findChild<QPushButton*>("Command7_0")->click();
        QCOMPARE(window.Text1(0)->text(), m_dir.filePath("a.gif"));
        QCOMPARE(m_filters,
                 QStringList({"Rollcraft2 (*.rk2)", "All images, Gif file, Jpg file, All files"}));
    }

private:
    // Once the next file dialog is up: notes its filters' names, waits until
    // it lists `listed` files under the first, and types `name`. A dialog
    // still up seconds later is rejected, so that it fails the test, not
    // hangs it.
    void answer(const QString& name, int listed)
    {
        QTimer::singleShot(0, this, [this, name, listed] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            const auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            QStringList names;
            for (int i = 0; i < types->count(); ++i)
                names << types->itemText(i);
            m_filters << names.join(", ");
            dialog->setDirectory(m_dir.path());
            const auto* files =
                qobject_cast<QFileSystemModel*>(dialog->findChild<QListView*>("listView")->model());
            QTRY_COMPARE(files->rowCount(files->index(m_dir.path())), listed);
            QTest::keyClicks(dialog->findChild<QLineEdit*>("fileNameEdit"), name);
            QTest::keyClick(dialog->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
        });
        QTimer::singleShot(5000, this, [] {
            while (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
    }
    QTemporaryDir m_dir;
    QStringList m_filters;
};

QTEST_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"
