// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <array>

// What the plug-in and its host exchange: the three fields SCRIPT (the page),
// SCRIPTTYPE (its title) and PREVIEW (the preview pulse), and beside them the
// data-file text of the set behind the inserted page. The plug-in's window
// writes them; its host link publishes every change, and a host mirrors what
// it receives in one of its own.
class PluginExchange : public QObject {
    Q_OBJECT
public:
    enum class Field { SCRIPT, SCRIPTTYPE, PREVIEW };

    using QObject::QObject;

    // The field's name on the link.
    [[nodiscard]] static QString name(Field field);
    // The exact text of a field, CR LF included.
    [[nodiscard]] QString text(Field field) const { return m_fields[index(field)]; }
    // The data-file text of the set the last "Insert script" made its page of;
    // empty before one.
    [[nodiscard]] QString insertedSet() const { return m_insertedSet; }

    // Each call is one change, announced even when the text stays the same.
    void set(Field field, const QString& text);
    void setInsertedSet(const QString& text);

    // A change a host received by its name: false for a name that is none of
    // these, or a text the field holds already.
    bool apply(const QString& item, const QString& value);

signals:
    void changed(PluginExchange::Field field, const QString& text);
    void insertedSetChanged(const QString& text);

private:
    [[nodiscard]] static std::size_t index(Field field) { return static_cast<std::size_t>(field); }

    std::array<QString, 3> m_fields;
    QString m_insertedSet;
};
