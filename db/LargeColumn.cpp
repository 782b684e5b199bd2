#include "db/LargeColumn.h"

#include "db/StatementText.h"

namespace vorlin::db {

namespace {

// The key last read, when there is one and it is this key.
bool sameKey(const QVariant& last, const QVariant& key)
{
    if (!last.isValid())
        return false;
    if (last.isNull() || key.isNull())
        return last.isNull() == key.isNull();
    return last == key;
}

}  // namespace

LargeColumn::LargeColumn(const Database& database, const QString& table, const QString& column,
                         const QString& keyColumn)
    : read_(database, QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                          .arg(quotedIdentifier(column), quotedIdentifier(table), quotedIdentifier(keyColumn)))
{
}

QVariant LargeColumn::valueFor(const QVariant& key)
{
    if (sameKey(key_, key))
        return value_;
    read_.reset();
    read_.bind(1, key);
    QVariant value = read_.step() ? read_.column(0) : QVariant();
    read_.reset();
    remember(key, value);
    return value;
}

void LargeColumn::remember(const QVariant& key, const QVariant& value)
{
    key_ = key;
    value_ = value;
}

}  // namespace vorlin::db
