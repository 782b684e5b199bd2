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
    return QStringLiteral("'%") + doubled + QStringLiteral("%'");
}

FilterLines filterLines(const QStringList& words, const QString& kind, const QString& currentWhereLine)
{
    if (words.isEmpty() && kind.isEmpty())
        return {};
    FilterLines lines;
    lines.where = currentWhereLine.isEmpty() ? QStringLiteral("WHERE") : currentWhereLine;
    if (!words.isEmpty()) {
        QStringList pieces;
        for (const QString& word : words) {
            const QString pattern = likePattern(word);
            pieces << QStringLiteral("(nazev like %1) or (tag like %1)").arg(pattern);
        }
        lines.words = u'(' + pieces.join(QStringLiteral(" or ")) + u')';
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
