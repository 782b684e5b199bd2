#pragma once

#include "db/RowView.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <utility>

namespace vorlin::db {

class LargeColumn;
class Store;

// The fields of an open query, in its table's order: each held in memory at
// a column of the rows shown, but the large one of a table with a key (a
// snippet's body), read for one row at a time when its value is asked for.
class QueryFields {
public:
    struct Field {
        QString name;
        int column;  // in the rows held, or -1 for the large one
    };

    QueryFields();
    QueryFields(Store& store, const QString& table, const QString& largeColumn, const QString& keyField);
    QueryFields(QueryFields&&) noexcept;
    QueryFields& operator=(QueryFields&&) noexcept;
    ~QueryFields();

    int size() const { return int(fields_.size()); }
    const Field& operator[](int index) const { return fields_[index]; }
    // -1 when there is no such field (names compared without regard to case).
    int indexOf(const QString& name) const;
    QStringList names() const;
    // The columns held in memory, in the order of the rows' columns.
    QStringList held() const;
    bool hasKey() const { return keyColumn_ >= 0; }
    // The key's column in the rows held; -1 without a key.
    int keyColumn() const { return keyColumn_; }

    // A row's value of a field; all of its values, by field.
    QVariant valueOf(const RowView& rows, int stored, const Field& field) const;
    QVariantList valuesOf(const RowView& rows, int stored) const;
    // Of a row's values by field: those of the columns held, in their
    // order; those given (not null), by name, the key's left out.
    QVariantList heldValues(const QVariantList& values) const;
    QList<std::pair<QString, QVariant>> givenValues(const QVariantList& values, const QString& keyField) const;
    // The large value a write has just stored for the key, among a row's
    // values by field, kept without reading it; forgotten when the rows
    // are read again (another client may have changed them).
    void remember(const QVariant& key, const QVariantList& values);
    void forgetLarge();

private:
    QList<Field> fields_;
    int keyColumn_ = -1;
    std::unique_ptr<LargeColumn> large_;
};

}  // namespace vorlin::db
