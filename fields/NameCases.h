#pragma once

#include <QString>

namespace vorlin::fields {

// A person's name in one of the seven Czech cases, 1 (as written) to 7:
// "od {{jméno: 2. pád}}" gives "od Jany Novákové", "s {{jméno: 7. pád}}"
// "s Petrem Novákem". Each word declines by the gender the whole name
// shows; titles, initials and punctuation stay; capitals stay capitals. A
// company's name (one with a legal form or a digit) stays as written, and
// so do words that Czech does not decline (a woman's foreign surname).
QString nameInCase(const QString& name, int grammaticalCase);

// The case a field's options ask for ("2. pád" → 2); 0 for none.
int caseOfOptions(const QString& options);

}  // namespace vorlin::fields
