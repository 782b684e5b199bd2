#pragma once

#include <QString>
#include <QStringList>

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

// The pattern of a word or kind: '%x%', apostrophes inside doubled.
QString likePattern(const QString& text);

struct FilterLines {
    QString where;  // line 1
    QString words;  // line 2
    QString kind;   // line 3
};

// Lines 1-3 for the words and the kind; a row matches when any word occurs
// in its name or keywords, and the kind (when chosen) in its kind.
FilterLines filterLines(const QStringList& words, const QString& kind, const QString& currentWhereLine);

struct SortLines {
    QString orderBy;    // line 5
    QString direction;  // line 6
};

// Lines 5 and 6 after a click on a column title: the clicked column, and the
// direction flipped whichever column it is.
SortLines sortLines(const QString& column, const QString& currentDirection);

}  // namespace vorlin::search
