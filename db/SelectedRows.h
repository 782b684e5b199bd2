#pragma once

#include "db/FirstRows.h"
#include "db/RowSearch.h"
#include "db/RowSet.h"
#include "db/RowView.h"
#include "db/Selection.h"
#include "db/TableCopy.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace vorlin::db {

class Store;
class TextOrder;

// The rows a selection of a table shows, held in memory. With a text order,
// they come from the copy of the whole table (read once, then kept): found
// by the one search over rows held, in the order kept for the sort column.
// Without one, or for a filter on a column not held, they are the
// database's result, sorted here. The first rows kept at the last end are
// shown while the table is read behind them.
class SelectedRows {
public:
    // Told (on the reading's thread) when the table read behind the first
    // rows is there, also when these rows are gone by then.
    std::function<void()> whenTableArrives;

    void setTextOrder(std::shared_ptr<const TextOrder> order) { copy_->setTextOrder(std::move(order)); }
    // The table held in memory that the rows are shown from; it outlives
    // these rows.
    void setTableCopy(TableCopy& copy);
    TableCopy& copy() const { return *copy_; }

    RowView& shown() { return rows_; }
    const RowView& shown() const { return rows_; }

    // The rows to show at the next selection while the whole table is read
    // behind them from the database file: taken when they were kept for the
    // order it asks for, without a filter.
    void showFirstWhileReading(FirstRows first, const QString& file);
    // The selection's rows, these columns held (the key among them).
    void select(Store& store, const Selection& selection, const QStringList& kept, const QString& keyField);
    // Nothing shown; a copy of the whole table stays for the next selection.
    void clear();

    // Whether the rows come from a copy of the selection's whole table.
    bool holdTable(const Selection& selection) const;
    // The first rows of the whole table in the order of that selection (its
    // filter aside), for a later start; nothing when the copy holds no such
    // order now.
    std::optional<FirstRows> firstRows(const Selection& order, const QString& keyField, int count) const;

    std::size_t memoryBytes() const { return rows_.memoryBytes() + copy_->rows().memoryBytes(); }

private:
    // What first rows were kept for: the table, the columns held, the order.
    QString firstRowsOrder(const QString& table, const QStringList& kept, int orderColumn, bool descending) const;
    bool showFirstRows(Store& store, const Selection& selection, const QStringList& kept, const QString& keyField,
                       int orderColumn);
    void searchCopy(Store& store, const Selection& selection, const QStringList& kept, const QString& keyField,
                    int orderColumn);

    RowView rows_;  // rows of copy_->rows(), or of shownFirst_
    // The last search of the copy's rows, which the next one narrows when it
    // can (a word typed on).
    RowSearch::Found lastSearch_;
    std::optional<FirstRows> pendingFirst_;
    QString pendingFirstFile_;
    RowSet shownFirst_;
    // Usually the whole table; its own unless the data module gave it the
    // program's.
    TableCopy ownCopy_;
    TableCopy* copy_ = &ownCopy_;
};

}  // namespace vorlin::db
