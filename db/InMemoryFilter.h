#pragma once

#include "db/RowSet.h"
#include "db/Selection.h"
#include "db/UnicodeLike.h"

#include <cstdint>
#include <vector>

namespace vorlin::db {

// Per row, the letters its texts in one or two columns hold when folded for
// typing (lettersOfUtf8): the first column's in the low half, the second's
// in the high half. A value that is no text holds every letter; an empty
// one none.
using RowLetters = std::uint64_t;
RowLetters lettersOfRow(const RowSet& rows, std::uint32_t row, const std::vector<int>& columns);

// A selection's filter tried on rows held in memory: it keeps the rows the
// database's condition keeps (the same LIKE, NULL like nothing), or, folded
// for typing, those it keeps with accents left aside too.
class InMemoryFilter {
public:
    // The columns are the row set's, in its order; a term's column not
    // among them (compared without regard to case) is met by no row. The
    // letter columns are those a row's letters (lettersOfRow) tell, when
    // they are given.
    InMemoryFilter(const RowFilter& filter, const QStringList& columns,
                   CompiledLike::Folding folding = CompiledLike::Folding::Case, const QStringList& letterColumns = {});

    // A row whose letters lack those a term needs is not tried on it.
    bool meets(const RowSet& rows, int row, RowLetters letters = ~RowLetters(0)) const;

private:
    struct Term {
        int column;  // -1: not held
        CompiledLike compiled;
        int lettersShift;  // where the column's letters stand in a row's, or -1
        std::uint32_t required;
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
