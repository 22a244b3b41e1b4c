// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowdriver.h"

#include "buttonlist.h"
#include "pagegenerator.h"
#include "previewdecoder.h"
#include "settings.h"

#include <QtWidgets>

namespace {

// What is disabled while there is no current button.
const QString NoButtonOff = "Command1,Command2,Command5,Command6,Command7_0,Command7_1,Command7_2,"
                            "Command7_7,Text1_0,Text1_1,Text1_2,Text1_3,Text1_4,Text1_5,Text1_6,"
                            "Text1_7";
const QString ImageFilter = "All images|*.gif;*.jpg|Gif file|*.gif|Jpg file|*.jpg|All files|*.*";

// Opens `menu` (its opening handler runs): is `item` enabled then?
bool enabledInMenu(const WindowFixture& f, const QString& menu, const QString& item)
{
    f.control<QMenu>(menu)->popup(QPoint(0, 0));
    const bool on = f.control<QAction>(item)->isEnabled();
    f.control<QMenu>(menu)->hide();
    return on;
}

} // namespace

// The wizard setting is written before the window reads it at start.
WindowFixture::WindowFixture(TWKPLUGIN::Clock clock)
    : window((writeAutoImage(false), dialogs), std::move(clock))
{
    QObject::connect(&window.exchange(), &PluginExchange::changed,
                     [this](PluginExchange::Field n, const QString& v) {
                         changes << PluginExchange::name(n) + '=' + v.left(6);
                     });
    QObject::connect(&window, &TWKPLUGIN::closed, [this] { ++closed; });
}

void WindowFixture::run(const QString& steps)
{
    // An action runs when the next comes, once the answers written after it are ready.
    std::function<void()> pending = [] {};
    const auto act = [this, &pending](std::function<void()> action) {
        pending();
        settle();
        pending = std::move(action);
    };
    const auto menu = [this](const QString& menu, const QString& item) {
        if (enabledInMenu(*this, menu, item))
            control<QAction>(item)->trigger();
    };
    for (const QString& step : steps.split("; ", Qt::SkipEmptyParts)) {
        const QString verb = step.section(' ', 0, 0), rest = step.section(' ', 1);
        const QString first = rest.section(' ', 0, 0), last = step.section(' ', 2);
        if (QStringList{"ok", "cancel", "yes", "no"}.contains(verb)) {
            dialogs.prepare("message", verb);
        } else if (verb == "input" || verb == "file" || verb == "folder") {
            const bool inFolder = verb == "folder" && !rest.isEmpty();
            dialogs.prepare(verb == "file" ? "open" : verb,
                            inFolder ? folder.filePath(rest) : rest);
        } else if (verb == "add" || verb == "click") {
            if (verb == "add")
                dialogs.prepare("input", rest);
            act([button = control<QPushButton>(verb == "add" ? "Command4" : rest)] {
                QTest::mouseClick(button, Qt::LeftButton);
            });
        } else if (verb == "open" || verb == "save") {
            dialogs.prepare(verb, rest.isEmpty() || rest == "!" ? rest : folder.filePath(rest));
            act([menu, verb] { menu("File", verb == "open" ? "OpenData" : "SaveData"); });
        } else if (verb == "pick") {
            act([list = control<ButtonList>("Combo1"), i = rest.toInt()] {
                list->setCurrentIndex(i);
                emit list->activated(i); // even of the entry already selected, as the list does
            });
        } else if (verb == "down") {
            act([this] {
                window.show();
                control("Combo1")->setFocus();
                QTest::keyClick(control("Combo1"), Qt::Key_Down);
            });
        } else if (verb == "type") {
            act([field = window.Text1(first.toInt()), last] {
                field->selectAll();
                last.isEmpty() ? QTest::keyClick(field, Qt::Key_Delete)
                               : QTest::keyClicks(field, last);
            });
        } else if (verb == "menu") {
            act([menu, first, last] { menu(first, last); });
        } else if (verb == "show" || verb == "close") {
            act([this, verb] { verb == "show" ? window.show() : void(window.close()); });
        } else if (verb == "wait") {
            act([this] {
                QTRY_VERIFY_WITH_TIMEOUT(!control<QTimer>("PreviewTimer")->isActive() &&
                                             !control<QTimer>("UnloadTimer")->isActive(),
                                         10000);
            });
        } else {
            QTest::qFail(qPrintable("unknown step: " + step), __FILE__, __LINE__);
        }
    }
    pending();
    settle();
}

