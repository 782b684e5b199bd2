#pragma once

#include "db/InMemoryFilter.h"
#include "db/RowSet.h"
#include "db/Selection.h"
#include "db/UnicodeLike.h"

#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

namespace vorlin::db {

// A number no other state of rows held in this program has had: what a
// search found stands for rows of that number only.
std::uint64_t newRowsVersion();

// The one search over rows held in memory, for the main list and the
// quick-insert pop-up alike: the rows that meet a filter, in a given order.
// A search that narrows the one before (a word typed on, over the same rows
// in the same order) tries only the rows that one found. Otherwise every
// row is tried in the order it is held, its texts read straight through
// memory, many rows in two halves at once; a row whose letters lack those a
// word needs is passed over untried.
class RowSearch {
public:
    using Folding = CompiledLike::Folding;
    using Places = std::vector<std::uint32_t>;

    // The rows searched. They outlive the search; their version changes
    // with them.
    struct Rows {
        const RowSet* set = nullptr;
        QStringList columns;
        std::shared_ptr<const Places> order;  // what is found comes in this order
        std::uint64_t version = 0;
        // Per row, the letters of the letter columns (lettersOfRow); none
        // makes every row tried.
        std::shared_ptr<const std::vector<RowLetters>> letters;
        QStringList letterColumns;
    };

    // What a search found, kept to narrow the next one. With no filter, every
    // row in the order (shared with it), which narrows nothing.
    struct Found {
        RowFilter filter;
        Folding folding = Folding::Case;
        std::uint64_t version = 0;
        std::weak_ptr<const Places> order;  // not held: the rows' owner changes it in place when alone
        std::shared_ptr<const Places> rows = std::make_shared<const Places>();
    };

    explicit RowSearch(Rows rows) : rows_(std::move(rows)) {}
    const Rows& rows() const { return rows_; }

    Found find(const RowFilter& filter, Folding folding, const Found* before = nullptr) const;

private:
    bool narrows(const RowFilter& filter, Folding folding, const Found& before) const;

    Rows rows_;
};

}  // namespace vorlin::db
