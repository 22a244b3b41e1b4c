// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "imageloading.h"

#include <QFutureWatcher>
#include <QObject>

// Decodes the part of a picture a window shows, off the window's thread, so
// that typing a path never waits for a large picture. Only the newest path's
// picture is delivered: a decode that a newer one overtook is dropped.
class PreviewDecoder final : public QObject {
    Q_OBJECT
public:
    explicit PreviewDecoder(QObject* parent = nullptr);

    // `choose` runs on the decoding thread: it must hold no widget.
    void decode(const QString& path, PartChooser choose);
    // A decode was asked for and its picture is not delivered yet.
    [[nodiscard]] bool pending() const { return m_pending; }
    // Waits for the pending decode, if any, and delivers its picture now.
    void finish();

signals:
    // The part of the picture at `path`; its image is null when there is none to show.
    void decoded(const QString& path, const PicturePart& picture);

private:
    void deliver();

    QFutureWatcher<PicturePart> m_watcher;
    QString m_path;
    bool m_pending = false;
};
