#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

namespace vorlin::search {

// The snippet query's lines that the search and the sort rewrite.
inline constexpr int kWhereLine = 1;
inline constexpr int kWordsLine = 2;
inline constexpr int kKindLine = 3;
inline constexpr int kOrderLine = 5;
inline constexpr int kDirectionLine = 6;

// Up to this many words the condition is one plain list of alternatives.
inline constexpr int kWordSlots = 20;

// The search box's text split at "%": every piece before a "%" is a word
// (empty ones too), and the rest after the last "%" when it is not empty.
QStringList searchWords(const QString& text);

// The pattern a word or kind is looked for with: "%x%".
QString likePattern(const QString& text);

// What the user asks of the list, as a value: the words (any one found in
// the name or the keywords), the kind (found in the kind, when not empty),
// and the sort. The statement is made from it, the user's texts bound as
// parameters, never written into its text.
struct SnippetSearch {
    QStringList words;
    QString kind;
    QString orderColumn = QStringLiteral("nazev");
    QString direction = QStringLiteral("asc");

    // A click on a column title: that column, and the direction flipped
    // whichever column it is.
    void sortBy(const QString& column);
};

// The query's lines 1 to 3 and 5 to 6 for the search, in their order, and the
// values of their placeholders.
struct SearchStatement {
    QString where;      // line 1
    QString words;      // line 2
    QString kind;       // line 3
    QString orderBy;    // line 5
    QString direction;  // line 6
    QVariantList parameters;
};
SearchStatement statementOf(const SnippetSearch& search);

}  // namespace vorlin::search
