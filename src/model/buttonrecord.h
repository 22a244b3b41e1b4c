// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// One rollover button. Every field is plain text; empty means "not set".
struct ButtonRecord {
    QString Name;
    QString Url;
    QString Target;
    QString Alt;
    QString ImagePathPrefix;
    QString MouseOutImage;
    QString MouseOverImage;
    QString DescriptionImage;

    friend bool operator==(const ButtonRecord&, const ButtonRecord&) = default;
};
