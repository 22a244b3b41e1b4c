// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QValidator>

class QLineEdit;

// Keeps a line edit's text one line, however it got there (typed, pasted,
// dropped, set): a line break becomes a blank, one at the end is dropped, as
// one-line fields of other desktop toolkits do. Qt's line edit keeps pasted
// line breaks in its text and only shows them as blanks.
class SingleLineValidator final : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override;
};

// Gives `edit` a SingleLineValidator of its own.
void holdOneLine(QLineEdit* edit);
