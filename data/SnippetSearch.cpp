#include "data/SnippetSearch.h"

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
    descending = !descending;
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

db::Selection selectionOf(const SnippetSearch& search)
{
    db::Selection selection{.table = QStringLiteral("vorlin"),
                            .orderColumn = search.orderColumn,
                            .descending = search.descending};
    QStringList conditions;
    if (!search.words.isEmpty()) {
        // Beyond the word slots (a held space bar, a pasted page) a repeated
        // word adds nothing and the rest are grouped.
        QStringList distinct = search.words;
        if (distinct.size() > kWordSlots)
            distinct.removeDuplicates();
        QStringList pieces;
        for (const QString& word : distinct) {
            pieces << QStringLiteral("(nazev like ?) or (tag like ?)");
            selection.parameters << likePattern(word) << likePattern(word);
        }
        conditions << u'(' + balancedAlternatives(pieces.cbegin(), pieces.cend()) + u')';
    }
    if (!search.kind.isEmpty()) {
        conditions << QStringLiteral("(druh like ?)");
        selection.parameters << likePattern(search.kind);
    }
    selection.condition = conditions.join(QStringLiteral(" and "));
    return selection;
}

}  // namespace vorlin::search
