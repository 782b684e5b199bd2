#include "data/SearchLines.h"

namespace vorlin::search {

QStringList searchWords(const QString& text)
{
    QStringList words;
    QString rest = text;
    for (qsizetype separator = rest.indexOf(u'%'); separator >= 0; separator = rest.indexOf(u'%')) {
        words << rest.left(separator);
        rest.remove(0, separator + 1);
    }
    if (!rest.isEmpty())
        words << rest;
    return words;
}

QString likePattern(const QString& text)
{
    return u'%' + text + u'%';
}

void SnippetSearch::sortBy(const QString& column)
{
    orderColumn = column;
    direction = direction == QStringLiteral("asc") ? QStringLiteral("desc") : QStringLiteral("asc");
}

namespace {

// Alternatives as nested pairs of groups, so that the database's expression
// stays shallow however many there are.
QString balancedAlternatives(QStringList::const_iterator begin, QStringList::const_iterator end)
{
    const auto count = end - begin;
    if (count <= kWordSlots) {
        QStringList pieces(begin, end);
        return pieces.join(QStringLiteral(" or "));
    }
    const auto middle = begin + count / 2;
    return u'(' + balancedAlternatives(begin, middle) + QStringLiteral(") or (") + balancedAlternatives(middle, end)
        + u')';
}

}  // namespace

SearchStatement statementOf(const SnippetSearch& search)
{
    SearchStatement statement;
    statement.orderBy = QStringLiteral("ORDER BY ") + search.orderColumn;
    statement.direction = search.direction;
    if (search.words.isEmpty() && search.kind.isEmpty())
        return statement;
    statement.where = QStringLiteral("WHERE");
    if (!search.words.isEmpty()) {
        // Beyond the word slots (a held space bar, a pasted page) a repeated
        // word adds nothing and the rest are grouped.
        QStringList distinct = search.words;
        if (distinct.size() > kWordSlots)
            distinct.removeDuplicates();
        QStringList pieces;
        for (const QString& word : distinct) {
            pieces << QStringLiteral("(nazev like ?) or (tag like ?)");
            statement.parameters << likePattern(word) << likePattern(word);
        }
        statement.words = u'(' + balancedAlternatives(pieces.cbegin(), pieces.cend()) + u')';
    }
    if (!search.kind.isEmpty()) {
        statement.kind = (search.words.isEmpty() ? QString() : QStringLiteral("and ")) + QStringLiteral("(druh like ?)");
        statement.parameters << likePattern(search.kind);
    }
    return statement;
}

}  // namespace vorlin::search
