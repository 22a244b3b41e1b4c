// SPDX-License-Identifier: GPL-3.0-or-later
#include "singlelinevalidator.h"

#include "singleline.h"

#include <QLineEdit>

#include <algorithm>

QValidator::State SingleLineValidator::validate(QString& input, int& pos) const
{
    const QString line = singleLine(input);
    if (line != input) {
        // The cursor stays after what preceded it; the letter appended keeps a
        // break just before the cursor from counting as one at the end.
        const qsizetype before = singleLine(QString(input.left(pos) + u'x')).size() - 1;
        pos = static_cast<int>(std::min(before, line.size()));
        input = line;
    }
    return Acceptable;
}

void holdOneLine(QLineEdit* edit)
{
    edit->setValidator(new SingleLineValidator(edit));
}
