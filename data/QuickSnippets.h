#pragma once

#include "data/QuickSearch.h"
#include "db/Sqlite.h"

namespace vorlin::search {

// The snippets as the quick search holds them (no bodies), read from the
// snippet table; raises db::DatabaseError.
QList<QuickEntry> readQuickEntries(const db::Database& database);

// One snippet's body as stored (RTF or plain text); null when the snippet
// is gone.
QString readBody(const db::Database& database, qint64 id);

}  // namespace vorlin::search
