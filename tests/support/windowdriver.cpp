// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowdriver.h"

#include "buttonlist.h"
#include "previewdecoder.h"
#include "settings.h"

#include <QtWidgets>

// The wizard setting is written before the window reads it at start.
WindowFixture::WindowFixture(TWKPLUGIN::Clock clock) : window((writeAutoImage(false), dialogs), std::move(clock))
{
    QObject::connect(&window.exchange(), &PluginExchange::changed, [this](PluginExchange::Field n, const QString& v) {
        changes.append({PluginExchange::name(n), v});
    });
    QObject::connect(&window, &TWKPLUGIN::closed, [this] { ++closed; });
}

WindowFixture& WindowFixture::pick(int index)
{
    auto* list = control<ButtonList>("Combo1");
    list->setCurrentIndex(index);
    emit list->activated(index);
    return settled();
}

WindowFixture& WindowFixture::down()
{
    window.show();
    control("Combo1")->setFocus();
    QTest::keyClick(control("Combo1"), Qt::Key_Down);
    return settled();
}

WindowFixture& WindowFixture::type(int field, const QString& text)
{
    QLineEdit* edit = window.Text1(field);
    edit->selectAll();
    text.isEmpty() ? QTest::keyClick(edit, Qt::Key_Delete) : QTest::keyClicks(edit, text);
    return settled();
}

WindowFixture& WindowFixture::click(const QString& button)
{
    QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
    return settled();
}

WindowFixture& WindowFixture::menu(const QString& menu, const QString& item)
{
    if (enabledInMenu(menu, item))
        control<QAction>(item)->trigger();
    return settled();
}

WindowFixture& WindowFixture::wait()
{
    const auto idle = [this] {
        return !control<QTimer>("PreviewTimer")->isActive() && !control<QTimer>("UnloadTimer")->isActive();
    };
    if (!QTest::qWaitFor(idle, 10000))
        QTest::qFail("the preview or the closing timer still runs", __FILE__, __LINE__);
    return settled();
}

void WindowFixture::settle() const
{
    const QList<PreviewDecoder*> decoders = window.findChildren<PreviewDecoder*>();
    QTRY_VERIFY_WITH_TIMEOUT(std::ranges::none_of(decoders, &PreviewDecoder::pending), 10000);
}

QList<ButtonRecord> WindowFixture::records() const
{
    QList<ButtonRecord> kept(set().Buttons.begin(), set().Buttons.end());
    while (!kept.isEmpty() && kept.last() == ButtonRecord())
        kept.removeLast();
    return kept;
}

QString WindowFixture::dataFile() const
{
    return window.dataFileName().isEmpty() ? QString() : folder.relativeFilePath(window.dataFileName());
}

QStringList WindowFixture::listed() const
{
    QStringList names;
    for (int i = 0; i < control<ButtonList>("Combo1")->count(); ++i)
        names << control<ButtonList>("Combo1")->itemText(i);
    return names;
}

int WindowFixture::selected() const
{
    return control<ButtonList>("Combo1")->selectedIndex();
}

QStringList WindowFixture::fields() const
{
    QStringList texts;
    for (int i = 0; i < 8; ++i)
        texts << window.Text1(i)->text();
    return texts;
}

QStringList WindowFixture::disabled() const
{
    QStringList names;
    for (QWidget* w : window.findChildren<QWidget*>())
        if (!w->isEnabled() &&
            (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)))
            names << w->objectName();
    names.sort();
    return names;
}

// Opens `menu`, so that its opening handler runs: is `item` enabled then?
bool WindowFixture::enabledInMenu(const QString& menu, const QString& item) const
{
    control<QMenu>(menu)->popup(QPoint(0, 0));
    const bool on = control<QAction>(item)->isEnabled();
    control<QMenu>(menu)->hide();
    return on;
}

QString WindowFixture::dialog() const
{
    return dialogs.shown.value(dialogs.shown.size() - 1, "none").replace(folder.path() + '/', QString());
}

QStringList WindowFixture::choosers() const
{
    static const QString images = "All images|*.gif;*.jpg|Gif file|*.gif|Jpg file|*.jpg|All files|*.*";
    static const QRegularExpression chooser("^open:(.*) image:\\|" + QRegularExpression::escape(images) + "\\|$");
    QStringList names;
    for (const QString& shown : dialogs.shown.filter(QRegularExpression("^open:")))
        names << (chooser.match(shown).hasMatch() ? chooser.match(shown).captured(1) : "not an image chooser");
    return names;
}
