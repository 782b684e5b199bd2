#include "db/UnicodeLike.h"

#include "common/Utf8.h"

#include <QChar>
#include <QString>

#include <sqlite3.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
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

const char16_t* const kFold = foldTable().data();

// Folding for typing in a hurry as well: a letter's accents left off (its
// compatibility decomposition without the combining marks, where that is one
// character), then its case. Made when first needed.
const char16_t* typingFoldTable()
{
    static const auto table = [] {
        auto t = std::make_unique<std::array<char16_t, 0x10000>>();
        for (char32_t c = 0; c < 0x10000; ++c) {
            char32_t base = c;
            if (c >= 0x80 && !(c >= 0xD800 && c <= 0xDFFF)) {
                QString letters;
                for (const QChar part : QString(QChar(char16_t(c))).normalized(QString::NormalizationForm_KD))
                    if (part.category() != QChar::Mark_NonSpacing)
                        letters += part;
                if (letters.size() == 1)
                    base = letters.front().unicode();
            }
            const char32_t folded = QChar::toCaseFolded(base);
            (*t)[c] = folded < 0x10000 ? char16_t(folded) : char16_t(c);
        }
        return t;
    }();
    return table->data();
}

inline char32_t fold(const char16_t* table, char32_t c)
{
    return c < 0x10000 ? table[c] : QChar::toCaseFolded(c);
}

inline char32_t fold(char32_t c)
{
    return fold(kFold, c);
}

}  // namespace

// A few bytes, each also sixteen times over (to be compared with sixteen
// bytes of a text at once); its size tells of more than it keeps.
struct ByteList {
    static constexpr std::size_t kMost = 8;
    std::size_t count = 0;
    alignas(16) unsigned char repeated[kMost][16] = {};

    bool empty() const { return count == 0; }
    std::size_t size() const { return count; }
    void clear() { count = 0; }
    void push_back(unsigned char byte)
    {
        if (count < kMost)
            std::memset(repeated[count], byte, 16);
        ++count;
    }
};

using TwoByteCharacters = std::array<std::uint64_t, 0x800 / 64>;

struct Token {
    enum Kind : std::uint8_t { Literal, AnyOne, AnyRun } kind;
    char32_t character;  // folded, for literals
};

// A pattern ready for matching. The usual search pattern "%word%" is kept
// as the folded word too, and is matched by a plain substring search.
struct CompiledPattern {
    std::vector<Token> tokens;
    bool isSubstring = false;
    std::u32string needle;
    // For a substring: the first bytes of every character that folds to the
    // needle's first one, so that a text is searched where it can match
    // without folding all of it. Empty when the needle cannot be searched so.
    std::array<bool, 256> leadBytes{};
    bool scanned = false;
    // The same bytes as lists, ASCII and the rest, when they are few enough
    // to be compared with many text bytes at once; empty otherwise.
    ByteList leads;
    ByteList otherLeads;
    // Where the first character is ASCII (a character of one byte), the
    // second character's first bytes too: such a place must begin with both.
    // Those that are ASCII as a list; any other byte there (the first of a
    // longer character) when one of them may begin the second character.
    bool pairs = false;
    ByteList secondLeads;
    bool secondBeyondAscii = false;
    // The characters of two bytes (U+0080 to U+07FF) that fold to the
    // needle's first and second ones: most non-ASCII first bytes found lead
    // a character that does not, and are passed by without folding it.
    TwoByteCharacters firstOfTwo{};
    TwoByteCharacters secondOfTwo{};
    const char16_t* table = kFold;  // the folding of this pattern and its texts
};

namespace {

constexpr std::size_t kMostLeadsCompared = ByteList::kMost;

// The characters of the Basic Multilingual Plane that fold to the needle's
// first one (none above it does), by the first byte of their UTF-8. A first
// character that is a broken byte, or lies above the plane, is left to the
// folding search.
bool leadBytesOf(char32_t folded, const char16_t* table, std::array<bool, 256>& bytes)
{
    if (folded >= 0x10000 || (folded >= 0xD800 && folded <= 0xDFFF))
        return false;
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (table[c] != folded || (c >= 0xD800 && c <= 0xDFFF))
            continue;
        const unsigned lead = c < 0x80 ? c : c < 0x800 ? 0xC0 | (c >> 6) : 0xE0 | (c >> 12);
        bytes[lead] = true;
    }
    return true;
}

// The bytes set from one to another, as a list.
ByteList listOf(const std::array<bool, 256>& bytes, unsigned from, unsigned to)
{
    ByteList list;
    for (unsigned byte = from; byte < to; ++byte)
        if (bytes[byte])
            list.push_back((unsigned char)byte);
    return list;
}

