#include "db/RowView.h"

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

}  // namespace vorlin::db
