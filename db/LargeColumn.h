#pragma once

#include "db/Sqlite.h"

#include <QString>
#include <QVariant>

#include <memory>

namespace vorlin::db {

// The large column of a table (a snippet's body), read for one row at a
// time by its key, the last value kept: the list holds every other column,
// and a row's body is read only when that row is looked at.
class LargeColumn {
public:
    LargeColumn(const Database& database, const QString& table, const QString& column, const QString& keyColumn);

    QVariant valueFor(const QVariant& key);
    // The value a write has just stored for the key, kept without reading.
    void remember(const QVariant& key, const QVariant& value);

private:
    Statement read_;
    QVariant key_;
    QVariant value_;
};

}  // namespace vorlin::db
