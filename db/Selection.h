#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

namespace vorlin::db {

// What a query reads, as a value: the rows of one table that meet a
// condition, in the order of one column. The condition is SQL text whose
// "?" placeholders take the parameters, bound in their order: what the user
// typed goes into the parameters, never into the text.
struct Selection {
    QString table;
    QString condition;  // empty: every row
    QVariantList parameters;
    QString orderColumn;  // empty: the database's own order
    bool descending = false;

    bool operator==(const Selection&) const = default;
};

// The statement that reads these columns of the selection's rows; ordered
// by the database only when asked, as a query that sorts the rows itself
// leaves it out.
QString selectStatement(const Selection& selection, const QStringList& columns, bool orderedByDatabase);

}  // namespace vorlin::db
