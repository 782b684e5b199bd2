#include "db/SqliteStore.h"

#include "db/RowSet.h"
#include "db/StatementText.h"
#include "db/TableWriter.h"

namespace vorlin::db {

QStringList SqliteStore::columns(const QString& table)
{
    Statement statement(database_, QStringLiteral("SELECT name FROM pragma_table_info(?)"));
    statement.bind(1, table);
    QStringList columns;
    while (statement.step())
        columns << statement.column(0).toString();
    return columns;
}

void SqliteStore::read(const Selection& selection, const QStringList& columns, bool ordered, RowSet& rows)
{
    Statement statement(database_, selectStatement(selection, columns, ordered));
    const QVariantList parameters = parametersOf(selection.filter);
    for (qsizetype i = 0; i < parameters.size(); ++i)
        statement.bind(int(i + 1), parameters[i]);
    rows.clear(statement.columnCount());
    while (statement.step())
        rows.appendFrom(statement.handle());
    rows.fitMemory();
}

QVariant SqliteStore::valueOf(const QString& table, const QString& column, const QString& keyColumn,
                              const QVariant& key)
{
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                            .arg(quotedIdentifier(column), quotedIdentifier(table), quotedIdentifier(keyColumn));
    if (!valueRead_ || valueSql_ != sql) {
        valueRead_.reset();
        valueRead_ = std::make_unique<Statement>(database_, sql);
        valueSql_ = sql;
    }
    valueRead_->reset();
    valueRead_->bind(1, key);
    const QVariant value = valueRead_->step() ? valueRead_->column(0) : QVariant();
    valueRead_->reset();
    return value;
}

void SqliteStore::update(const QString& table, const QString& keyColumn, const QVariant& key,
                         const QList<Change>& changes)
{
    TableWriter(database_, table, keyColumn).update(key, changes);
}

void SqliteStore::overwrite(const QString& table, const QString& keyColumn, const QVariant& key,
                            const QList<Change>& changes)
{
    TableWriter(database_, table, keyColumn).update(key, changes, TableWriter::Check::None);
}

QVariantList SqliteStore::insert(const QString& table, const QList<std::pair<QString, QVariant>>& values,
                                 const QStringList& returning)
{
    return TableWriter(database_, table, QString()).insert(values, returning);
}

void SqliteStore::remove(const QString& table, const QString& keyColumn, const QVariant& key)
{
    TableWriter(database_, table, keyColumn).remove(key);
}

int SqliteStore::execute(const QString& sql)
{
    Transaction transaction(database_);
    Statement statement(database_, translateJetSql(sql));
    while (statement.step()) {
    }
    const int changed = database_.changes();
    transaction.commit();
    return changed;
}

}  // namespace vorlin::db