void findLeadBytes(CompiledPattern& compiled)
{
    if (!leadBytesOf(compiled.needle.front(), compiled.table, compiled.leadBytes))
        return;
    compiled.scanned = true;
    const auto twoByteFolding = [&](char32_t folded, TwoByteCharacters& characters) {
        for (char32_t c = 0x80; c < 0x800; ++c)
            if (compiled.table[c] == folded)
                characters[c / 64] |= std::uint64_t(1) << (c % 64);
    };
    twoByteFolding(compiled.needle.front(), compiled.firstOfTwo);
    if (compiled.needle.size() >= 2)
        twoByteFolding(compiled.needle[1], compiled.secondOfTwo);
    compiled.leads = listOf(compiled.leadBytes, 0, 0x80);
    compiled.otherLeads = listOf(compiled.leadBytes, 0x80, 256);
    if (compiled.leads.size() + compiled.otherLeads.size() > kMostLeadsCompared) {
        compiled.leads.clear();
        compiled.otherLeads.clear();
        return;
    }
    std::array<bool, 256> second{};
    if (compiled.needle.size() < 2 || compiled.leads.empty() || !leadBytesOf(compiled.needle[1], compiled.table, second))
        return;
    compiled.secondLeads = listOf(second, 0, 0x80);
    compiled.secondBeyondAscii = !listOf(second, 0x80, 256).empty();
    compiled.pairs = compiled.secondLeads.size() <= kMostLeadsCompared;
}

CompiledPattern compileUtf8(const unsigned char* pattern, const unsigned char* end, char32_t escape,
                            const char16_t* table = kFold)
{
    CompiledPattern compiled;
    compiled.table = table;
    std::vector<Token>& tokens = compiled.tokens;
    bool escaped = false;
    while (pattern < end) {
        const char32_t c = utf8::next(pattern, end);
        if (escaped) {
            tokens.push_back({Token::Literal, fold(table, c)});
            escaped = false;
        } else if (escape != 0 && c == escape) {
            escaped = true;
        } else if (c == U'%') {
            if (tokens.empty() || tokens.back().kind != Token::AnyRun)
                tokens.push_back({Token::AnyRun, 0});
        } else if (c == U'_') {
            tokens.push_back({Token::AnyOne, 0});
        } else {
            tokens.push_back({Token::Literal, fold(table, c)});
        }
    }
    if (tokens.size() >= 2 && tokens.front().kind == Token::AnyRun && tokens.back().kind == Token::AnyRun) {
        compiled.isSubstring = true;
        for (std::size_t i = 1; i + 1 < tokens.size(); ++i) {
            if (tokens[i].kind != Token::Literal) {
                compiled.isSubstring = false;
                break;
            }
            compiled.needle.push_back(tokens[i].character);
        }
    }
    if (compiled.isSubstring && !compiled.needle.empty())
        findLeadBytes(compiled);
    return compiled;
}

// The text's characters, case-folded, into a buffer that is reused from row
// to row; returns their number.
std::size_t foldUtf8(const unsigned char* s, const unsigned char* end, const char16_t* table, std::vector<char32_t>& buffer)
{
    const std::size_t bytes = std::size_t(end - s);
    if (buffer.size() < bytes)
        buffer.resize(bytes);
    char32_t* out = buffer.data();
    while (s < end) {
        if (*s < 0x80)
            *out++ = table[*s++];
        else
            *out++ = fold(table, utf8::next(s, end));
    }
    return std::size_t(out - buffer.data());
}

bool containsFolded(const char32_t* text, std::size_t length, const std::u32string& needle)
{
    if (needle.empty())
        return true;
    if (needle.size() > length)
        return false;
    // wchar_t is 32 bits here: the C library's vectorised search finds the
    // first character's places.
    static_assert(sizeof(wchar_t) == sizeof(char32_t));
    const auto first = wchar_t(needle.front());
    const auto* begin = reinterpret_cast<const wchar_t*>(text);
    const auto* last = begin + (length - needle.size());
    for (const wchar_t* at = begin; at <= last; ++at) {
        at = std::wmemchr(at, first, std::size_t(last - at) + 1);
        if (!at)
            return false;
        if (std::equal(needle.begin() + 1, needle.end(), reinterpret_cast<const char32_t*>(at) + 1))
            return true;
    }
    return false;
}

