#include "db/UnicodeLike.h"

#include <QChar>

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace vorlin::db {
namespace {

// Simple case folding of the Basic Multilingual Plane, looked up per
// character while a row is matched.
const std::array<char16_t, 0x10000>& foldTable()
{
    static const auto table = [] {
        auto t = std::make_unique<std::array<char16_t, 0x10000>>();
        for (char32_t c = 0; c < 0x10000; ++c) {
            const char32_t folded = QChar::toCaseFolded(c);
            (*t)[c] = folded < 0x10000 ? char16_t(folded) : char16_t(c);
        }
        return t;
    }();
    return *table;
}

inline char32_t fold(char32_t c)
{
    return c < 0x10000 ? foldTable()[c] : QChar::toCaseFolded(c);
}

// Reads one character of UTF-8; a byte that does not start a valid sequence
// stands for itself, so that broken text still compares byte by byte.
inline char32_t nextUtf8(const unsigned char*& s, const unsigned char* end)
{
    const unsigned char lead = *s;
    if (lead < 0x80) {
        ++s;
        return lead;
    }
    int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || end - s < length) {
        ++s;
        return 0xDC00 + lead;
    }
    char32_t c = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80) {
            ++s;
            return 0xDC00 + lead;
        }
        c = (c << 6) | (s[i] & 0x3F);
    }
    s += length;
    return c;
}

struct Token {
    enum Kind : std::uint8_t { Literal, AnyOne, AnyRun } kind;
    char32_t character;  // folded, for literals
};

using CompiledPattern = std::vector<Token>;

template <typename NextChar>
CompiledPattern compile(NextChar next, char32_t escape)
{
    CompiledPattern tokens;
    bool escaped = false;
    for (char32_t c; next(c);) {
        if (escaped) {
            tokens.push_back({Token::Literal, fold(c)});
            escaped = false;
        } else if (escape != 0 && c == escape) {
            escaped = true;
        } else if (c == U'%') {
            if (tokens.empty() || tokens.back().kind != Token::AnyRun)
                tokens.push_back({Token::AnyRun, 0});
        } else if (c == U'_') {
            tokens.push_back({Token::AnyOne, 0});
        } else {
            tokens.push_back({Token::Literal, fold(c)});
        }
    }
    return tokens;
}

// Matches UTF-8 text against the tokens: greedy on "%", going back to the
// last "%" when the rest does not fit.
bool matchUtf8(const CompiledPattern& tokens, const unsigned char* text, const unsigned char* end)
{
    const std::size_t count = tokens.size();
    std::size_t ti = 0;
    const unsigned char* s = text;
    std::size_t starToken = SIZE_MAX;
    const unsigned char* starText = nullptr;

    while (s < end) {
        if (ti < count && tokens[ti].kind == Token::AnyRun) {
            starToken = ti++;
            starText = s;
            continue;
        }
        const unsigned char* afterChar = s;
        const char32_t c = nextUtf8(afterChar, end);
        if (ti < count && (tokens[ti].kind == Token::AnyOne || tokens[ti].character == fold(c))) {
            ++ti;
            s = afterChar;
        } else if (starToken != SIZE_MAX) {
            ti = starToken + 1;
            nextUtf8(starText, end);
            s = starText;
        } else {
            return false;
        }
    }
    while (ti < count && tokens[ti].kind == Token::AnyRun)
        ++ti;
    return ti == count;
}

CompiledPattern compileUtf8(const unsigned char* pattern, const unsigned char* end, char32_t escape)
{
    return compile(
        [&](char32_t& c) {
            if (pattern >= end)
                return false;
            c = nextUtf8(pattern, end);
            return true;
        },
        escape);
}

void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    char32_t escape = 0;
    if (argc == 3) {
        const auto* e = sqlite3_value_text(argv[2]);
        const int length = sqlite3_value_bytes(argv[2]);
        const unsigned char* p = e;
        if (e && length > 0)
            escape = nextUtf8(p, e + length);
        if (!e || p != e + length || length == 0) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return;  // NULL

    auto* compiled = static_cast<CompiledPattern*>(sqlite3_get_auxdata(context, 0));
    if (!compiled) {
        const auto* pattern = sqlite3_value_text(argv[0]);
        const int length = sqlite3_value_bytes(argv[0]);
        compiled = new CompiledPattern(compileUtf8(pattern, pattern + length, escape));
        sqlite3_set_auxdata(context, 0, compiled, [](void* p) { delete static_cast<CompiledPattern*>(p); });
        compiled = static_cast<CompiledPattern*>(sqlite3_get_auxdata(context, 0));
        if (!compiled) {
            // SQLite dropped it at once (a pattern that is not a constant):
            // compile for this call only.
            const CompiledPattern once = compileUtf8(pattern, pattern + length, escape);
            const auto* text = sqlite3_value_text(argv[1]);
            sqlite3_result_int(context, matchUtf8(once, text, text + sqlite3_value_bytes(argv[1])));
            return;
        }
    }
    const auto* text = sqlite3_value_text(argv[1]);
    sqlite3_result_int(context, matchUtf8(*compiled, text, text + sqlite3_value_bytes(argv[1])));
}

}  // namespace

bool likeMatches(QStringView pattern, QStringView text, char32_t escape)
{
    const QByteArray p = pattern.toUtf8();
    const QByteArray t = text.toUtf8();
    const auto* pb = reinterpret_cast<const unsigned char*>(p.constData());
    const auto* tb = reinterpret_cast<const unsigned char*>(t.constData());
    return matchUtf8(compileUtf8(pb, pb + p.size(), escape), tb, tb + t.size());
}

void registerUnicodeLike(sqlite3* database)
{
    foldTable();
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_function(database, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(database, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr);
}

}  // namespace vorlin::db
