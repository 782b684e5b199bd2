#pragma once

#include "data/QuickSearch.h"
#include "db/Sqlite.h"

namespace vorlin::search {

// The snippets as the quick search holds them (no bodies), read from the
// snippet table and put in the order; raises db::DatabaseError.
std::shared_ptr<const QuickSearch> readQuickSearch(const db::Database& database, const db::TextOrder& order);

// One snippet's body as stored (RTF or plain text); null when the snippet
// is gone.
QString readBody(const db::Database& database, qint64 id);

}  // namespace vorlin::search
