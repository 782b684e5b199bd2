#pragma once

#include "db/FirstRows.h"
#include "db/RowSearch.h"
#include "db/RowSet.h"
#include "db/RowView.h"
#include "db/Selection.h"
#include "db/TableCopy.h"

#include <QHash>
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
    // The same selection read again, the current row found again by its
    // key (else kept in place): how the rows shown changed.
    ShownChange selectAgain(Store& store, const Selection& selection, const QStringList& kept, const QString& keyField,
                            int& current);
    // Nothing shown; a copy of the whole table stays for the next selection.
    void clear();

    // A write of the query's, then its row shown and kept in the copy's
    // orders: the row shown at a place changed, one added at a place, the
    // one at a place deleted. The writes give the row as stored.
    void writeChanged(Store& store, int row, const std::function<QVariantList()>& write);
    void writeAdded(Store& store, int row, const std::function<QVariantList()>& write);
    void writeRemoved(Store& store, int row, const std::function<void()>& write);

    // Whether the rows come from a copy of the selection's whole table.
    bool holdTable(const Selection& selection) const;
    // The first rows of the whole table in the order of that selection (its
    // filter aside), for a later start; nothing when the copy holds no such
    // order now.
    std::optional<FirstRows> firstRows(const Selection& order, const QString& keyField, int count) const;

    // The whole table as held now, for a reader that searches it on its own:
    // every column held, the rows in the ascending order of one of them.
    // Nothing when no copy of the selection's table is held (the database
    // filtered, or the table is still read behind the first rows). The rows
    // stay as they are while the reader holds them; a write goes into a copy
    // of its own then.
    struct TableSnapshot {
        std::shared_ptr<const RowSet> rows;
        QStringList columns;
        std::shared_ptr<const std::vector<std::uint32_t>> order;
        bool current;  // false when another program changed the table since
        // Per row, the letters its texts hold (TableCopy::sharedLetters).
        std::shared_ptr<const std::vector<RowLetters>> letters;
    };
    std::optional<TableSnapshot> snapshot(const Selection& selection, const QString& orderColumn, bool current);

    // Where the row with this key is shown; -1 when it is not.
    int placeOfKey(qint64 key) const;

    std::size_t memoryBytes() const { return rows_.memoryBytes() + copy_->rows().memoryBytes(); }

private:
    // The copy stays current when it was before.
    void writeThrough(Store& store, const std::function<void()>& write, const std::function<void()>& change);
    // What first rows were kept for: the table, the columns held, the order.
    QString firstRowsOrder(const QString& table, const QStringList& kept, int orderColumn, bool descending) const;
    bool showFirstRows(Store& store, const Selection& selection, const QStringList& kept, const QString& keyField,
                       int orderColumn);
    void searchCopy(Store& store, const Selection& selection, const QStringList& kept, const QString& keyField,
                    int orderColumn);

    RowView rows_;  // rows of copy_->rows(), or of shownFirst_
    int keyColumn_ = -1;
    mutable QHash<qint64, int> keyPlaces_;  // made by the first look, dropped as rows come or go
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
