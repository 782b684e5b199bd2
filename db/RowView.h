#pragma once

#include "db/RowSet.h"

#include <utility>
#include <memory>
#include <vector>

namespace vorlin::db {

// Rows of a set shown through a list of their indexes: a search or a sort
// over rows held once, without copying them. Changes go into the set.
class RowView {
public:
    // The rows of the set at these indexes, in this order; a shared list of
    // them is copied only when a row of the view comes or goes.
    void show(RowSet* rows, std::vector<std::uint32_t> order);
    void show(RowSet* rows, std::shared_ptr<const std::vector<std::uint32_t>> order);
    // Every row of the set, in its own order.
    void showAll(RowSet* rows);
    void clear();
    // The same rows in another set (a copy of the one shown).
    void useSet(RowSet* rows) { rows_ = rows; }

    int rowCount() const { return int(order_->size()); }
    // The set's index of a shown row.
    std::uint32_t indexAt(int row) const { return (*order_)[std::size_t(row)]; }
    const std::vector<std::uint32_t>& indexes() const { return *order_; }
    std::vector<std::uint32_t> takeIndexes();
    int columnCount() const { return rows_ ? rows_->columnCount() : 0; }
    QVariant value(int row, int column) const { return rows_->value(int(indexAt(row)), column); }

    void replaceRow(int row, const QVariantList& values) { rows_->replaceRow(int(indexAt(row)), values); }
    // Added to the set, shown at this place.
    void insertRow(int row, const QVariantList& values);
    // Gone from the set and from the view.
    void removeRow(int row);

    std::size_t memoryBytes() const { return owned_ ? owned_->capacity() * sizeof(std::uint32_t) : 0; }

    // The keys of the rows shown, in their order (column: the key's).
    std::vector<qint64> keys(int column) const;

private:
    // The indexes as this view may change them (a copy of a shared list).
    std::vector<std::uint32_t>& ownOrder();

    RowSet* rows_ = nullptr;
    std::shared_ptr<const std::vector<std::uint32_t>> order_ = std::make_shared<const std::vector<std::uint32_t>>();
    std::shared_ptr<std::vector<std::uint32_t>> owned_;  // order_ when it is this view's own
};

// How the rows shown changed between two readings, told by their keys: the
// same rows in the same places, one block that came or went with every
// other row where it was, or anything else.
struct ShownChange {
    enum class Kind { Same, Inserted, Removed, Other };
    Kind kind = Kind::Other;
    int first = 0;
    int count = 0;
};
ShownChange shownChange(const std::vector<qint64>& before, const std::vector<qint64>& after);

}  // namespace vorlin::db
