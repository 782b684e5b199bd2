#include "db/TableCopy.h"

#include "common/AwayFromGuiThread.h"

#include "db/RowSearch.h"
#include "db/Selection.h"
#include "db/SqliteStore.h"
#include "db/Store.h"
#include "db/TextOrder.h"
#include "db/UnicodeLike.h"

#include <QHash>

#include <malloc.h>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <limits>
#include <mutex>

namespace vorlin::db {

namespace {

constexpr std::size_t kTrimAfterRows = 50000;

// The rows in the order of their keys as given; nothing unless the keys are
// those of the rows, each once.
std::optional<std::vector<std::uint32_t>> orderOfKeys(const RowSet& rows, int keyColumn, const std::vector<qint64>& keys)
{
    const std::size_t count = std::size_t(rows.rowCount());
    if (keyColumn < 0 || keys.size() != count || count == 0)
        return std::nullopt;
    constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
    qint64 lowest = std::numeric_limits<qint64>::max();
    qint64 highest = std::numeric_limits<qint64>::min();
    for (std::size_t row = 0; row < count; ++row) {
        lowest = std::min(lowest, rows.integerAt(int(row), keyColumn));
        highest = std::max(highest, rows.integerAt(int(row), keyColumn));
    }
    // Keys of a library are numbers counted up, mostly without gaps: a row
    // is found by its key's place in a list as long as the rows.
    if (quint64(highest - lowest) >= 4 * quint64(count))
        return std::nullopt;
    std::vector<std::uint32_t> rowOfKey(std::size_t(highest - lowest) + 1, kNone);
    for (std::size_t row = 0; row < count; ++row) {
        std::uint32_t& place = rowOfKey[std::size_t(rows.integerAt(int(row), keyColumn) - lowest)];
        if (place != kNone)
            return std::nullopt;  // a key twice
        place = std::uint32_t(row);
    }
    std::vector<std::uint32_t> order;
    order.reserve(count);
    for (const qint64 key : keys) {
        if (key < lowest || key > highest || rowOfKey[std::size_t(key - lowest)] == kNone)
            return std::nullopt;
        order.push_back(std::exchange(rowOfKey[std::size_t(key - lowest)], kNone));
    }
    return order;
}

// What a reader shares stays as it was: a change goes into a copy of its own.
template <class Kept>
Kept& ownedForChange(std::shared_ptr<Kept>& kept)
{
    if (kept.use_count() > 1)
        kept = std::make_shared<Kept>(*kept);
    return *kept;
}

}  // namespace

struct TableCopy::Arrival {
    QString table;
    QStringList columns;
    int orderColumn;
    bool descending;
    qint64 mark;
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::shared_ptr<RowSet> rows;  // none when the reading failed
    std::vector<std::uint32_t> order;
    std::vector<bool> ties;
    std::vector<int> letterColumns;
    std::shared_ptr<std::vector<RowLetters>> letters;
    QString error;
};

bool TableCopy::isCurrent(Store& store) const
{
    return !table_.isEmpty() && mark_ == store.changeMark();
}

void TableCopy::read(Store& store, const QString& table, const QStringList& columns)
{
    arrival_.reset();
    letters_.reset();
    table_ = table;
    columns_ = columns;
    orders_.clear();
    ties_.clear();
    changed();
    mark_ = store.changeMark();
    if (rows_.use_count() > 1)  // a reader still holds the last copy
        rows_ = std::make_shared<RowSet>();
    Selection wholeTable;
    wholeTable.table = table;
    store.read(wholeTable, columns, false, *rows_);
}

void TableCopy::readBehind(const QString& file, const QString& table, const QStringList& columns, int orderColumn,
                           bool descending, qint64 mark, KnownOrder known, std::function<void()> arrived)
{
    clear();
    auto arrival = std::make_shared<Arrival>();
    arrival->table = table;
    arrival->columns = columns;
    arrival->orderColumn = orderColumn;
    arrival->descending = descending;
    arrival->mark = mark;
    arrival->letterColumns = letterColumns(columns);
    arrival_ = arrival;
    std::shared_ptr<const TextOrder> order = textOrder_->isThreadSafe() ? textOrder_ : textOrder_->twin();
    Handover::give([&] {
        backgroundThreads().start([arrival, order, file, known = std::move(known),
                                   arrived = std::move(arrived)]() mutable {
            Handover::take();
            auto rows = std::make_shared<RowSet>();
            std::vector<std::uint32_t> sorted;
            std::vector<bool> ties;
            std::shared_ptr<std::vector<RowLetters>> letters;
            QString error;
            try {
                SqliteStore store{Database(file)};
                Selection wholeTable;
                wholeTable.table = arrival->table;
                FirstRows whole;
                if (known.read)
                    known.read(whole);
                rows->clear(int(arrival->columns.size()));
                rows->reserve(int(whole.keys.size()), whole.textBytes);
                store.read(wholeTable, arrival->columns, false, *rows);
                if (std::optional<std::vector<std::uint32_t>> kept = orderOfKeys(*rows, known.keyColumn, whole.keys)) {
                    sorted = std::move(*kept);
                    ties = std::move(whole.ties);
                } else {
                    sorted = rows->orderBy(arrival->orderColumn, arrival->descending, *order, &ties);
                    ::malloc_trim(0);  // the keys of the order go back to the system
                }
                if (!arrival->letterColumns.empty())
                    letters = lettersOfRows(*rows, arrival->letterColumns);
            } catch (const std::exception& e) {
                rows.reset();
                error = QString::fromUtf8(e.what());
            }
            {
                const std::lock_guard lock(arrival->mutex);
                arrival->rows = std::move(rows);
                arrival->order = std::move(sorted);
                arrival->ties = std::move(ties);
                arrival->letters = std::move(letters);
                arrival->error = error;
                arrival->finished = true;
            }
            arrival->done.notify_all();
            arrived();
        });
    });
}

bool TableCopy::hasArrived() const
{
    if (!arrival_)
        return false;
    const std::lock_guard lock(arrival_->mutex);
    return arrival_->finished;
}

bool TableCopy::takeArrival()
{
    const std::shared_ptr<Arrival> arrival = std::exchange(arrival_, nullptr);
    if (!arrival)
        return false;
    std::unique_lock lock(arrival->mutex);
    arrival->done.wait(lock, [&arrival] { return arrival->finished; });
    if (!arrival->rows) {
        qWarning("The snippets read behind the first rows could not be read: %s", qPrintable(arrival->error));
        return false;
    }
    table_ = arrival->table;
    columns_ = arrival->columns;
    rows_ = std::move(arrival->rows);
    letters_ = std::move(arrival->letters);
    orders_.clear();
    ties_.clear();
    orders_[{arrival->orderColumn, arrival->descending}] =
        std::make_shared<std::vector<std::uint32_t>>(std::move(arrival->order));
    if (arrival->ties.size() == std::size_t(rows_->rowCount()))
        ties_[{arrival->orderColumn, arrival->descending}] = std::move(arrival->ties);
    mark_ = arrival->mark;
    changed();
    return true;
}

RowSet& TableCopy::holdResult()
{
    clear();
    return *rows_;
}

void TableCopy::clear()
{
    std::shared_ptr<const TextOrder> order = std::move(textOrder_);
    QStringList letterNames = std::move(letterNames_);
    *this = TableCopy{};
    textOrder_ = std::move(order);
    letterNames_ = std::move(letterNames);
    changed();
}

void TableCopy::changed()
{
    version_ = newRowsVersion();
}

bool TableCopy::catchUp(Store& store, const QString& keyField)
{
    const qint64 mark = store.changeMark();
    const std::optional<Store::Changes> changes = store.changesSince(table_, columns_);
    const auto keyAt = std::find_if(columns_.begin(), columns_.end(), [&keyField](const QString& column) {
        return !keyField.isEmpty() && column.compare(keyField, Qt::CaseInsensitive) == 0;
    });
    const int key = keyAt == columns_.end() ? -1 : int(keyAt - columns_.begin());
    // Many changes at once (a wipe, a script's import) are read whole.
    if (!changes || key < 0
        || changes->rows.size() + std::size_t(changes->removed.size()) > std::size_t(rows_->rowCount() / 4 + 16))
        return false;
    ownRows();
    RowSet& rows = *rows_;
    QHash<qint64, int> rowOfKey;
    rowOfKey.reserve(rows.rowCount());
    for (int row = 0; row < rows.rowCount(); ++row)
        rowOfKey.insert(rows.integerAt(row, key), row);
    // Changed and new rows first: an added row goes to the end and moves no
    // other; the rows that went are taken from the last one up, so that
    // the places still to remove stay where they were.
    for (const QVariantList& values : changes->rows) {
        const int row = rowOfKey.value(values.value(key).toLongLong(), -1);
        if (row >= 0) {
            rows.replaceRow(row, values);
            keepOrders(RowChange::Changed, std::uint32_t(row));
        } else {
            rows.insertRow(rows.rowCount(), values);
            keepOrders(RowChange::Added, std::uint32_t(rows.rowCount() - 1));
        }
    }
    std::vector<int> gone;
    for (const qint64 removed : changes->removed)
        if (const int row = rowOfKey.value(removed, -1); row >= 0)
            gone.push_back(row);
    std::sort(gone.rbegin(), gone.rend());
    for (const int row : gone) {
        rows.removeRow(row);
        keepOrders(RowChange::Removed, std::uint32_t(row));
    }
    mark_ = mark;
    return true;
}

void TableCopy::setTextOrder(std::shared_ptr<const TextOrder> order)
{
    textOrder_ = std::move(order);
    orders_.clear();  // made in the other order
    ties_.clear();
}

const std::vector<std::uint32_t>& TableCopy::order(int column, bool descending)
{
    return *sharedOrder(column, descending);
}

std::shared_ptr<const std::vector<std::uint32_t>> TableCopy::sharedOrder(int column, bool descending)
{
    const std::size_t rows = std::size_t(rows_->rowCount());
    std::shared_ptr<std::vector<std::uint32_t>>& order = orders_[{column, descending}];
    if (order && order->size() == rows)
        return order;
    // The other direction, when it was just sorted, needs only turning.
    const auto other = orders_.find({column, !descending});
    const auto otherTies = ties_.find({column, !descending});
    if (other != orders_.end() && other->second && other->second->size() == rows && otherTies != ties_.end()
        && otherTies->second.size() == rows) {
        order = std::make_shared<std::vector<std::uint32_t>>(RowSet::reversedOrder(*other->second, otherTies->second));
        return order;
    }
    order = std::make_shared<std::vector<std::uint32_t>>(
        rows_->orderBy(column, descending, *textOrder_, &ties_[{column, descending}]));
    // The keys of a long list took much memory for a moment: it goes back
    // to the system rather than waiting in the heap.
    if (order->size() >= kTrimAfterRows)
        ::malloc_trim(0);
    return order;
}

const std::vector<std::uint32_t>* TableCopy::keptOrder(int column, bool descending) const
{
    const auto kept = orders_.find({column, descending});
    return kept != orders_.end() && kept->second && kept->second->size() == std::size_t(rows_->rowCount())
        ? kept->second.get()
        : nullptr;
}

const std::vector<bool>* TableCopy::keptTies(int column, bool descending) const
{
    const auto kept = ties_.find({column, descending});
    return keptOrder(column, descending) && kept != ties_.end() && kept->second.size() == std::size_t(rows_->rowCount())
        ? &kept->second
        : nullptr;
}

std::vector<int> TableCopy::letterColumns(const QStringList& of) const
{
    std::vector<int> columns;
    for (const QString& name : letterNames_)
        if (const qsizetype at = of.indexOf(name); at >= 0)
            columns.push_back(int(at));
    return columns;
}

void TableCopy::setLetterColumns(const QStringList& names)
{
    Q_ASSERT(names.size() <= 2);
    letterNames_ = names;
}

std::shared_ptr<std::vector<TableCopy::RowLetters>> TableCopy::lettersOfRows(const RowSet& rows,
                                                                             const std::vector<int>& columns)
{
    auto letters = std::make_shared<std::vector<RowLetters>>(std::size_t(rows.rowCount()));
    for (std::size_t row = 0; row < letters->size(); ++row)
        (*letters)[row] = lettersOfRow(rows, std::uint32_t(row), columns);
    return letters;
}

std::shared_ptr<const std::vector<TableCopy::RowLetters>> TableCopy::sharedLetters()
{
    const std::vector<int> columns = letterColumns(columns_);
    if (columns.empty())
        return nullptr;
    if (!letters_ || letters_->size() != std::size_t(rows_->rowCount()))
        letters_ = lettersOfRows(*rows_, columns);
    return letters_;
}

void TableCopy::writeThrough(Store& store, const std::function<void()>& write, const std::function<void()>& change)
{
    const bool current = isCurrent(store);
    write();
    ownRows();
    change();
    changed();
    mark_ = current ? store.changeMark() : -1;
}

void TableCopy::keepOrders(RowChange change, std::uint32_t row)
{
    changed();
    ties_.clear();  // the orders kept no longer hold where their values tie
    if (letters_) {
        std::vector<RowLetters>& letters = ownedForChange(letters_);
        if (change == RowChange::Removed)
            letters.erase(letters.begin() + std::ptrdiff_t(row));
        else if (change == RowChange::Added)
            letters.insert(letters.begin() + std::ptrdiff_t(row), lettersOfRow(*rows_, row, letterColumns(columns_)));
        else
            letters[row] = lettersOfRow(*rows_, row, letterColumns(columns_));
    }
    for (auto& [sort, kept] : orders_) {
        if (!kept)
            continue;
        std::vector<std::uint32_t>& rows = ownedForChange(kept);
        const auto [column, descending] = sort;
        if (change != RowChange::Added)
            rows.erase(std::find(rows.begin(), rows.end(), row));
        if (change == RowChange::Removed) {
            for (std::uint32_t& index : rows)
                if (index > row)
                    --index;
        } else {
            rows_->placeInOrder(rows, row, column, descending, *textOrder_);
        }
    }
}

void TableCopy::ownRows()
{
    if (rows_.use_count() > 1)
        rows_ = std::make_shared<RowSet>(*rows_);
}

}  // namespace vorlin::db
