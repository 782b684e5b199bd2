#include "db/SelectedRows.h"

#include "db/Store.h"
#include "db/TextOrder.h"

namespace vorlin::db {
namespace {

// Whether every column the filter tests is among the columns held.
bool filterColumnsHeld(const RowFilter& filter, const QStringList& columns)
{
    for (const QList<LikeTerm>& group : filter)
        for (const LikeTerm& term : group)
            if (columnIndexOf(columns, term.column) < 0)
                return false;
    return true;
}

}  // namespace

void SelectedRows::setTableCopy(TableCopy& copy)
{
    if (copy_->textOrder() && !copy.textOrder())
        copy.setTextOrder(copy_->sharedTextOrder());
    copy_ = &copy;
}

void SelectedRows::showFirstWhileReading(FirstRows first, const QString& file)
{
    pendingFirst_ = std::move(first);
    pendingFirstFile_ = file;
}

QString SelectedRows::firstRowsOrder(const QString& table, const QStringList& kept, int orderColumn,
                                     bool descending) const
{
    return QStringList{table, kept.join(u','), kept.value(orderColumn),
                       descending ? QStringLiteral("desc") : QStringLiteral("asc"), copy_->textOrder()->name()}
        .join(u'|');
}

void SelectedRows::select(Store& store, const Selection& selection, const QStringList& kept, const QString& keyField)
{
    keyPlaces_.clear();
    keyColumn_ = columnIndexOf(kept, keyField);
    const int orderColumn = copy_->textOrder() ? columnIndexOf(kept, selection.orderColumn) : -1;
    if (orderColumn >= 0 && filterColumnsHeld(selection.filter, kept)) {
        if (!showFirstRows(store, selection, kept, keyField, orderColumn))
            searchCopy(store, selection, kept, keyField, orderColumn);
        return;
    }
    lastSearch_ = {};
    // The rows held are the database's result, not the table.
    RowSet& result = copy_->holdResult();
    store.read(selection, kept, orderColumn < 0, result);
    if (orderColumn >= 0)
        result.sortBy(orderColumn, selection.descending, *copy_->textOrder());
    rows_.showAll(&result);
    shownFirst_.clear(0);
}

bool SelectedRows::showFirstRows(Store& store, const Selection& selection, const QStringList& kept,
                                 const QString& keyField, int orderColumn)
{
    std::optional<FirstRows> first = std::exchange(pendingFirst_, std::nullopt);
    if (!first || !selection.filter.isEmpty() || first->rows.columnCount() != kept.size()
        || first->order != firstRowsOrder(selection.table, kept, orderColumn, selection.descending))
        return false;
    shownFirst_ = first->rows;
    rows_.showAll(&shownFirst_);
    lastSearch_ = {};
    TableCopy::KnownOrder known{.keyColumn = columnIndexOf(kept, keyField), .read = std::move(first->readWholeOrder)};
    copy_->readBehind(pendingFirstFile_, selection.table, kept, orderColumn, selection.descending, store.changeMark(),
                      std::move(known), [arrived = whenTableArrives] {
                          if (arrived)
                              arrived();  // may come after these rows are gone
                      });
    return true;
}

void SelectedRows::searchCopy(Store& store, const Selection& selection, const QStringList& kept,
                              const QString& keyField, int orderColumn)
{
    if (!copy_->holds(selection.table, kept) || (!copy_->isCurrent(store) && !copy_->catchUp(store, keyField)))
        copy_->read(store, selection.table, kept);
    const bool filtered = !selection.filter.isEmpty();
    const RowSearch search({.set = &copy_->rows(),
                            .columns = kept,
                            .order = copy_->sharedOrder(orderColumn, selection.descending),
                            .version = copy_->version(),
                            .letters = filtered ? copy_->sharedLetters() : nullptr,
                            .letterColumns = copy_->letterColumnNames()});
    RowSearch::Found found = search.find(selection.filter, RowSearch::Folding::Case, &lastSearch_);
    rows_.show(&copy_->rows(), found.rows);
    shownFirst_.clear(0);
    // Every row shown narrows nothing, and holds no copy of the order.
    lastSearch_ = filtered ? std::move(found) : RowSearch::Found();
}

ShownChange SelectedRows::selectAgain(Store& store, const Selection& selection, const QStringList& kept,
                                      const QString& keyField, int& current)
{
    const int key = columnIndexOf(kept, keyField);
    const int rowsBefore = rows_.rowCount();
    const QVariant currentKey = key < 0 || current >= rowsBefore ? QVariant() : rows_.value(current, key);
    const std::vector<qint64> keysBefore = key < 0 ? std::vector<qint64>() : rows_.keys(key);
    select(store, selection, kept, keyField);
    int found = -1;
    for (int row = 0; row < rows_.rowCount() && found < 0 && currentKey.isValid(); ++row)
        if (rows_.value(row, key) == currentKey)
            found = row;
    current = found >= 0 ? found : std::clamp(current, 0, std::max(0, rows_.rowCount() - 1));
    if (key >= 0)
        return shownChange(keysBefore, rows_.keys(key));
    ShownChange change;
    if (rows_.rowCount() == rowsBefore)
        change.kind = ShownChange::Kind::Same;
    return change;
}

void SelectedRows::writeThrough(Store& store, const std::function<void()>& write, const std::function<void()>& change)
{
    copy_->writeThrough(store, write, [&] {
        rows_.useSet(&copy_->rows());  // the rows may have become a copy of their own
        change();
    });
}

void SelectedRows::writeChanged(Store& store, int row, const std::function<QVariantList()>& write)
{
    QVariantList stored;
    writeThrough(store, [&] { stored = write(); }, [&] {
        if (!keyPlaces_.isEmpty()) {  // saved anew, the row has a key of its own
            keyPlaces_.remove(rows_.value(row, keyColumn_).toLongLong());
            keyPlaces_.insert(stored.value(keyColumn_).toLongLong(), row);
        }
        rows_.replaceRow(row, stored);
        copy_->keepOrders(TableCopy::RowChange::Changed, rows_.indexAt(row));
    });
}

void SelectedRows::writeAdded(Store& store, int row, const std::function<QVariantList()>& write)
{
    QVariantList stored;
    keyPlaces_.clear();
    writeThrough(store, [&] { stored = write(); }, [&] {
        rows_.insertRow(row, stored);
        copy_->keepOrders(TableCopy::RowChange::Added, rows_.indexAt(row));
    });
}

void SelectedRows::writeRemoved(Store& store, int row, const std::function<void()>& write)
{
    keyPlaces_.clear();
    writeThrough(store, write, [&] {
        const std::uint32_t removed = rows_.indexAt(row);
        rows_.removeRow(row);
        copy_->keepOrders(TableCopy::RowChange::Removed, removed);
    });
}

std::optional<SelectedRows::TableSnapshot> SelectedRows::snapshot(const Selection& selection,
                                                                  const QString& orderColumn, bool current)
{
    const int column = columnIndexOf(copy_->columns(), orderColumn);
    if (copy_->isArriving() || !holdTable(selection) || column < 0)
        return std::nullopt;
    return TableSnapshot{copy_->sharedRows(), copy_->columns(), copy_->sharedOrder(column, false), current,
                         copy_->sharedLetters()};
}

int SelectedRows::placeOfKey(qint64 key) const
{
    if (keyPlaces_.isEmpty() && keyColumn_ >= 0)
        for (int row = rows_.rowCount() - 1; row >= 0; --row)
            keyPlaces_.insert(rows_.value(row, keyColumn_).toLongLong(), row);
    return keyPlaces_.value(key, -1);
}

void SelectedRows::clear()
{
    keyPlaces_.clear();
    rows_.clear();
    shownFirst_.clear(0);
    if (copy_->table().isEmpty())
        copy_->clear();
}

bool SelectedRows::holdTable(const Selection& selection) const
{
    return copy_->textOrder() && !copy_->table().isEmpty() && copy_->table() == selection.table;
}

std::optional<FirstRows> SelectedRows::firstRows(const Selection& order, const QString& keyField, int count) const
{
    const int column = columnIndexOf(copy_->columns(), order.orderColumn);
    const std::vector<std::uint32_t>* rows = column >= 0 ? copy_->keptOrder(column, order.descending) : nullptr;
    if (!rows || copy_->table() != order.table || !copy_->textOrder())
        return std::nullopt;
    FirstRows first;
    first.order = firstRowsOrder(order.table, copy_->columns(), column, order.descending);
    first.rows.clear(copy_->rows().columnCount());
    for (std::size_t shown = 0; shown < rows->size() && int(shown) < count; ++shown)
        first.rows.insertRow(first.rows.rowCount(), copy_->rows().row(int((*rows)[shown])));
    // The whole order by the rows' keys, for the start not to sort again.
    if (const int key = columnIndexOf(copy_->columns(), keyField); key >= 0) {
        first.keys.reserve(rows->size());
        for (const std::uint32_t row : *rows)
            first.keys.push_back(copy_->rows().integerAt(int(row), key));
        if (const std::vector<bool>* ties = copy_->keptTies(column, order.descending))
            first.ties = *ties;
    }
    first.textBytes = copy_->rows().textBytes();
    return first;
}

}  // namespace vorlin::db
