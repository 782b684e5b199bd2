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

db::Selection selectionOf(const SnippetSearch& search)
{
    db::Selection selection{.table = QStringLiteral("vorlin"),
                            .orderColumn = search.orderColumn,
                            .descending = search.descending};
    if (!search.words.isEmpty()) {
        // Beyond the word slots (a held space bar, a pasted page) a repeated
        // word adds nothing.
        QStringList distinct = search.words;
        if (distinct.size() > kWordSlots)
            distinct.removeDuplicates();
        QList<db::LikeTerm> anyWord;
        for (const QString& word : distinct)
            anyWord << db::LikeTerm{QStringLiteral("nazev"), likePattern(word)}
                    << db::LikeTerm{QStringLiteral("tag"), likePattern(word)};
        selection.filter << anyWord;
    }
    if (!search.kind.isEmpty())
        selection.filter << QList<db::LikeTerm>{{QStringLiteral("druh"), likePattern(search.kind)}};
    return selection;
}

}  // namespace vorlin::search
