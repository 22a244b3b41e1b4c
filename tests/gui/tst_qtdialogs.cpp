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
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Runs `answer` on the file dialog once it is up; a dialog still up seconds
// later is rejected, so that it fails the test, not hangs it.
void whenShown(QObject* context, std::function<void(QFileDialog&)> answer)
{
    QTimer::singleShot(0, context, [answer] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
            answer(*dialog);
    });
    QTimer::singleShot(5000, context, [] {
        while (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
}

} // namespace

// The file dialogs as Qt really shows them (its own dialog, offscreen),
// answered through their controls as a user would.
class TestQtDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        for (const char* name : {"a.gif", "b.jpg", "c.png", "menu.rk2"})
            writeBytes(m_dir.filePath(name), rk2(QStringList{"[COMMON]", "#"} + block("Home")));
    }

    // Each row: the program's filter, the names the dialog shows for it, and how
    // many files it lists under the first.
    void filtersShowTheirNames_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("filesListed");
        QTest::newRow("image chooser")
            << "All images|*.gif;*.jpg|Gif file|*.gif|Jpg file|*.jpg|All files|*.*"
            << QStringList{"All images", "Gif file", "Jpg file", "All files"} << 2;
        QTest::newRow("data file")
            << "Rollcraft2 (*.rk2)|*.rk2" << QStringList{"Rollcraft2 (*.rk2)"} << 1;
    }

    void filtersShowTheirNames()
    {
        QFETCH(QString, filter);
        QFETCH(int, filesListed);
        QStringList shown;
        whenShown(this, [&](QFileDialog& dialog) {
            const auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
            for (int i = 0; i < types->count(); ++i)
                shown << types->itemText(i);
            const auto* files =
                qobject_cast<QFileSystemModel*>(dialog.findChild<QListView*>("listView")->model());
            QTRY_COMPARE(files->rowCount(files->index(m_dir.path())), filesListed);
            dialog.reject();
        });
        QtDialogs dialogs;
        QCOMPARE(dialogs.openFile(nullptr, "t", filter, m_dir.path() + '/').status,
                 Dialogs::FileChoice::Status::Cancelled);
        QTEST(shown, "names");
    }

    // "menu" typed where menu.rk2 exists opens menu.rk2.
    void openingANameWithoutItsExtension()
    {
        whenShown(this, [this](QFileDialog& dialog) {
            dialog.setDirectory(m_dir.path());
            QTest::keyClicks(dialog.findChild<QLineEdit*>("fileNameEdit"), "menu");
            QTest::keyClick(dialog.findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
        });
        QtDialogs dialogs;
        TWKPLUGIN window(dialogs);
        window.findChild<QMenu*>("File")->popup(QPoint());
        window.findChild<QAction*>("OpenData")->trigger();
        QCOMPARE(window.buttonSet().DataFileName, m_dir.filePath("menu.rk2"));
        QCOMPARE(window.buttonSet().Buttons[0].Name, "Home");
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"
