#pragma once

#include <QString>

namespace vorlin::ui {

// How much of a value a list draws: a name or keywords of megabytes (written
// by another client of the office library) cost their whole length at every
// paint. The value itself stays whole.
inline constexpr qsizetype kShownCharacters = 500;

// The longest value a line's editor takes whole (QLineEdit cuts the rest).
inline constexpr qsizetype kLongestEditedInLine = 32767;

inline QString shownPrefix(const QString& value)
{
    return value.size() <= kShownCharacters ? value : value.left(kShownCharacters) + u'…';
}

}  // namespace vorlin::ui
