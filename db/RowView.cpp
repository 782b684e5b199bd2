#include "db/RowView.h"

#include <algorithm>
#include <numeric>

namespace vorlin::db {

void RowView::show(RowSet* rows, std::vector<std::uint32_t> order)
{
    rows_ = rows;
    order_ = std::move(order);
}

void RowView::showAll(RowSet* rows)
{
    rows_ = rows;
    order_.resize(std::size_t(rows->rowCount()));
    std::iota(order_.begin(), order_.end(), 0u);
}

void RowView::clear()
{
    rows_ = nullptr;
    order_.clear();
}

void RowView::insertRow(int row, const QVariantList& values)
{
    const auto added = std::uint32_t(rows_->rowCount());
    rows_->insertRow(int(added), values);
    order_.insert(order_.begin() + row, added);
}

void RowView::removeRow(int row)
{
    const std::uint32_t removed = order_[std::size_t(row)];
    rows_->removeRow(int(removed));
    order_.erase(order_.begin() + row);
    for (std::uint32_t& index : order_)
        if (index > removed)
            --index;
}

std::vector<qint64> RowView::keys(int column) const
{
    std::vector<qint64> keys;
    keys.reserve(order_.size());
    for (const std::uint32_t row : order_)
        keys.push_back(rows_->integerAt(int(row), column));
    return keys;
}

ShownChange shownChange(const std::vector<qint64>& before, const std::vector<qint64>& after)
{
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t same = 0;  // rows alike from the start
    while (same < shorter && before[same] == after[same])
        ++same;
    std::size_t sameAtEnd = 0;  // and from the end, not reaching over them
    while (sameAtEnd < shorter - same && before[before.size() - 1 - sameAtEnd] == after[after.size() - 1 - sameAtEnd])
        ++sameAtEnd;
    const std::size_t kept = same + sameAtEnd;
    using Kind = ShownChange::Kind;
    if (before.size() == after.size())
        return {kept == before.size() ? Kind::Same : Kind::Other, 0, 0};
    if (kept != shorter)
        return {};
    if (after.size() > before.size())
        return {Kind::Inserted, int(same), int(after.size() - before.size())};
    return {Kind::Removed, int(same), int(before.size() - after.size())};
}

}  // namespace vorlin::db
