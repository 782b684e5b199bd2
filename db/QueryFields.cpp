#include "db/QueryFields.h"

#include "db/LargeColumn.h"
#include "db/Selection.h"
#include "db/Store.h"

namespace vorlin::db {

QueryFields::QueryFields() = default;
QueryFields::QueryFields(QueryFields&&) noexcept = default;
QueryFields& QueryFields::operator=(QueryFields&&) noexcept = default;
QueryFields::~QueryFields() = default;

QueryFields::QueryFields(Store& store, const QString& table, const QString& largeColumn, const QString& keyField)
{
    const QStringList columns = store.columns(table);
    const bool keyed = columnIndexOf(columns, keyField) >= 0;
    int held = 0;
    for (const QString& column : columns) {
        if (keyed && !largeColumn.isEmpty() && column.compare(largeColumn, Qt::CaseInsensitive) == 0) {
            fields_.append({column, -1});
            large_ = std::make_unique<LargeColumn>(store, table, column, keyField);
        } else {
            fields_.append({column, held++});
        }
    }
    keyColumn_ = keyed ? columnIndexOf(this->held(), keyField) : -1;
}

int QueryFields::indexOf(const QString& name) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QStringList QueryFields::names() const
{
    QStringList names;
    for (const Field& field : fields_)
        names << field.name;
    return names;
}

QStringList QueryFields::held() const
{
    QStringList held;
    for (const Field& field : fields_)
        if (field.column >= 0)
            held << field.name;
    return held;
}

QVariant QueryFields::valueOf(const RowView& rows, int stored, const Field& field) const
{
    if (field.column >= 0)
        return rows.value(stored, field.column);
    return large_ ? large_->valueFor(rows.value(stored, keyColumn_)) : QVariant();
}

QVariantList QueryFields::valuesOf(const RowView& rows, int stored) const
{
    QVariantList values;
    for (const Field& field : fields_)
        values << valueOf(rows, stored, field);
    return values;
}

QVariantList QueryFields::heldValues(const QVariantList& values) const
{
    QVariantList held;
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].column >= 0)
            held << values.value(i);
    return held;
}

QList<std::pair<QString, QVariant>> QueryFields::givenValues(const QVariantList& values, const QString& keyField) const
{
    QList<std::pair<QString, QVariant>> given;
    for (int i = 0; i < fields_.size(); ++i)
        if (!values.value(i).isNull() && fields_[i].name.compare(keyField, Qt::CaseInsensitive) != 0)
            given.append({fields_[i].name, values[i]});
    return given;
}

void QueryFields::remember(const QVariant& key, const QVariantList& values)
{
    for (int i = 0; i < fields_.size() && large_; ++i)
        if (fields_[i].column < 0)
            large_->remember(key, values.value(i));
}

void QueryFields::forgetLarge()
{
    if (large_)
        large_->forget();
}

}  // namespace vorlin::db
