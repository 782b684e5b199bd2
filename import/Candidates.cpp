#include "import/Candidates.h"

namespace vorlin::candidates {

QString textOf(const QString& candidate)
{
    const qsizetype bar = candidate.indexOf(u'|');
    return bar < 0 ? candidate : candidate.mid(bar + 1);
}

QString storedText(const QString& text)
{
    QString stored = text;
    stored.replace(QStringLiteral("[enter]"), QStringLiteral(" \r\n"));
    return stored;
}

QString drawnText(const QString& candidate)
{
    QString drawn = candidate;
    drawn.replace(QStringLiteral("\r\n"), QStringLiteral("[enter]"));
    return drawn;
}

namespace {

QStringView fromFirstComma(const QString& candidate)
{
    const qsizetype comma = candidate.indexOf(u',');
    return comma < 0 ? QStringView(candidate) : QStringView(candidate).sliced(comma);
}

}  // namespace

void removeDuplicates(QStringList& sorted)
{
    qsizetype i = 0;
    while (i + 1 < sorted.size()) {
        if (fromFirstComma(sorted[i]) == fromFirstComma(sorted[i + 1]))
            sorted.removeAt(i);
        else
            ++i;
    }
}

}  // namespace vorlin::candidates
