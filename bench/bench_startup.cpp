// SPDX-License-Identifier: GPL-3.0-or-later
// From starting `rollcraft2 -startplugin` to its first answer on the session
// bus, beside the least Qt Widgets program that shows a window with text and
// takes a name, and the same window without text, which loads no fonts.
// Needs a session bus; the programs run on the offscreen platform.
#include "hostlinknames.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>

namespace {

QString besideMe(const QString& relative)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(relative);
}

// A Ping needs nothing of the program but a connection that owns the name.
bool answers(const QString& busName)
{
    const QDBusMessage ping = QDBusMessage::createMethodCall(
        busName, QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.Peer"),
        QStringLiteral("Ping"));
    return QDBusConnection::sessionBus().call(ping, QDBus::Block, 2000).type() ==
           QDBusMessage::ReplyMessage;
}

void timeStartUp(benchmark::State& state, const QString& program, const QStringList& arguments,
                 const QString& busName)
{
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        process.start(program, arguments);
        while (!answers(busName)) {
            if (process.state() == QProcess::NotRunning || clock.elapsed() > 20000) {
                state.SkipWithError("the program never answered on the bus");
                return;
            }
            QThread::usleep(500);
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        process.kill();
        process.waitForFinished();
    }
}

void BM_PluginStartUp(benchmark::State& state)
{
    timeStartUp(state, besideMe(QStringLiteral("../bin/rollcraft2")),
                {QStringLiteral("-startplugin")}, pluginBusName(QStringLiteral("rollcraft2")));
}

void BM_TextWindowStartUp(benchmark::State& state)
{
    timeStartUp(state, besideMe(QStringLiteral("startup_floor")), {},
                QStringLiteral("org.rollcraft.bench.floor"));
}

void BM_BareWidgetsStartUp(benchmark::State& state)
{
    timeStartUp(state, besideMe(QStringLiteral("startup_floor")), {QStringLiteral("--no-text")},
                QStringLiteral("org.rollcraft.bench.bare"));
}

} // namespace

BENCHMARK(BM_PluginStartUp)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_TextWindowStartUp)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_BareWidgetsStartUp)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
