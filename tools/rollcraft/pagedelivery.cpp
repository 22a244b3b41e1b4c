// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagedelivery.h"

#include "commands.h"
#include "console.h"
#include "modernoptions.h"
#include "notifier.h"
#include "pluginexchange.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Field = PluginExchange::Field;

// The user's own folder for previews: under $XDG_RUNTIME_DIR, made private;
// where that is missing or the folder there is not the user's alone, a fresh
// private temporary folder. Empty when neither can be had.
QString privatePreviewDir()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        const QByteArray dir = runtime + "/rollcraft-preview";
        ::mkdir(dir.constData(), 0700);
        struct stat info {};
        if (::lstat(dir.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
            info.st_uid == ::getuid() && (info.st_mode & 077) == 0)
            return QFile::decodeName(dir);
    }
    QTemporaryDir fresh(QDir::temp().filePath(QStringLiteral("rollcraft-preview-XXXXXX")));
    fresh.setAutoRemove(false); // the browser reads it after this program has ended
    return fresh.isValid() ? fresh.path() : QString();
}

// "page-" and the title, with what a file name cannot hold (on any desktop
// the user may copy it to) turned into '_'.
QString pageFileIn(const QString& dir, const QString& title)
{
    QString name = title;
    for (QChar& c : name) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    return QDir(dir).absoluteFilePath(QStringLiteral("page-%1.html").arg(name));
}

} // namespace

PageDelivery::PageDelivery(DeliveryOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options))
{}

void PageDelivery::writePreview(const QString& page)
{
    ++m_previews;
    // A preview's page, never empty, comes before its pulse.
    if (page.isEmpty()) {
        hostTells(QStringLiteral("the plug-in asked for preview %1, but its page did not come over "
                                 "the bus (the plug-in's message above says why)")
                      .arg(m_previews));
        return;
    }
    if (m_options.previewDir.isEmpty())
        m_options.previewDir = privatePreviewDir();
    else
        QDir().mkpath(m_options.previewDir);
    const QString path =
        QDir(m_options.previewDir).absoluteFilePath(QStringLiteral("preview.html"));
    if (m_options.previewDir.isEmpty() || !writePageFile(path, page)) {
        hostTells(QStringLiteral("cannot write the preview to %1").arg(path));
        return;
    }
    writeErr(QStringLiteral("preview %1: %2\n").arg(m_previews).arg(path));
    if (m_options.openPages)
        openPreview(path);
}

void PageDelivery::openPreview(const QString& path)
{
    auto* opener = new QProcess(this);
    connect(opener, &QProcess::finished, this,
            [opener, path](int code, QProcess::ExitStatus status) {
                if (status != QProcess::NormalExit || code != 0)
                    hostTells(QStringLiteral("the browser could not open %1 (xdg-open ended with "
                                             "status %2)")
                                  .arg(path)
                                  .arg(code));
                opener->deleteLater();
            });
    connect(opener, &QProcess::errorOccurred, this, [opener, path](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        hostTells(
            QStringLiteral("cannot start xdg-open for %1: %2").arg(path, opener->errorString()));
        opener->deleteLater();
    });
    opener->start(QStringLiteral("xdg-open"), {path});
}

int PageDelivery::deliverInserted(const PluginExchange& exchange)
{
    const QString script = exchange.text(Field::SCRIPT);
    const QString title = exchange.text(Field::SCRIPTTYPE);
    // "Insert script" names the page, then publishes it, never empty: a name
    // without a page means the page never reached us.
    if (script.isEmpty() && !title.isEmpty()) {
        hostTells(QStringLiteral("the plug-in inserted \"%1\", but its page did not come over the "
                                 "bus (the plug-in's message above says why); nothing was written")
                      .arg(title));
        return Exit::Failure;
    }
    if (script.isEmpty() || title.isEmpty()) {
        hostSays(QStringLiteral("the plug-in ended without inserting a page"));
        return Exit::Partial;
    }
    const std::optional<QString> page = insertedPage(exchange);
    if (!page)
        return Exit::Failure;
    if (!m_options.outputDir.isEmpty()) {
        QDir().mkpath(m_options.outputDir);
        m_options.outputFile = pageFileIn(m_options.outputDir, title);
    }
    if (m_options.outputFile.isEmpty()) {
        if (!writePageOut(QStringLiteral("host"), *page))
            return Exit::Failure;
        writeErr(QStringLiteral("Inserted: %1\n").arg(title));
        return Exit::Ok;
    }
    if (!writePageFile(m_options.outputFile, *page)) {
        hostSays(QStringLiteral("cannot write %1").arg(m_options.outputFile));
        return Exit::Failure;
    }
    writeOut(QStringLiteral("Inserted: %1\n").arg(title));
    if (!m_options.outputDir.isEmpty())
        writeErr(QStringLiteral("page: %1\n").arg(m_options.outputFile));
    // Detached: the browser outlives this program, which ends now.
    if (m_options.openPages &&
        !QProcess::startDetached(QStringLiteral("xdg-open"), {m_options.outputFile}))
        hostTells(QStringLiteral("cannot start xdg-open for %1").arg(m_options.outputFile));
    return Exit::Ok;
}

std::optional<QString> PageDelivery::insertedPage(const PluginExchange& exchange) const
{
    if (!m_options.modern)
        return exchange.text(Field::SCRIPT);
    if (exchange.insertedSet().isEmpty()) {
        hostSays(QStringLiteral("the plug-in published no set with its page (one older than this "
                                "tool?), so there is no modern page to write"));
        return std::nullopt;
    }
    const DataFileReadResult read = readDataFileText(exchange.insertedSet());
    if (!read.ok) {
        hostSays(QStringLiteral("the set the plug-in published does not read: line %1: %2")
                     .arg(read.errorLine)
                     .arg(read.expected));
        return std::nullopt;
    }
    return renderModernPage(toButtonSet(read), *m_options.modern);
}
