// SPDX-License-Identifier: GPL-3.0-or-later
#include "pluginexchange.h"

#include "hostlinknames.h"

namespace {

constexpr PluginExchange::Field Fields[] = {PluginExchange::Field::SCRIPT,
                                            PluginExchange::Field::SCRIPTTYPE,
                                            PluginExchange::Field::PREVIEW};

} // namespace

QString PluginExchange::name(Field field)
{
    switch (field) {
    case Field::SCRIPT:
        return QStringLiteral("SCRIPT");
    case Field::SCRIPTTYPE:
        return QStringLiteral("SCRIPTTYPE");
    case Field::PREVIEW:
        break;
    }
    return QStringLiteral("PREVIEW");
}

void PluginExchange::set(Field field, const QString& text)
{
    m_fields[index(field)] = text;
    emit changed(field, text);
}

void PluginExchange::setInsertedSet(const QString& text)
{
    m_insertedSet = text;
    emit insertedSetChanged(text);
}

bool PluginExchange::apply(const QString& item, const QString& value)
{
    if (item == QLatin1String(InsertedSetProperty)) {
        const bool news = m_insertedSet != value;
        setInsertedSet(value);
        return news;
    }
    for (const Field field : Fields) {
        if (item == name(field)) {
            const bool news = text(field) != value;
            set(field, value);
            return news;
        }
    }
    return false;
}
