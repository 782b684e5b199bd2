#pragma once

#include <QStringView>

struct sqlite3;

namespace vorlin::db {

// LIKE as the snippet searches need it: "%" is any run of characters, "_" any
// one character, and letters match without regard to case in all of Unicode
// ("smlouva" finds "SMLOUVA", "č" finds "Č"). An optional ESCAPE character
// makes the next pattern character literal.
bool likeMatches(QStringView pattern, QStringView text, char32_t escape = 0);

// Puts this LIKE in place of SQLite's own (which folds ASCII letters only)
// on one connection, for both like(pattern, text) and like(pattern, text,
// escape).
void registerUnicodeLike(sqlite3* database);

}  // namespace vorlin::db
