#include "data/QuickSnippets.h"

#include <sqlite3.h>

namespace vorlin::search {

std::shared_ptr<const QuickSearch> readQuickSearch(const db::Database& database, const db::TextOrder& order)
{
    db::Statement rows(database, QStringLiteral("SELECT ID, nazev, druh, tag FROM vorlin"));
    sqlite3_stmt* row = rows.handle();
    const auto text = [row](int column) {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
        return std::string_view(bytes ? bytes : "", std::size_t(sqlite3_column_bytes(row, column)));
    };
    const auto null = [row](int column) { return sqlite3_column_type(row, column) == SQLITE_NULL; };
    auto search = std::make_shared<QuickSearch>();
    while (rows.step())
        search->add(sqlite3_column_int64(row, 0), text(1), text(2), text(3), null(1), null(2), null(3));
    search->finish(order);
    return search;
}

QString readBody(const db::Database& database, qint64 id)
{
    db::Statement row(database, QStringLiteral("SELECT obsah FROM vorlin WHERE ID = ?"));
    row.bind(1, id);
    if (!row.step())
        return {};
    const QString body = row.column(0).toString();
    return body.isNull() ? QStringLiteral("") : body;
}

}  // namespace vorlin::search
