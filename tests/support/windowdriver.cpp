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

// Opens `menu`, so that its opening handler runs, and tells whether `item`
// is enabled then.
bool enabledInMenu(const WindowFixture& f, const QString& menu, const QString& item)
{
    f.control<QMenu>(menu)->popup(QPoint(0, 0));
    const bool on = f.control<QAction>(item)->isEnabled();
    f.control<QMenu>(menu)->hide();
    return on;
}

void waitUntil(const std::function<bool()>& done, const char* what)
{
    if (!QTest::qWaitFor(done, 10000))
        QTest::qFail(what, __FILE__, __LINE__);
}

} // namespace

// The wizard setting is written before the window reads it at start.
WindowFixture::WindowFixture(TWKPLUGIN::Clock clock)
    : window((writeAutoImage(false), dialogs), std::move(clock))
{
    QObject::connect(&window, &TWKPLUGIN::exchangeChanged,
                     [this](const QString& item, const QString& value) {
                         changes << item + '=' + value.left(6);
                     });
    QObject::connect(&window, &TWKPLUGIN::closed, [this] { ++closed; });
}

void WindowFixture::run(const QString& steps)
{
    // An action runs when the next action comes, so that the answers written
    // after it are prepared for the dialogs it shows.
    std::function<void()> pending = [] {};
    const auto act = [this, &pending](std::function<void()> action) {
        pending();
        settle();
        pending = std::move(action);
    };
    const auto click = [this](const QString& name) {
        QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton);
    };
    const auto menu = [this](const QString& menu, const QString& item) {
        if (enabledInMenu(*this, menu, item))
            control<QAction>(item)->trigger();
    };
    for (const QString& step : steps.split("; ", Qt::SkipEmptyParts)) {
        const QString verb = step.section(' ', 0, 0);
        const QString rest = step.section(' ', 1);
        const QString first = rest.section(' ', 0, 0);
        const QString last = step.section(' ', 2);
        if (QStringList{"ok", "cancel", "yes", "no"}.contains(verb)) {
            dialogs.prepare("message", verb);
        } else if (verb == "input" || verb == "add") {
            dialogs.prepare("input", rest);
            if (verb == "add")
                act([click] { click("Command4"); });
        } else if (verb == "file") {
            dialogs.prepare("open", rest);
        } else if (verb == "folder") {
            dialogs.prepare("folder", rest.isEmpty() ? QString() : folder.filePath(rest));
        } else if (verb == "open" || verb == "save") {
            dialogs.prepare(verb, rest.isEmpty() || rest == "!" ? rest : folder.filePath(rest));
            act([menu, verb] { menu("File", verb == "open" ? "OpenData" : "SaveData"); });
        } else if (verb == "pick") {
            act([this, rest] {
                // The list reports a pick even of the entry already selected.
                control<ButtonList>("Combo1")->setCurrentIndex(rest.toInt());
                emit control<ButtonList>("Combo1")->activated(rest.toInt());
            });
        } else if (verb == "down") {
            act([this] {
                window.show();
                control("Combo1")->setFocus();
                QTest::keyClick(control("Combo1"), Qt::Key_Down);
            });
        } else if (verb == "type") {
            act([this, first, last] {
                QLineEdit* field = window.Text1(first.toInt());
                field->selectAll();
                if (last.isEmpty())
                    QTest::keyClick(field, Qt::Key_Delete);
                else
                    QTest::keyClicks(field, last);
            });
        } else if (verb == "click") {
            act([click, rest] { click(rest); });
        } else if (verb == "menu") {
            act([menu, first, last] { menu(first, last); });
        } else if (verb == "show") {
            act([this] { window.show(); });
        } else if (verb == "close") {
            act([this] { window.close(); });
        } else if (verb == "wait") {
            act([this] {
                waitUntil(
                    [this] {
                        return !control<QTimer>("PreviewTimer")->isActive() &&
                               !control<QTimer>("UnloadTimer")->isActive();
                    },
                    "the timers did not run");
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
    waitUntil(
        [&decoders] {
            return std::none_of(decoders.begin(), decoders.end(),
                                [](const PreviewDecoder* d) { return d->pending(); });
        },
        "a preview was not decoded");
}

QString WindowFixture::probe(const QString& what) const
{
    const ButtonSet& set = window.buttonSet();
    const auto list = control<ButtonList>("Combo1");
    bool isIndex = false;
    if (const int i = what.toInt(&isIndex); isIndex) {
        const ButtonRecord& b = set.Buttons[i];
        return QStringList({b.Name, b.Url, b.Target, b.Alt, b.ImagePathPrefix, b.MouseOutImage,
                            b.MouseOverImage, b.DescriptionImage})
            .join('|');
    }
    if (what == "state") {
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << (i == list->selectedIndex() ? '[' + list->itemText(i) + ']'
                                                 : list->itemText(i));
        return names.join(',') + QStringLiteral(" %1 ").arg(set.CurrentIndex) +
               (set.Saved ? "saved" : "unsaved");
    }
    if (what == "fields") {
        QStringList texts;
        for (int i = 0; i < 8; ++i)
            texts << window.Text1(i)->text();
        return texts.join('|');
    }
    if (what == "default")
        return set.DefaultDescriptionImage;
    if (what == "file")
        return set.DataFileName.isEmpty() ? QString() : folder.relativeFilePath(set.DataFileName);
    if (what == "dialog" || what.startsWith("dialog:")) {
        const qsizetype i = what == "dialog" ? dialogs.shown.size() - 1 : what.mid(7).toInt();
        return dialogs.shown.value(i, "none").replace(folder.path() + '/', QString());
    }
    if (what == "choosers") { // titles "X image:", as "X"
        QStringList titles;
        for (const QString& s : dialogs.shown)
            if (s.startsWith("open:"))
                titles << (s.section('|', 1, -2) == ImageFilter ? s.section('|', 0, 0).mid(5)
                                                                : "not an image chooser")
                              .remove(QRegularExpression(" image:$"));
        return titles.join(',');
    }
    if (what == "script") { // which page SCRIPT holds for the set as it is now
        const QString script = window.exchangeText(TWKPLUGIN::Exchange::SCRIPT);
        return script.isEmpty()                              ? ""
               : script == buildPage(set, PageMode::Page)    ? "page"
               : script == buildPage(set, PageMode::Preview) ? "preview"
                                                             : "other";
    }
    if (what == "title")
        return window.exchangeText(TWKPLUGIN::Exchange::SCRIPTTYPE);
    if (what == "changes")
        return changes.join(',');
    if (what == "closed") // and the window is hidden then, and only then
        return QString::number(closed) + (window.isVisible() == (closed == 0) ? "" : "?");
    if (what == "off") {
        QStringList names;
        for (QWidget* w : window.findChildren<QWidget*>())
            if (!w->isEnabled() && (qobject_cast<QAbstractButton*>(w) ||
                                    qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)))
                names << w->objectName();
        names.sort();
        return names.join(',') == NoButtonOff ? "editing" : names.join(',');
    }
    if (what.startsWith("menu:"))
        return enabledInMenu(*this, what.mid(5).section('/', 0, 0), what.section('/', 1)) ? "yes"
                                                                                          : "no";
    return "unknown probe " + what;
}
