#include "db/TableWriter.h"

#include "db/StatementText.h"

namespace vorlin::db {

TableWriter::TableWriter(Database& database, QString table, QString keyColumn)
    : database_(database), table_(std::move(table)), keyColumn_(std::move(keyColumn))
{
}

void TableWriter::update(const QVariant& key, const QList<Change>& changes, Check check)
{
    if (changes.isEmpty())
        return;
    QStringList assignments;
    QStringList unchangedSince;
    for (const Change& change : changes) {
        assignments << quotedIdentifier(change.column) + QStringLiteral(" = ?");
        unchangedSince << quotedIdentifier(change.column) + QStringLiteral(" IS ?");
    }
    if (check == Check::None)
        unchangedSince = {QStringLiteral("1")};
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ? AND %4")
                            .arg(quotedIdentifier(table_), assignments.join(QStringLiteral(", ")),
                                 quotedIdentifier(keyColumn_), unchangedSince.join(QStringLiteral(" AND ")));
    Transaction transaction(database_);
    Statement statement(database_, sql);
    int parameter = 1;
    for (const Change& change : changes)
        statement.bind(parameter++, change.value);
    statement.bind(parameter++, key);
    if (check == Check::UnchangedSinceRead)
        for (const Change& change : changes)
            statement.bind(parameter++, change.was);
    statement.step();
    if (database_.changes() != 1) {
        Statement exists(database_, QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?")
                                        .arg(quotedIdentifier(table_), quotedIdentifier(keyColumn_)));
        exists.bind(1, key);
        throw RowChangedError(!exists.step());
    }
    transaction.commit();
}

QVariantList TableWriter::insert(const QList<std::pair<QString, QVariant>>& values, const QStringList& returning)
{
    QStringList columns;
    for (const auto& [column, value] : values)
        columns << quotedIdentifier(column);
    QStringList returned;
    for (const QString& column : returning)
        returned << quotedIdentifier(column);
    const QString sql = columns.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING %2")
              .arg(quotedIdentifier(table_), returned.join(QStringLiteral(", ")))
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING %4")
              .arg(quotedIdentifier(table_), columns.join(QStringLiteral(", ")),
                   QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")),
                   returned.join(QStringLiteral(", ")));
    Transaction transaction(database_);
    QVariantList stored;
    {
        Statement statement(database_, sql);
        int parameter = 1;
        for (const auto& [column, value] : values)
            statement.bind(parameter++, value);
        if (!statement.step())
            throw DatabaseError(QStringLiteral("The new row was not stored"));
        for (int column = 0; column < statement.columnCount(); ++column)
            stored << statement.column(column);
        while (statement.step()) {
        }
    }
    transaction.commit();
    return stored;
}

void TableWriter::remove(const QVariant& key)
{
    Transaction transaction(database_);
    Statement statement(database_, QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                                       .arg(quotedIdentifier(table_), quotedIdentifier(keyColumn_)));
    statement.bind(1, key);
    statement.step();
    // A row another program deleted first is gone all the same.
    transaction.commit();
}

}  // namespace vorlin::db
