#include "data/QuickSnippets.h"

namespace vorlin::search {

QList<QuickEntry> readQuickEntries(const db::Database& database)
{
    db::Statement rows(database, QStringLiteral("SELECT ID, nazev, druh, tag FROM vorlin"));
    QList<QuickEntry> entries;
    while (rows.step())
        entries.append({rows.column(0).toLongLong(), rows.column(1).toString(), rows.column(2).toString(),
                        rows.column(3).toString()});
    return entries;
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
