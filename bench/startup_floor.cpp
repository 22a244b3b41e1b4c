// The least a Qt Widgets plug-in can do before it answers on the bus: show a
// window and take a bus name. The start-up benchmark's floor.
#include <QApplication>
#include <QDBusConnection>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(522, 447);
    window.show();
    if (!QDBusConnection::sessionBus().registerService(QStringLiteral("org.rollcraft.bench.floor")))
        return 1;
    return app.exec();
}