// Greedy on "%", going back to the last "%" when the rest does not fit.
bool matchFolded(const std::vector<Token>& tokens, const char32_t* text, std::size_t length)
{
    const std::size_t count = tokens.size();
    std::size_t ti = 0;
    std::size_t si = 0;
    std::size_t starToken = SIZE_MAX;
    std::size_t starText = 0;
    while (si < length) {
        if (ti < count && tokens[ti].kind == Token::AnyRun) {
            starToken = ti++;
            starText = si;
        } else if (ti < count && (tokens[ti].kind == Token::AnyOne || tokens[ti].character == text[si])) {
            ++ti;
            ++si;
        } else if (starToken != SIZE_MAX) {
            ti = starToken + 1;
            si = ++starText;
        } else {
            return false;
        }
    }
    while (ti < count && tokens[ti].kind == Token::AnyRun)
        ++ti;
    return ti == count;
}

// A search of several words compares each row's name and keywords with every
// word in turn; the last texts folded are kept, so each is folded once a row.
struct FoldedText {
    const char16_t* table = nullptr;
    std::string raw;
    std::vector<char32_t> folded;
    std::size_t length = 0;
};

const FoldedText& foldedCached(const unsigned char* text, const unsigned char* end, const char16_t* table)
{
    thread_local FoldedText cache[2];
    thread_local int nextSlot = 0;
    const std::size_t size = std::size_t(end - text);
    for (const FoldedText& entry : cache)
        if (entry.table == table && entry.raw.size() == size && std::memcmp(entry.raw.data(), text, size) == 0)
            return entry;
    FoldedText& entry = cache[nextSlot];
    nextSlot ^= 1;
    entry.table = table;
    entry.raw.assign(reinterpret_cast<const char*>(text), size);
    entry.length = foldUtf8(text, end, table, entry.folded);
    return entry;
}

// The needle looked for where a character that folds to its first one
// begins: those bytes never continue another character, so each such place
// is where a character starts, and from there the text is folded only as
// far as it matches.
bool needleAt(const CompiledPattern& pattern, const unsigned char* at, const unsigned char* end)
{
    const std::u32string& needle = pattern.needle;
    std::size_t matched = 0;
    while (matched < needle.size() && at < end && fold(pattern.table, utf8::next(at, end)) == needle[matched])
        ++matched;
    return matched == needle.size();
}

// Whether the character of two bytes at this place is one of those; a
// broken one never is.
inline bool twoByteOneOf(const TwoByteCharacters& characters, const unsigned char* at, const unsigned char* end)
{
    if (end - at < 2 || (at[1] & 0xC0) != 0x80)
        return false;
    const unsigned c = unsigned(at[0] & 0x1F) << 6 | (at[1] & 0x3F);
    return characters[c / 64] >> (c % 64) & 1;
}

// A first byte found: where it or the next begins a character of two bytes,
// that character is looked at before the needle is tried there.
inline __attribute__((always_inline)) bool worthTrying(const CompiledPattern& pattern, const unsigned char* at,
                                                      const unsigned char* end)
{
    if (*at >= 0xC0 && *at < 0xE0)
        return twoByteOneOf(pattern.firstOfTwo, at, end);
    if (*at < 0x80 && pattern.needle.size() >= 2 && end - at >= 2 && at[1] >= 0xC0 && at[1] < 0xE0)
        return twoByteOneOf(pattern.secondOfTwo, at + 1, end);
    return true;
}

#if defined(__SSE2__)
// Sixteen bytes compared with every first byte at once; the last block
// overlaps the one before rather than reading past the text.
__m128i anyOf(const __m128i bytes, const ByteList& values)
{
    __m128i found = _mm_setzero_si128();
    for (std::size_t i = 0; i < std::min(values.count, ByteList::kMost); ++i)
        found = _mm_or_si128(found,
                             _mm_cmpeq_epi8(bytes, _mm_load_si128(reinterpret_cast<const __m128i*>(values.repeated[i]))));
    return found;
}

// A place where the needle's first byte stands, and after an ASCII one a
// byte the second character may begin with, in the sixteen bytes from a
// block; a needle of two characters cannot begin at the text's last byte.
bool scanUtf8Blocks(const CompiledPattern& pattern, const unsigned char* text, const unsigned char* end)
{
    const bool pairs = pattern.pairs;
    const unsigned char* lastBlock = end - (pairs ? 17 : 16);
    const unsigned char* stop = end - (pairs ? 1 : 0);
    for (const unsigned char* from = text; from < stop;) {
        const unsigned char* block = std::min(from, lastBlock);
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
        __m128i found = anyOf(bytes, pattern.leads);
        if (pairs) {
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 1));
            __m128i second = anyOf(next, pattern.secondLeads);
            if (pattern.secondBeyondAscii)
                second = _mm_or_si128(second, _mm_cmplt_epi8(next, _mm_setzero_si128()));
            found = _mm_and_si128(found, second);
        }
        found = _mm_or_si128(found, anyOf(bytes, pattern.otherLeads));
        unsigned mask = unsigned(_mm_movemask_epi8(found)) & (0xFFFFu << (from - block));
        for (; mask != 0; mask &= mask - 1) {
            const unsigned char* at = block + __builtin_ctz(mask);
            if (worthTrying(pattern, at, end) && needleAt(pattern, at, end))
                return true;
        }
        from = block + 16;
    }
    return false;
}
#endif

