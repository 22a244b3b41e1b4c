// SPDX-License-Identifier: GPL-3.0-or-later
#include "previewdecoder.h"

#include <QtConcurrent/QtConcurrentRun>

PreviewDecoder::PreviewDecoder(QObject* parent) : QObject(parent)
{
    connect(&m_watcher, &QFutureWatcher<PicturePart>::finished, this, &PreviewDecoder::deliver);
}

void PreviewDecoder::decode(const QString& path, PartChooser choose)
{
    m_path = path;
    m_pending = true;
    // A new future also drops the report of the one it replaces.
    m_watcher.setFuture(QtConcurrent::run(&loadPicture, path, std::move(choose)));
}

void PreviewDecoder::finish()
{
    m_watcher.waitForFinished();
    deliver();
}

void PreviewDecoder::deliver()
{
    // finish() may have delivered it before the report came.
    if (!m_pending)
        return;
    m_pending = false;
    emit decoded(m_path, m_watcher.result());
}
