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
            terms.push_back({column, term.pattern});
        }
    }
}

bool InMemoryFilter::meets(const RowSet& rows, int row) const
{
    for (const std::vector<Term>& group : groups_) {
        bool met = false;
        for (const Term& term : group) {
            if (term.column < 0)
                continue;
            const QVariant value = rows.value(row, term.column);
            if (!value.isNull() && likeMatches(term.pattern, value.toString())) {
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
