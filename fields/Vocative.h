#pragma once

#include <QString>

namespace vorlin::fields {

// A name in the vocative, for a salutation: each word of it ("Petr Novák"
// → "Petře Nováku", "Jana Dvořáková" → "Jano Dvořáková"). Czech declension
// by the word's ending, with a table of the names that go their own way;
// adjectives, women's surnames and names that do not decline stay.
QString vocativeOf(const QString& name);

}  // namespace vorlin::fields
