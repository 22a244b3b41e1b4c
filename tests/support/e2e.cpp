#include "e2e.h"

#include "hostlinknames.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDeadlineTimer>
#include <QDir>
#include <QRegularExpression>
#include <QTest>

namespace E2E {

namespace {
constexpr int ClientHeight = 447; // the form's client area, below the menu bar
}

QString program(const QString& name)
{
    return QDir(qEnvironmentVariable("ROLLCRAFT_BIN")).filePath(name);
}

QString pluginBusName()
{
    return pluginBusName(QStringLiteral("rollcraft2"));
}

bool waitForName(const QString& name, bool present, int timeoutMs)
{
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (bus->isServiceRegistered(name).value() == present)
            return true;
        QTest::qWait(20);
    }
    return false;
}

QVariantMap exchangeFields(const QString& busName)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        busName, QLatin1String(PluginObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("GetAll"));
    call << QLatin1String(PluginInterface);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QVariantMap>(reply.arguments().constFirst());
}

QString xdotool(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), arguments);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QString findMainWindow(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QString id = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                    QStringLiteral("--name"),
                                    QStringLiteral("^Rollcraft II V\\.1\\.0 / TWK Plugin$")})
                               .section(QLatin1Char('\n'), 0, 0);
        if (!id.isEmpty())
            return id;
        QTest::qWait(50);
    }
    return {};
}

void clickClient(const QString& window, int x, int y)
{
    const QString geometry = xdotool({QStringLiteral("getwindowgeometry"), window});
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Geometry: (\\d+)x(\\d+)")).match(geometry);
    const int menuBar = size.hasMatch() ? size.captured(2).toInt() - ClientHeight : 0;
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QString::number(x),
             QString::number(y + menuBar), QStringLiteral("click"), QStringLiteral("1")});
}

} // namespace E2E
