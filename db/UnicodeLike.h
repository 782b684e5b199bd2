#pragma once

#include <QStringView>

#include <cstdint>
#include <memory>
#include <string_view>

struct sqlite3;

namespace vorlin::db {

// LIKE as the snippet searches need it: "%" is any run of characters, "_" any
// one character, and letters match without regard to case in all of Unicode
// ("smlouva" finds "SMLOUVA", "č" finds "Č"). An optional ESCAPE character
// makes the next pattern character literal.
bool likeMatches(QStringView pattern, QStringView text, char32_t escape = 0);

struct CompiledPattern;

// A LIKE pattern made ready once for many texts, matched as likeMatches()
// and the database's like() match: a search tries it on every row. Folded
// for typing in a hurry, accents are left aside too ("cizek" is like
// "Čížek").
class CompiledLike {
public:
    enum class Folding { Case, CaseAndAccents };
    explicit CompiledLike(QStringView pattern, Folding folding = Folding::Case, char32_t escape = 0);
    bool matchesUtf8(std::string_view text) const;
    // The letters (and whether a digit) that every text it matches holds,
    // as lettersOfUtf8 gives them.
    std::uint32_t requiredLetters() const;

private:
    std::shared_ptr<const CompiledPattern> pattern_;
};

// The letters a to z a text holds when folded for typing (bits 0 to 25),
// and whether it holds a digit (bit 26): what a pattern folded so needs of a
// text, tried on many rows before their texts are.
std::uint32_t lettersOfUtf8(std::string_view text);

// Puts this LIKE in place of SQLite's own (which folds ASCII letters only)
// on one connection, for both like(pattern, text) and like(pattern, text,
// escape).
void registerUnicodeLike(sqlite3* database);

}  // namespace vorlin::db
