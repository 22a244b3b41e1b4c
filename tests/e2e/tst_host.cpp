#include "e2e.h"
#include "pagegenerator.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QtTest>
#include <csignal>

namespace {

// Waits for a top-level window with this exact title and gives it the focus.
QString focusWindow(const QString& title, int timeoutMs = 10000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QString id =
            E2E::xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                          QStringLiteral("--name"),
                          QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')})
                .section(QLatin1Char('\n'), 0, 0);
        if (!id.isEmpty()) {
            E2E::xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), id});
            return id;
        }
        QTest::qWait(50);
    }
    return {};
}

void typeText(const QString& text)
{
    E2E::xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
}

void key(const QString& k)
{
    E2E::xdotool({QStringLiteral("key"), k});
}

} // namespace

class TestHost : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void insertThroughTheRealWindow();
    void closingWithoutInsertingWritesNothing();
    void previewsReachTheHostOncePerClick();
    void killedPluginEndsTheLink();

private:
    void startHost();
    QString addButton(const QString& name);
    QTemporaryDir m_dir;
    QProcess m_host;
    QString m_window;
};

void TestHost::init()
{
    QFile::remove(m_dir.filePath(QStringLiteral("out.html")));
    const QString folder = QDir::home().filePath(QStringLiteral(".config/RollcraftII"));
    QDir().mkpath(folder);
    QFile settings(folder + QStringLiteral("/RollcraftII.conf"));
    QVERIFY(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
    settings.write("[General]\nAutoImage=False\n");
}

void TestHost::cleanup()
{
    if (m_host.state() != QProcess::NotRunning) {
        m_host.kill();
        m_host.waitForFinished();
    }
    QVERIFY(E2E::waitForName(E2E::pluginBusName(), false));
}

void TestHost::startHost()
{
    m_host.start(E2E::program(QStringLiteral("rollcraft")),
                 {QStringLiteral("host"), QStringLiteral("-o"),
                  m_dir.filePath(QStringLiteral("out.html")), QStringLiteral("--preview-dir"),
                  m_dir.filePath(QStringLiteral("preview"))});
    QVERIFY(m_host.waitForStarted());
    m_window = E2E::findMainWindow();
    QVERIFY2(!m_window.isEmpty(), m_host.readAllStandardError().constData());
    QVERIFY(E2E::waitForName(E2E::pluginBusName(), true));
}

QString TestHost::addButton(const QString& name)
{
    E2E::clickClient(m_window, 304 + 27, 16 + 10); // "Add"
    if (focusWindow(QStringLiteral("Add button")).isEmpty())
        return {};
    typeText(name); // replaces the offered default, which is selected
    key(QStringLiteral("Return"));
    return name;
}

void TestHost::insertThroughTheRealWindow()
{
    startHost();
    QCOMPARE(addButton(QStringLiteral("Home")), QStringLiteral("Home"));
    E2E::clickClient(m_window, 5 + 125, 277 + 9); // the "Url:" field
    typeText(QStringLiteral("index.htm"));
    E2E::clickClient(m_window, 371 + 36, 421 + 11);               // "Insert script"
    QVERIFY(!focusWindow(QStringLiteral("TWKPLUGIN")).isEmpty()); // unsaved data: asked
    key(QStringLiteral("Return"));
    QVERIFY(m_host.waitForFinished(10000));
    QCOMPARE(m_host.exitCode(), 0);

    ButtonSet set;
    set.Buttons[0].Name = set.Buttons[0].Alt = QStringLiteral("Home");
    set.Buttons[0].Url = QStringLiteral("index.htm");
    QFile out(m_dir.filePath(QStringLiteral("out.html")));
    QVERIFY(out.open(QIODevice::ReadOnly));
    QCOMPARE(out.readAll(), "\xEF\xBB\xBF" + buildPage(set, PageMode::Page).toUtf8());
    const QString printed = QString::fromUtf8(m_host.readAllStandardOutput());
    QVERIFY2(QRegularExpression(QStringLiteral("^Inserted: Rollcraft II \\d\\d-\\d\\d-\\d\\d - "
                                               "\\d\\d-\\d\\d-\\d\\d\\n$"))
                 .match(printed)
                 .hasMatch(),
             qPrintable(printed));
}

void TestHost::closingWithoutInsertingWritesNothing()
{
    startHost();
    E2E::clickClient(m_window, 451 + 32, 421 + 11); // "Close"
    QVERIFY(m_host.waitForFinished(10000));
    QCOMPARE(m_host.exitCode(), 1);
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("out.html"))));
}

void TestHost::previewsReachTheHostOncePerClick()
{
    startHost();
    QCOMPARE(addButton(QStringLiteral("News")), QStringLiteral("News"));
    for (int click = 1; click <= 3; ++click) {
        E2E::clickClient(m_window, 7 + 45, 421 + 11); // "Instant preview"
        QTest::qWait(400);
    }
    E2E::clickClient(m_window, 451 + 32, 421 + 11); // "Close": asks twice
    QVERIFY(!focusWindow(QStringLiteral("TWKPLUGIN")).isEmpty());
    key(QStringLiteral("Return"));
    QTest::qWait(300);
    QVERIFY(!focusWindow(QStringLiteral("TWKPLUGIN")).isEmpty());
    key(QStringLiteral("Return"));
    QVERIFY(m_host.waitForFinished(10000));
    QCOMPARE(m_host.exitCode(), 1);

    const QString log = QString::fromUtf8(m_host.readAllStandardError());
    const QStringList pulses =
        log.split(u'\n').filter(QRegularExpression(QStringLiteral("^preview \\d+:")));
    QCOMPARE(pulses.size(), 3);
    for (int i = 0; i < 3; ++i)
        QVERIFY(pulses[i].startsWith(QStringLiteral("preview %1:").arg(i + 1)));
    ButtonSet set;
    set.Buttons[0].Name = set.Buttons[0].Alt = QStringLiteral("News");
    QFile preview(m_dir.filePath(QStringLiteral("preview/preview.html")));
    QVERIFY(preview.open(QIODevice::ReadOnly));
    QCOMPARE(preview.readAll(), "\xEF\xBB\xBF" + buildPage(set, PageMode::Preview).toUtf8());
}

void TestHost::killedPluginEndsTheLink()
{
    startHost();
    const qint64 pid = E2E::xdotool({QStringLiteral("getwindowpid"), m_window}).toLongLong();
    QVERIFY(pid > 0);
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    QVERIFY(m_host.waitForFinished(10000));
    QCOMPARE(m_host.exitCode(), 2);
    QVERIFY(m_host.readAllStandardError().contains("the link ended"));
}

QTEST_GUILESS_MAIN(TestHost)
#include "tst_host.moc"
