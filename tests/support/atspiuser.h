// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "testfiles.h"

#include <QDBusConnectionInterface>
#include <QProcess>
#include <QTest>

// The start of a user's script (pyatspi): it opens the data file named on its command line through "Open datafile...";
// `wait` finds a control of the plug-in, or ends the script. Every wait is bounded.
inline constexpr char OpenTheDataFile[] = R"(
import sys, time, pyatspi
def find(node, want):
    try:
        if want(node): return node
        if node.getRoleName() in ('list', 'tree table', 'table'): return  # entries, not controls
        return next(filter(None, (find(node.getChildAtIndex(i), want) for i in range(node.childCount))), None)
    except Exception: pass
def wait(want, what):
    for _ in range(100):
        apps = pyatspi.Registry.getDesktop(0)
        hit = next(filter(None, (app and app.name == 'Rollcraft II' and find(app, want) for app in apps)), None)
        if hit: return hit
        time.sleep(0.2)
    sys.exit('not found: ' + what)
def called(role, name): return lambda o: o.getRoleName() == role and o.name == name
def showing(o): return o.getState().contains(pyatspi.STATE_SHOWING)
pyatspi.setTimeout(1000, 1000)
try: wait(called('menu item', 'Open datafile...'), 'menu').queryAction().doAction(0)
except Exception: pass  # the file dialog runs modally inside the action: no reply
pyatspi.setTimeout(15000, 15000)
field = wait(lambda o: called('text', 'File name:')(o) and showing(o), 'file name')
field.queryEditableText().setTextContents(sys.argv[1])
wait(called('push button', 'Open'), 'Open').queryAction().doAction(0)
wait(called('combo box', 'Home'), 'the opened set')
)";

// The user's script run to its end with `steps` after the opening (builds with sanitizers are slow).
inline Run runUser(const char* steps, const QString& dataFile)
{
    return runProgram("/usr/bin/python3", {"-c", OpenTheDataFile + QString(steps), dataFile}, {}, 90000);
}

// The desktop's accessibility bus, started and there.
inline void startAccessibilityBus(QProcess& bus)
{
    bus.start("/usr/libexec/at-spi-bus-launcher", {"--launch-immediately"});
    QTRY_VERIFY_WITH_TIMEOUT(QDBusConnection::sessionBus().interface()->isServiceRegistered("org.a11y.Bus"), 10000);
}
