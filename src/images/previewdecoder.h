// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QObject>

// Decodes a preview's picture off the window's thread, so that typing a path
// never waits for a large picture. Only the newest path's picture is
// delivered: a decode that a newer one overtook is dropped.
class PreviewDecoder final : public QObject {
    Q_OBJECT
public:
    explicit PreviewDecoder(QObject* parent = nullptr);

    void decode(const QString& path);
    // A decode was asked for and its picture is not delivered yet.
    [[nodiscard]] bool pending() const { return m_pending; }
    // Waits for the pending decode, if any, and delivers its picture now.
    void finish();

signals:
    // The picture at `path`, or a null image when there is none to show.
    void decoded(const QString& path, const QImage& picture);

private:
    void deliver();

    QFutureWatcher<QImage> m_watcher;
    QString m_path;
    bool m_pending = false;
};
