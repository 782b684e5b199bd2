#pragma once

#include "data/QuickSearch.h"
#include "db/Sqlite.h"

namespace vorlin::search {

// The snippets as the quick search holds them (no bodies), read from the
// snippet table and put in the order; raises db::DatabaseError.
std::shared_ptr<const QuickSearch> readQuickSearch(const db::Database& database, const db::TextOrder& order);

}  // namespace vorlin::search