bool scanUtf8(const CompiledPattern& pattern, const unsigned char* text, const unsigned char* end)
{
#if defined(__SSE2__)
    if ((!pattern.leads.empty() || !pattern.otherLeads.empty()) && end - text >= (pattern.pairs ? 17 : 16))
        return scanUtf8Blocks(pattern, text, end);
#endif
    for (const unsigned char* at = text; at < end; ++at)
        if (pattern.leadBytes[*at] && worthTrying(pattern, at, end) && needleAt(pattern, at, end))
            return true;
    return false;
}

bool matchUtf8(const CompiledPattern& pattern, const unsigned char* text, const unsigned char* end)
{
    if (pattern.scanned)
        return scanUtf8(pattern, text, end);
    const FoldedText& folded = foldedCached(text, end, pattern.table);
    return pattern.isSubstring ? containsFolded(folded.folded.data(), folded.length, pattern.needle)
                               : matchFolded(pattern.tokens, folded.folded.data(), folded.length);
}

void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    char32_t escape = 0;
    if (argc == 3) {
        const auto* e = sqlite3_value_text(argv[2]);
        const int length = sqlite3_value_bytes(argv[2]);
        const unsigned char* p = e;
        if (e && length > 0)
            escape = utf8::next(p, e + length);
        if (!e || p != e + length || length == 0) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    // A NULL text or pattern gives NULL.
    const auto* text = sqlite3_value_text(argv[1]);
    if (!text)
        return;
    const unsigned char* textEnd = text + sqlite3_value_bytes(argv[1]);

    auto* compiled = static_cast<CompiledPattern*>(sqlite3_get_auxdata(context, 0));
    if (!compiled) {
        const auto* pattern = sqlite3_value_text(argv[0]);
        if (!pattern)
            return;
        const int length = sqlite3_value_bytes(argv[0]);
        compiled = new CompiledPattern(compileUtf8(pattern, pattern + length, escape));
        sqlite3_set_auxdata(context, 0, compiled, [](void* p) { delete static_cast<CompiledPattern*>(p); });
        compiled = static_cast<CompiledPattern*>(sqlite3_get_auxdata(context, 0));
        if (!compiled) {
            // SQLite dropped it at once (a pattern that is not a constant):
            // compile for this call only.
            const CompiledPattern once = compileUtf8(pattern, pattern + length, escape);
            sqlite3_result_int(context, matchUtf8(once, text, textEnd));
            return;
        }
    }
    sqlite3_result_int(context, matchUtf8(*compiled, text, textEnd));
}

}  // namespace

CompiledLike::CompiledLike(QStringView pattern, Folding folding, char32_t escape)
{
    const QByteArray bytes = pattern.toUtf8();
    const auto* begin = reinterpret_cast<const unsigned char*>(bytes.constData());
    pattern_ = std::make_shared<const CompiledPattern>(
        compileUtf8(begin, begin + bytes.size(), escape, folding == Folding::CaseAndAccents ? typingFoldTable() : kFold));
}

namespace {

std::uint32_t letterBit(char32_t folded)
{
    if (folded >= U'a' && folded <= U'z')
        return 1u << (folded - U'a');
    if (folded >= U'0' && folded <= U'9')
        return 1u << 26;
    return 0;
}

}  // namespace

std::uint32_t lettersOfUtf8(std::string_view text)
{
    const char16_t* table = typingFoldTable();
    const auto* at = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = at + text.size();
    std::uint32_t letters = 0;
    while (at < end)
        letters |= letterBit(*at < 0x80 ? char32_t(table[*at++]) : fold(table, utf8::next(at, end)));
    return letters;
}

std::uint32_t CompiledLike::requiredLetters() const
{
    // Folded for case alone, a plain letter or digit is still that one when
    // folded for typing (so are the Kelvin sign and the long s that fold to
    // one); any other character may fold to more than one of them.
    const bool typing = pattern_->table == typingFoldTable();
    std::uint32_t letters = 0;
    for (const Token& token : pattern_->tokens)
        if (token.kind == Token::Literal && (typing || token.character < 0x80))
            letters |= letterBit(token.character);
    return letters;
}

bool CompiledLike::matchesUtf8(std::string_view text) const
{
    const auto* begin = reinterpret_cast<const unsigned char*>(text.data());
    return matchUtf8(*pattern_, begin, begin + text.size());
}

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
