#include "db/InMemoryFilter.h"

#include "db/UnicodeLike.h"

#include <algorithm>
#include <optional>

namespace vorlin::db {

InMemoryFilter::InMemoryFilter(const RowFilter& filter, const QStringList& columns)
{
    for (const QList<LikeTerm>& group : filter) {
        std::vector<Term>& terms = groups_.emplace_back();
        for (const LikeTerm& term : group) {
            int column = -1;
            for (qsizetype i = 0; i < columns.size() && column < 0; ++i)
                if (columns[i].compare(term.column, Qt::CaseInsensitive) == 0)
                    column = int(i);
            terms.push_back({column, term.pattern, CompiledLike(term.pattern)});
        }
    }
}

// A value that is no text (a number, in a column that took one) is matched
// in its text form, as the database does; an empty value never.
bool InMemoryFilter::termMeetsValue(const Term& term, const RowSet& rows, int row)
{
    const QVariant value = rows.value(row, term.column);
    return !value.isNull() && likeMatches(term.pattern, value.toString());
}

bool InMemoryFilter::meets(const RowSet& rows, int row) const
{
    for (const std::vector<Term>& group : groups_) {
        bool met = false;
        for (const Term& term : group) {
            if (term.column < 0)
                continue;
            std::string_view text;
            if (rows.textAt(row, term.column, &text) ? term.compiled.matchesUtf8(text) : termMeetsValue(term, rows, row)) {
                met = true;
                break;
            }
        }
        if (!met)
            return false;
    }
    return true;
}

namespace {

// "%text%" → "text"; nothing for a pattern of another form.
std::optional<QStringView> containedText(const QString& pattern)
{
    if (pattern.size() < 2 || !pattern.startsWith(u'%') || !pattern.endsWith(u'%'))
        return std::nullopt;
    const QStringView inner = QStringView(pattern).mid(1, pattern.size() - 2);
    if (inner.contains(u'%') || inner.contains(u'_'))
        return std::nullopt;
    return inner;
}

// A row that meets `narrower` meets `broader`.
bool termImplies(const LikeTerm& narrower, const LikeTerm& broader)
{
    if (narrower.column.compare(broader.column, Qt::CaseInsensitive) != 0)
        return false;
    if (narrower.pattern == broader.pattern)
        return true;
    const std::optional<QStringView> longer = containedText(narrower.pattern);
    const std::optional<QStringView> shorter = containedText(broader.pattern);
    return longer && shorter && longer->contains(*shorter);
}

}  // namespace

bool narrows(const RowFilter& narrower, const RowFilter& broader)
{
    return std::all_of(broader.begin(), broader.end(), [&](const QList<LikeTerm>& broadGroup) {
        return std::any_of(narrower.begin(), narrower.end(), [&](const QList<LikeTerm>& narrowGroup) {
            return std::all_of(narrowGroup.begin(), narrowGroup.end(), [&](const LikeTerm& term) {
                return std::any_of(broadGroup.begin(), broadGroup.end(),
                                   [&](const LikeTerm& broad) { return termImplies(term, broad); });
            });
        });
    });
}

}  // namespace vorlin::db
