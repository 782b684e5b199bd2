#pragma once

#include "db/FirstRows.h"
#include "db/InMemoryFilter.h"
#include "db/RowSet.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace vorlin::db {

class Store;
class TextOrder;

// The snippets held in memory for the lists that show them. Usually every
// row of a table, held while the database does not change behind its back
// (the store's change mark tells): a search or a sort takes its rows from
// here instead of reading them again, other clients' changes are taken in
// row by row, and the orders made of it are kept as rows change, come and
// go. When the database had to filter or sort, it holds that result only.
// A reader that searches the rows on its own (the quick-insert pop-up)
// shares them; a write meanwhile goes into a copy of its own.
class TableCopy {
public:
    // The table it holds whole; empty when it holds a database's result.
    const QString& table() const { return table_; }
    const QStringList& columns() const { return columns_; }
    bool holds(const QString& table, const QStringList& columns) const
    {
        return !table_.isEmpty() && table_ == table && columns_ == columns;
    }
    // Whether nobody changed the table since it was read.
    bool isCurrent(Store& store) const;
    // Changes whenever its rows do (read, taken in, written, let go); never
    // the same for two states of any copy.
    std::uint64_t version() const { return version_; }

    RowSet& rows() { return *rows_; }
    const RowSet& rows() const { return *rows_; }
    std::shared_ptr<const RowSet> sharedRows() const { return rows_; }

    // Reads the whole table.
    void read(Store& store, const QString& table, const QStringList& columns);
    // Reads the whole table and its order by one column from the database
    // file, on a connection and a thread of their own, while the caller
    // shows something else; `arrived` runs on that thread when it is done.
    // The copy is then current at the mark given (taken before the reading).
    // What it may take instead of sorting, kept from an earlier reading of
    // the same file: the rows' keys (column keyColumn) in the order, which
    // rows hold the same value as the one before (empty: not known), and
    // the bytes their texts took, as `read` gives them on the reading's thread.
    struct KnownOrder {
        int keyColumn = -1;
        std::function<void(FirstRows& into)> read;
    };
    void readBehind(const QString& file, const QString& table, const QStringList& columns, int orderColumn,
                    bool descending, qint64 mark, KnownOrder known, std::function<void()> arrived);
    bool isArriving() const { return arrival_ != nullptr; }
    // Whether the reading behind has ended: taking it waits for nothing.
    bool hasArrived() const;
    // Waits for the reading behind and holds what it read; false, holding
    // nothing, when it failed.
    bool takeArrival();
    // Takes other clients' changes in, rows found by the key column; false
    // when the store cannot tell them or they are too many.
    bool catchUp(Store& store, const QString& keyField);
    // Empty rows to hold a database's result in, instead of a table.
    RowSet& holdResult();
    // Holds nothing; the text order and the letter columns stay.
    void clear();
    // The next look at the store reads the changes again.
    void markStale() { mark_ = -1; }

    // The rows' indexes in the order of a column, made once and kept.
    void setTextOrder(std::shared_ptr<const TextOrder> order);
    const TextOrder* textOrder() const { return textOrder_.get(); }
    std::shared_ptr<const TextOrder> sharedTextOrder() const { return textOrder_; }
    const std::vector<std::uint32_t>& order(int column, bool descending);
    // The same, for a reader to hold as it is now.
    std::shared_ptr<const std::vector<std::uint32_t>> sharedOrder(int column, bool descending);
    // Such an order when it is made already, and which of its rows hold the
    // same value as the one before when that is known; nothing otherwise.
    const std::vector<std::uint32_t>* keptOrder(int column, bool descending) const;
    const std::vector<bool>* keptTies(int column, bool descending) const;

    // Per row, the letters its texts in the columns named (one or two) hold
    // when folded for typing (lettersOfUtf8), the first column's in the low
    // half of RowLetters, the second's in the high half; made once (by the
    // reading behind too) and kept as rows change; for a reader to hold as
    // they are now. Nothing without such columns.
    using RowLetters = db::RowLetters;
    void setLetterColumns(const QStringList& names);
    const QStringList& letterColumnNames() const { return letterNames_; }
    std::shared_ptr<const std::vector<RowLetters>> sharedLetters();

    // Runs a write of the program's own and then its change of the rows;
    // the copy stays current when it was before.
    void writeThrough(Store& store, const std::function<void()>& write, const std::function<void()>& change);

    // The kept orders follow a row that changed, came or went.
    enum class RowChange { Changed, Added, Removed };
    void keepOrders(RowChange change, std::uint32_t row);

private:
    // A reader holds the rows as they were: the rows become a copy.
    void ownRows();
    void changed();

    QString table_;
    QStringList columns_;
    qint64 mark_ = -1;  // the store's change mark when it was current
    std::uint64_t version_ = 0;
    std::shared_ptr<RowSet> rows_ = std::make_shared<RowSet>();
    // (column, descending) → rows; a reader may share one, which a change
    // then leaves as it was.
    std::map<std::pair<int, bool>, std::shared_ptr<std::vector<std::uint32_t>>> orders_;
    // For an order as sorted: which rows hold the same value as the one before.
    std::map<std::pair<int, bool>, std::vector<bool>> ties_;
    std::shared_ptr<const TextOrder> textOrder_;
    struct Arrival;
    std::shared_ptr<Arrival> arrival_;  // the reading behind, until taken
    // Where the letter columns stand among these.
    std::vector<int> letterColumns(const QStringList& of) const;
    static std::shared_ptr<std::vector<RowLetters>> lettersOfRows(const RowSet& rows, const std::vector<int>& columns);
    QStringList letterNames_;
    std::shared_ptr<std::vector<RowLetters>> letters_;
};

}  // namespace vorlin::db
