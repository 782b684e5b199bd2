#include "db/Selection.h"

#include "db/StatementText.h"

namespace vorlin::db {
namespace {

// Up to this many terms a group is one plain list of alternatives.
constexpr qsizetype kPlainTerms = 40;

// Alternatives as nested pairs of groups, so that the database's expression
// stays shallow however many there are.
QString balancedAlternatives(QStringList::const_iterator begin, QStringList::const_iterator end)
{
    const auto count = end - begin;
    if (count <= kPlainTerms)
        return QStringList(begin, end).join(QStringLiteral(" or "));
    const auto middle = begin + count / 2;
    return u'(' + balancedAlternatives(begin, middle) + QStringLiteral(") or (") + balancedAlternatives(middle, end)
        + u')';
}

}  // namespace

QString conditionOf(const RowFilter& filter)
{
    QStringList groups;
    for (const QList<LikeTerm>& group : filter) {
        QStringList terms;
        for (const LikeTerm& term : group)
            terms << u'(' + term.column + QStringLiteral(" like ?)");
        // A group without terms is met by no row.
        groups << (terms.isEmpty()       ? QStringLiteral("(0)")
                   : terms.size() == 1 ? terms.front()
                                       : u'(' + balancedAlternatives(terms.cbegin(), terms.cend()) + u')');
    }
    return groups.join(QStringLiteral(" and "));
}

QVariantList parametersOf(const RowFilter& filter)
{
    QVariantList parameters;
    for (const QList<LikeTerm>& group : filter)
        for (const LikeTerm& term : group)
            parameters << term.pattern;
    return parameters;
}

QString selectStatement(const Selection& selection, const QStringList& columns, bool orderedByDatabase)
{
    QStringList quoted;
    for (const QString& column : columns)
        quoted << quotedIdentifier(column);
    // No columns known (no such table): the database names the fault.
    QString text = QStringLiteral("SELECT ") + (quoted.isEmpty() ? QStringLiteral("*") : quoted.join(QStringLiteral(", "))) + QStringLiteral(" FROM ")
        + quotedIdentifier(selection.table);
    if (const QString condition = conditionOf(selection.filter); !condition.isEmpty())
        text += QStringLiteral(" WHERE ") + condition;
    if (orderedByDatabase && !selection.orderColumn.isEmpty())
        text += QStringLiteral(" ORDER BY ") + quotedIdentifier(selection.orderColumn)
            + (selection.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
    return text;
}

int columnIndexOf(const QStringList& columns, const QString& name)
{
    for (qsizetype i = 0; i < columns.size() && !name.isEmpty(); ++i)
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

}  // namespace vorlin::db
