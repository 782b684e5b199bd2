#pragma once

#include <QLocale>
#include <QString>

namespace vorlin {

// The heading of a Czech Supreme Court decision, as copied from a decision,
// made into a reference to use inside a sentence: "ROZSUDEK" and "USNESENÍ"
// in any case become small letters (compared in the upper case of the locale,
// so accented capitals match), the date clause from the first "ze dne" up to
// the first "sp." goes when the file mark follows it, CR LF pairs become
// blanks and every run of blanks one blank. Nothing else changes: a lone CR
// or LF, tabs, and blanks at either end stay.
QString courtReference(const QString& heading, const QLocale& locale);

}  // namespace vorlin
