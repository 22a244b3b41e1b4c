// SPDX-License-Identifier: GPL-3.0-or-later
#include "copyname.h"

QString copyNameProblem(QStringView name)
{
    if (name.isEmpty())
        return QStringLiteral("the path gives no file name");
    if (name == u".")
        return QStringLiteral("the file name \".\" is the folder itself");
    if (name == u".." || name.contains(u'/'))
        return QStringLiteral("the picture would be copied outside the folder, as \"%1\"")
            .arg(name);
    // The system would end the name at the NUL and write another file.
    if (name.contains(QChar(0)))
        return QStringLiteral("the file name holds a NUL character");
    return {};
}
