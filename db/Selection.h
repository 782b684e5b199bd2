#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace vorlin::db {

// One test of a row: its column's text is LIKE the pattern ("%" any run of
// characters, "_" any one, letters without regard to case). An empty
// column (NULL) is like nothing.
struct LikeTerm {
    QString column;
    QString pattern;

    bool operator==(const LikeTerm&) const = default;
};

// Rows that meet every group, a group being met when any of its terms is.
using RowFilter = QList<QList<LikeTerm>>;

// What a query reads, as a value: the rows of one table that meet a filter,
// in the order of one column. The filter is data: the database gets it as a
// condition whose "?" placeholders take the patterns (what the user typed
// goes into the parameters, never into the text), and rows held in memory
// are tested by the same terms.
struct Selection {
    QString table;
    RowFilter filter;  // empty: every row
    QString orderColumn;  // empty: the database's own order
    bool descending = false;

    bool operator==(const Selection&) const = default;
};

// The filter as an SQL condition with a "?" for each term's pattern, in the
// order of the terms; empty for no filter. Long groups nest, so that the
// database's expression stays shallow however many terms there are.
QString conditionOf(const RowFilter& filter);
// The patterns, in the order of their placeholders.
QVariantList parametersOf(const RowFilter& filter);

// The statement that reads these columns of the selection's rows; ordered
// by the database only when asked, as a query that sorts the rows itself
// leaves it out.
QString selectStatement(const Selection& selection, const QStringList& columns, bool orderedByDatabase);

// Where a column stands among these, its name compared without regard to
// case; -1 when it is not there or empty.
int columnIndexOf(const QStringList& columns, const QString& name);

}  // namespace vorlin::db
