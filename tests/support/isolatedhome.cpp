// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into every test program: before its first line runs, the program's
// home and settings are a fresh folder of its own, so a test run by hand, in a
// debugger or from an IDE never touches the developer's settings or error log.
// The programs a test starts inherit the same folders.
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace {

void isolateFromUserFiles()
{
    static QTemporaryDir home(QDir::tempPath() + QStringLiteral("/rollcraft-test-home-XXXXXX"));
    if (!home.isValid()) {
        std::fprintf(stderr, "cannot make a home folder for the test: %s\n", qPrintable(home.errorString()));
        std::exit(2);
    }
    const QString path = home.path();
    qputenv("HOME", QFile::encodeName(path));
    // Test mode puts this program's own settings under ~/.qttest/config; the
    // programs it starts find theirs at the same place.
    QStandardPaths::setTestModeEnabled(true);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path + QStringLiteral("/.qttest/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(path + QStringLiteral("/.qttest/share")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(path + QStringLiteral("/.qttest/cache")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(path + QStringLiteral("/.qttest/state")));
}

} // namespace

Q_CONSTRUCTOR_FUNCTION(isolateFromUserFiles)
