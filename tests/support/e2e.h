#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QVariantMap>

// Helpers for tests that run the real programs: on the session bus the test
// runs under, and on the X display of Xvfb where a real window is needed.
namespace E2E {

// A program of the build, from the folder CTest names in ROLLCRAFT_BIN.
[[nodiscard]] QString program(const QString& name);

[[nodiscard]] QString pluginBusName();

// Waits until `name` has an owner (or none, with present == false).
[[nodiscard]] bool waitForName(const QString& name, bool present, int timeoutMs = 10000);

// The plug-in's three exchange fields as a host reads them.
[[nodiscard]] QVariantMap exchangeFields(const QString& busName);

// Runs xdotool with `arguments`; its trimmed standard output.
QString xdotool(const QStringList& arguments);

// The X window of the plug-in's main window, waiting for it to be mapped.
[[nodiscard]] QString findMainWindow(int timeoutMs = 10000);

// Clicks at (x, y) of the main window's client area (below the menu bar),
// in pixels as the form lays the controls out.
void clickClient(const QString& window, int x, int y);

} // namespace E2E
