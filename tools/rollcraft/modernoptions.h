// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "modernpage.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <optional>

// The options that ask for the modern page or the fragment, which render and
// host share: --modern, --fragment, --lang, --title, --prefix, --current and
// --label.
class ModernPageArguments {
public:
    ModernPageArguments();

    void addTo(QCommandLineParser& parser) const;
    // The modern page's options when --modern was given; nothing without it.
    // False, with the usage said on standard error for `command`, where the
    // options do not fit together.
    [[nodiscard]] bool read(const QCommandLineParser& parser, const QString& command,
                            std::optional<ModernPageOptions>& options) const;

private:
    QCommandLineOption m_modern;
    QCommandLineOption m_fragment;
    QCommandLineOption m_lang;
    QCommandLineOption m_title;
    QCommandLineOption m_prefix;
    QCommandLineOption m_current;
    QCommandLineOption m_label;
};

// The modern page (or fragment) of `set`, with each picture's size and its
// picture of twice the size, where one lies beside it, looked up on disk.
[[nodiscard]] QString renderModernPage(const ButtonSet& set, ModernPageOptions options);
