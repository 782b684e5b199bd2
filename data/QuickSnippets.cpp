#include "data/QuickSnippets.h"

#include <sqlite3.h>

namespace vorlin::search {

std::shared_ptr<const QuickSearch> readQuickSearch(const db::Database& database, const db::TextOrder& order)
{
    const QStringList columns = quickSearchColumns();
    db::Statement select(database, QStringLiteral("SELECT %1 FROM vorlin").arg(columns.join(QStringLiteral(", "))));
    auto rows = std::make_shared<db::RowSet>();
    rows->clear(select.columnCount());
    while (select.step())
        rows->appendFrom(select.handle());
    rows->fitMemory();
    std::vector<std::uint32_t> byName = rows->orderBy(1, false, order);
    return std::make_shared<QuickSearch>(std::move(rows), columns, std::move(byName));
}

}  // namespace vorlin::search
