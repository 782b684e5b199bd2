#pragma once

#include "db/Sqlite.h"
#include "db/Store.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>

namespace vorlin::db {

// Writes the rows of one table back, each in a transaction of its own.
class TableWriter {
public:
    TableWriter(Database& database, QString table, QString keyColumn);

    using Change = Store::Change;
    // Updates the row with the key, found only while the changed columns
    // still hold what was read: another program's change is not overwritten.
    // Raises DatabaseError when the row is gone or was changed meanwhile.
    enum class Check { UnchangedSinceRead, None };
    void update(const QVariant& key, const QList<Change>& changes, Check check = Check::UnchangedSinceRead);

    // Inserts a row with the given columns (the others take their defaults)
    // and returns the stored row's values of the columns asked for.
    QVariantList insert(const QList<std::pair<QString, QVariant>>& values, const QStringList& returning);

    // Deletes the row with the key; a row already gone is no error.
    void remove(const QVariant& key);

private:
    Database& database_;
    QString table_;
    QString keyColumn_;
};

}  // namespace vorlin::db
