#pragma once

#include <QString>
#include <QVariant>

namespace vorlin::db {

class Store;

// The large column of a table (a snippet's body), read for one row at a
// time by its key, the last value kept: the list holds every other column,
// and a row's body is read only when that row is looked at.
class LargeColumn {
public:
    LargeColumn(Store& store, QString table, QString column, QString keyColumn)
        : store_(store), table_(std::move(table)), column_(std::move(column)), keyColumn_(std::move(keyColumn))
    {
    }

    QVariant valueFor(const QVariant& key);
    // The value a write has just stored for the key, kept without reading.
    void remember(const QVariant& key, const QVariant& value);
    // The next look reads the row again (another client may have changed it).
    void forget() { key_ = QVariant(); }

private:
    Store& store_;
    QString table_;
    QString column_;
    QString keyColumn_;
    QVariant key_;
    QVariant value_;
};

}  // namespace vorlin::db
