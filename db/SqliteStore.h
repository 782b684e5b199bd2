#pragma once

#include "db/Sqlite.h"
#include "db/Store.h"

#include <memory>

namespace vorlin::db {

// The library in a database file of this computer.
class SqliteStore : public Store {
public:
    explicit SqliteStore(Database database) : database_(std::move(database)) {}

    Database& database() { return database_; }

    QStringList columns(const QString& table) override;
    void read(const Selection& selection, const QStringList& columns, bool ordered, RowSet& rows) override;
    qint64 changeMark() override { return database_.changeMark(); }
    QVariant valueOf(const QString& table, const QString& column, const QString& keyColumn,
                     const QVariant& key) override;
    void update(const QString& table, const QString& keyColumn, const QVariant& key,
                const QList<Change>& changes) override;
    void overwrite(const QString& table, const QString& keyColumn, const QVariant& key,
                   const QList<Change>& changes) override;
    QVariantList insert(const QString& table, const QList<std::pair<QString, QVariant>>& values,
                        const QStringList& returning) override;
    void remove(const QString& table, const QString& keyColumn, const QVariant& key) override;
    int execute(const QString& sql) override;

private:
    Database database_;
    // The statement reading one row's value, prepared once for the column.
    QString valueSql_;
    std::unique_ptr<Statement> valueRead_;
};

}  // namespace vorlin::db