void WindowFixture::settle() const
{
    const QList<PreviewDecoder*> decoders = window.findChildren<PreviewDecoder*>();
    QTRY_VERIFY_WITH_TIMEOUT(std::ranges::none_of(decoders, &PreviewDecoder::pending), 10000);
}

QString WindowFixture::probe(const QString& what) const
{
    const ButtonSet& set = window.buttonSet();
    const auto list = control<ButtonList>("Combo1");
    QStringList parts;
    bool isIndex = false;
    if (const int i = what.toInt(&isIndex); isIndex) {
        const ButtonRecord& b = set.Buttons[i];
        return QStringList({b.Name, b.Url, b.Target, b.Alt, b.ImagePathPrefix, b.MouseOutImage,
                            b.MouseOverImage, b.DescriptionImage})
            .join('|');
    }
    if (what == "state") {
        for (int i = 0; i < list->count(); ++i)
            parts << QString(i == list->selectedIndex() ? "[%1]" : "%1").arg(list->itemText(i));
        return parts.join(',') + QStringLiteral(" %1 ").arg(window.currentIndex()) +
               (window.isSaved() ? "saved" : "unsaved");
    }
    if (what == "fields") {
        for (int i = 0; i < 8; ++i)
            parts << window.Text1(i)->text();
        return parts.join('|');
    }
    const QHash<QString, QString> plain{
        {"default", set.DefaultDescriptionImage},
        {"file",
         window.dataFileName().isEmpty() ? "" : folder.relativeFilePath(window.dataFileName())},
        {"title", window.exchange().text(PluginExchange::Field::SCRIPTTYPE)},
        {"changes", changes.join(',')}, // "closed": hidden then, and only then
        {"closed", QString::number(closed) + (window.isVisible() == (closed == 0) ? "" : "?")}};
    if (plain.contains(what))
        return plain[what];
    if (what == "dialog" || what.startsWith("dialog:")) {
        const qsizetype i = what == "dialog" ? dialogs.shown.size() - 1 : what.mid(7).toInt();
        return dialogs.shown.value(i, "none").replace(folder.path() + '/', QString());
    }
    if (what == "choosers") { // titles "X image:", as "X"
        for (const QString& s : dialogs.shown.filter(QRegularExpression("^open:")))
            parts << (s.section('|', 1, -2) == ImageFilter ? s.section('|', 0, 0).mid(5)
                                                           : "not an image chooser")
                         .remove(QRegularExpression(" image:$"));
        return parts.join(',');
    }
    if (what == "script") { // which page SCRIPT holds for the set as it is now
        const QString script = window.exchange().text(PluginExchange::Field::SCRIPT);
        return script.isEmpty()                              ? ""
               : script == buildPage(set, PageMode::Page)    ? "page"
               : script == buildPage(set, PageMode::Preview) ? "preview"
                                                             : "other";
    }
    if (what == "off") {
        for (QWidget* w : window.findChildren<QWidget*>())
            if (!w->isEnabled() && (qobject_cast<QAbstractButton*>(w) ||
                                    qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)))
                parts << w->objectName();
        parts.sort();
        return parts.join(',') == NoButtonOff ? "editing" : parts.join(',');
    }
    if (const QStringList m = what.split(QRegularExpression("[:/]")); m[0] == "menu")
        return enabledInMenu(*this, m[1], m[2]) ? "yes" : "no";
    return "unknown probe " + what;
}
