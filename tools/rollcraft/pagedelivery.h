// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "modernpage.h"

#include <QObject>
#include <optional>

class PluginExchange;

// Where the host puts the pages it receives.
struct DeliveryOptions {
    QString outputFile; // empty: standard output
    QString outputDir;  // when set, the page goes to a file here named after its title
    QString previewDir; // where each preview page is written; empty: a private one
    bool openPages = false;
    // Set: the inserted page is the modern page (or fragment) of the set the
    // plug-in published with it, not the page itself.
    std::optional<ModernPageOptions> modern;
};

// Writes what the plug-in delivers: a preview page on each pulse, and the
// inserted page once the plug-in has ended; says what goes wrong.
class PageDelivery : public QObject {
    Q_OBJECT
public:
    explicit PageDelivery(DeliveryOptions options, QObject* parent = nullptr);

    // The plug-in asked for a preview of `page` (empty: it never came).
    void writePreview(const QString& page);
    // Writes the page the plug-in left in `exchange` where it belongs; the
    // host's exit status: 0 written, 1 nothing inserted, 2 a failure.
    [[nodiscard]] int deliverInserted(const PluginExchange& exchange);

private:
    // The page to write for the insert: nothing, said, where it cannot be had.
    [[nodiscard]] std::optional<QString> insertedPage(const PluginExchange& exchange) const;
    void openPreview(const QString& path);

    DeliveryOptions m_options;
    int m_previews = 0;
};
