#pragma once

#include "db/RowSet.h"
#include "db/Selection.h"
#include "db/UnicodeLike.h"

#include <vector>

namespace vorlin::db {

// A selection's filter tried on rows held in memory: it keeps the rows the
// database's condition keeps (the same LIKE, NULL like nothing).
class InMemoryFilter {
public:
    // The columns are the row set's, in its order; a term's column not
    // among them (compared without regard to case) is met by no row.
    InMemoryFilter(const RowFilter& filter, const QStringList& columns);

    bool meets(const RowSet& rows, int row) const;

private:
    struct Term {
        int column;  // -1: not held
        QString pattern;
        CompiledLike compiled;
    };
    static bool termMeetsValue(const Term& term, const RowSet& rows, int row);

    std::vector<std::vector<Term>> groups_;
};

// Whether every row `narrower` keeps is kept by `broader` too, as far as
// the terms tell without the rows: each group of the broader filter is met
// whenever a group of the narrower one is, every term of that group asking
// the same column for a text that holds one of the group's texts
// ("%novák%" holds "%nov%"). A pattern with "_" or an inner "%" holds only
// itself.
bool narrows(const RowFilter& narrower, const RowFilter& broader);

}  // namespace vorlin::db
