// SPDX-License-Identifier: GPL-3.0-or-later
// The least a Qt Widgets plug-in can do before it answers on the bus: show a
// window of the plug-in's size with one label in the form's font, and take a
// bus name. Laying out the label loads the fonts, as any window with text
// must. With --no-text the window shows nothing and never loads a font.
#include "formfont.h"

#include <QApplication>
#include <QDBusConnection>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const bool text = !QCoreApplication::arguments().contains(QStringLiteral("--no-text"));
    QWidget window;
    window.resize(522, 447);
    if (text) {
        auto* label = new QLabel(QStringLiteral("TWKPLUGIN"));
        label->setFont(formFont());
        (new QVBoxLayout(&window))->addWidget(label);
    }
    window.show();
    const QString name = text ? QStringLiteral("org.rollcraft.bench.floor")
                              : QStringLiteral("org.rollcraft.bench.bare");
    if (!QDBusConnection::sessionBus().registerService(name))
        return 1;
    return app.exec();
}
