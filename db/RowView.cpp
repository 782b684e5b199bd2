#include "db/RowView.h"

#include <algorithm>
#include <numeric>

namespace vorlin::db {

void RowView::show(RowSet* rows, std::vector<std::uint32_t> order)
{
    rows_ = rows;
    owned_ = std::make_shared<std::vector<std::uint32_t>>(std::move(order));
    order_ = owned_;
}

void RowView::show(RowSet* rows, std::shared_ptr<const std::vector<std::uint32_t>> order)
{
    rows_ = rows;
    owned_.reset();
    order_ = std::move(order);
}

void RowView::showAll(RowSet* rows)
{
    std::vector<std::uint32_t> order(std::size_t(rows->rowCount()));
    std::iota(order.begin(), order.end(), 0u);
    show(rows, std::move(order));
}

void RowView::clear()
{
    rows_ = nullptr;
    show(nullptr, std::vector<std::uint32_t>());
}

std::vector<std::uint32_t>& RowView::ownOrder()
{
    if (!owned_ || owned_.use_count() > 2) {  // here and as order_, or held elsewhere too
        owned_ = std::make_shared<std::vector<std::uint32_t>>(*order_);
        order_ = owned_;
    }
    return *owned_;
}

std::vector<std::uint32_t> RowView::takeIndexes()
{
    std::vector<std::uint32_t> taken = std::move(ownOrder());
    show(rows_, std::vector<std::uint32_t>());
    return taken;
}

void RowView::insertRow(int row, const QVariantList& values)
{
    const auto added = std::uint32_t(rows_->rowCount());
    rows_->insertRow(int(added), values);
    std::vector<std::uint32_t>& order = ownOrder();
    order.insert(order.begin() + row, added);
}

void RowView::removeRow(int row)
{
    std::vector<std::uint32_t>& order = ownOrder();
    const std::uint32_t removed = order[std::size_t(row)];
    rows_->removeRow(int(removed));
    order.erase(order.begin() + row);
    for (std::uint32_t& index : order)
        if (index > removed)
            --index;
}

std::vector<qint64> RowView::keys(int column) const
{
    std::vector<qint64> keys;
    keys.reserve(order_->size());
    for (const std::uint32_t row : *order_)
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
