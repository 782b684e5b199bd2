#include "db/InMemoryFilter.h"

#include "db/UnicodeLike.h"

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

}  // namespace vorlin::db
