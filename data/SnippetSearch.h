#pragma once

#include "db/Selection.h"

#include <QString>
#include <QStringList>

namespace vorlin::search {

// Beyond this many words a repeated word is looked for once.
inline constexpr int kWordSlots = 20;

// The search box's text split at "%": every piece before a "%" is a word
// (empty ones too), and the rest after the last "%" when it is not empty.
QStringList searchWords(const QString& text);

// The pattern a word or kind is looked for with: "%x%".
QString likePattern(const QString& text);

// What the user asks of the list, as a value: the words (any one found in
// the name or the keywords), the kind (found in the kind, when not empty),
// and the sort.
struct SnippetSearch {
    QStringList words;
    QString kind;
    QString orderColumn = QStringLiteral("nazev");
    bool descending = false;

    // A click on a column title: that column, and the direction flipped
    // whichever column it is.
    void sortBy(const QString& column);
};

// The snippets the search asks for: a condition over the snippet table
// with the user's texts bound as its parameters, never written into it.
db::Selection selectionOf(const SnippetSearch& search);

}  // namespace vorlin::search
