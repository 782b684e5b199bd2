#include "db/Selection.h"

#include "db/StatementText.h"

namespace vorlin::db {

QString selectStatement(const Selection& selection, const QStringList& columns, bool orderedByDatabase)
{
    QStringList quoted;
    for (const QString& column : columns)
        quoted << quotedIdentifier(column);
    // No columns known (no such table): the database names the fault.
    QString text = QStringLiteral("SELECT ") + (quoted.isEmpty() ? QStringLiteral("*") : quoted.join(QStringLiteral(", "))) + QStringLiteral(" FROM ")
        + quotedIdentifier(selection.table);
    if (!selection.condition.isEmpty())
        text += QStringLiteral(" WHERE ") + selection.condition;
    if (orderedByDatabase && !selection.orderColumn.isEmpty())
        text += QStringLiteral(" ORDER BY ") + quotedIdentifier(selection.orderColumn)
            + (selection.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    return text;
}

}  // namespace vorlin::db
