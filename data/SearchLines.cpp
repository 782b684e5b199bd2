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
    QString doubled = text;
    doubled.replace(u'\'', QStringLiteral("''"));
    // A zero character would end the statement's text: it is joined in as a
    // character of its own.
    doubled.replace(QChar(u'\0'), QStringLiteral("'||char(0)||'"));
    return QStringLiteral("'%") + doubled + QStringLiteral("%'");
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

FilterLines filterLines(const QStringList& words, const QString& kind, const QString& currentWhereLine)
{
    if (words.isEmpty() && kind.isEmpty())
        return {};
    FilterLines lines;
    lines.where = currentWhereLine.isEmpty() ? QStringLiteral("WHERE") : currentWhereLine;
    if (!words.isEmpty()) {
        // Beyond the word slots (a held space bar, a pasted page) a repeated
        // word adds nothing and the rest are grouped.
        QStringList distinct = words;
        if (distinct.size() > kWordSlots)
            distinct.removeDuplicates();
        QStringList pieces;
        for (const QString& word : distinct) {
            const QString pattern = likePattern(word);
            pieces << QStringLiteral("(nazev like %1) or (tag like %1)").arg(pattern);
        }
        lines.words = u'(' + balancedAlternatives(pieces.cbegin(), pieces.cend()) + u')';
    }
    if (!kind.isEmpty())
        lines.kind = (words.isEmpty() ? QString() : QStringLiteral("and ")) + QStringLiteral("(druh like %1)").arg(likePattern(kind));
    return lines;
}

SortLines sortLines(const QString& column, const QString& currentDirection)
{
    return {QStringLiteral("ORDER BY ") + column,
            currentDirection == QStringLiteral("asc") ? QStringLiteral("desc") : QStringLiteral("asc")};
}

}  // namespace vorlin::search
