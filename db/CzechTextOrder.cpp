#include "db/TextOrder.h"

#include "common/Utf8.h"

#include <QChar>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace vorlin::db {
namespace {

// Weights of one character at the three levels. The primary weight of the
// frequent characters is one byte (blanks, ASCII punctuation, digits, the
// letters of the alphabet); other characters take a lead byte of their group
// and their code, so that each group keeps its place. No primary byte is below
// 2: the level separator (1) sorts before any of them. Accent and case
// weights start at 2.
struct Weights {
    std::uint8_t primary[4] = {};
    std::uint8_t primaryLength = 0;
    std::uint8_t accent = kPlain;
    std::uint8_t letterCase = kPlain;

    static constexpr std::uint8_t kPlain = 2;
};

constexpr std::uint8_t kSeparator = 1;
constexpr std::uint8_t kSpace = 0x02;
constexpr std::uint8_t kAsciiSymbols = 0x03;  // 32 of them, in code order
constexpr std::uint8_t kOtherSymbols = 0x2F;  // + two bytes of the code
constexpr std::uint8_t kDigits = 0x30;
constexpr std::uint8_t kLetters = 0x40;       // two apart, for the alphabet
constexpr std::uint8_t kOtherLetters = 0xE0;  // + two bytes of the folded code
constexpr std::uint8_t kOtherScripts = 0xF0;  // + three bytes of the folded code
constexpr char32_t kTableEnd = 0x250;         // Latin, with its extensions

// The Czech alphabet; "ch" is one letter, after "h".
constexpr std::u16string_view kAlphabet[] = {u"a", u"b", u"c", u"č", u"d", u"e", u"f", u"g", u"h", u"ch",
                                              u"i", u"j", u"k", u"l", u"m", u"n", u"o", u"p", u"q", u"r",
                                              u"ř", u"s", u"š", u"t", u"u", u"v", u"w", u"x", u"y", u"z", u"ž"};

std::uint8_t letterWeight(std::u16string_view letter)
{
    for (std::size_t i = 0; i < std::size(kAlphabet); ++i)
        if (kAlphabet[i] == letter)
            return std::uint8_t(kLetters + 2 * i);
    return 0;
}

const std::uint8_t kCh = letterWeight(u"ch");

std::uint8_t accentWeight(char16_t mark)
{
    switch (mark) {
    case 0x0301: return 3;  // acute
    case 0x030C: return 4;  // caron
    case 0x030A: return 5;  // ring
    default: return std::uint8_t(6 + (mark - 0x0300) % 0xF0);
    }
}

// Letters with no decomposition that are read as letters of the alphabet:
// a stroke over its base (Ł with L), a ligature or ß as the letters it joins
// (Æ as AE, ß as ss); each after its plain spelling.
struct LikeLetters {
    char16_t letter;
    std::u16string_view spelling;
    std::uint8_t accent;
};
constexpr LikeLetters kLikeLetters[] = {
    {u'ł', u"l", 60}, {u'đ', u"d", 60}, {u'ø', u"o", 60}, {u'ħ', u"h", 60}, {u'ŧ', u"t", 60},
    {u'ı', u"i", 60}, {u'æ', u"ae", 61}, {u'œ', u"oe", 61}, {u'ß', u"ss", 61},
};

void setPrimary(Weights& w, std::uint8_t lead, char32_t code = 0, int codeBytes = 0)
{
    w.primary[0] = lead;
    w.primaryLength = std::uint8_t(1 + codeBytes);
    for (int i = 0; i < codeBytes; ++i)
        w.primary[1 + i] = std::uint8_t(code >> (8 * (codeBytes - 1 - i)));
}

int asciiSymbolIndex(char32_t c)
{
    int index = 0;
    for (char32_t s = 0x21; s < 0x7F; ++s) {
        if ((s >= u'0' && s <= u'9') || (s >= u'A' && s <= u'Z') || (s >= u'a' && s <= u'z'))
            continue;
        if (s == c)
            return index;
        ++index;
    }
    return -1;
}

Weights weightsOf(char32_t c)
{
    Weights w;
    const char32_t lower = QChar::toLower(c);
    w.letterCase = lower != c ? 3 : Weights::kPlain;
    if (QChar::isSpace(c)) {
        setPrimary(w, kSpace);
    } else if (c >= u'0' && c <= u'9') {
        setPrimary(w, std::uint8_t(kDigits + (c - u'0')));
    } else if (!QChar::isLetter(c)) {
        if (const int index = asciiSymbolIndex(c); index >= 0)
            setPrimary(w, std::uint8_t(kAsciiSymbols + index));
        else
            setPrimary(w, kOtherSymbols, c, 2);
    } else if (const std::uint8_t weight = letterWeight(QString::fromUcs4(&lower, 1).toStdU16String())) {
        setPrimary(w, weight);  // a letter of the alphabet, Č, Ř, Š and Ž included
    } else if (const auto like = std::find_if(std::begin(kLikeLetters), std::end(kLikeLetters),
                                              [&](const LikeLetters& l) { return l.letter == lower; });
               like != std::end(kLikeLetters)) {
        for (std::size_t i = 0; i < like->spelling.size(); ++i)
            w.primary[i] = letterWeight(like->spelling.substr(i, 1));
        w.primaryLength = std::uint8_t(like->spelling.size());
        w.accent = like->accent;
    } else {
        // An accented letter weighs as its base letter, then by its accent.
        const QString parts = QChar::decomposition(lower);
        const std::uint8_t base = parts.size() == 2 ? letterWeight(parts.first(1).toStdU16String()) : 0;
        if (base) {
            setPrimary(w, base);
            w.accent = accentWeight(parts[1].unicode());
        } else {
            setPrimary(w, kOtherLetters, QChar::toCaseFolded(c), 2);
        }
    }
    return w;
}

const std::array<Weights, kTableEnd>& weightTable()
{
    static const auto table = [] {
        std::array<Weights, kTableEnd> t;
        for (char32_t c = 0; c < kTableEnd; ++c)
            t[c] = weightsOf(c);
        return t;
    }();
    return table;
}

// Trailing plain weights decide nothing between keys whose earlier levels are
// equal (such keys have as many weights): they are left off.
void appendLevel(std::string& key, const std::vector<std::uint8_t>& level)
{
    std::size_t used = level.size();
    while (used > 0 && level[used - 1] == Weights::kPlain)
        --used;
    key.push_back(char(kSeparator));
    key.append(reinterpret_cast<const char*>(level.data()), used);
}

class CzechTextOrder : public TextOrder {
public:
    void appendKey(std::string_view utf8, std::string& key) const override { appendLevels(utf8, key, true); }
    bool appendPrimaryKey(std::string_view utf8, std::string& key) const override
    {
        return appendLevels(utf8, key, false);
    }
    bool isThreadSafe() const override { return true; }
    std::shared_ptr<const TextOrder> twin() const override { return czechTextOrder(); }
    // Named anew whenever its keys change: rows kept in an older order are
    // not shown as sorted by this one.
    QString name() const override { return QStringLiteral("cs-2"); }

private:
    // The letters' weights; with all levels, then their accents and cases.
    // True when the text has no accent or capital, whose weights would add
    // to the key.
    static bool appendLevels(std::string_view utf8, std::string& key, bool allLevels)
    {
        const auto& table = weightTable();
        // At most four primary bytes and one accent and case weight a byte
        // of text.
        thread_local std::vector<std::uint8_t> primaries;
        thread_local std::vector<std::uint8_t> accents;
        thread_local std::vector<std::uint8_t> cases;
        primaries.resize(4 * utf8.size());
        std::uint8_t* primary = primaries.data();
        accents.clear();
        cases.clear();
        bool plain = true;
        const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
        const auto* end = s + utf8.size();
        while (s < end) {
            const char32_t c = *s < 0x80 ? char32_t(*s++) : utf8::next(s, end);
            if (c >= kTableEnd && !QChar::isLetterOrNumber(c)) {
                // Punctuation and symbols beyond Latin („quotes“, dashes, §
                // is below) with the other symbols, before the digits.
                const char32_t code = std::min<char32_t>(c, 0xFFFF);
                *primary++ = QChar::isSpace(c) ? kSpace : kOtherSymbols;
                if (!QChar::isSpace(c)) {
                    *primary++ = std::uint8_t(code >> 8);
                    *primary++ = std::uint8_t(code);
                }
                if (allLevels) {
                    accents.push_back(Weights::kPlain);
                    cases.push_back(Weights::kPlain);
                }
                continue;
            }
            if (c >= kTableEnd) {
                // Other scripts after the Latin letters, by their folded code.
                const char32_t folded = QChar::toCaseFolded(c);
                *primary++ = kOtherScripts;
                *primary++ = std::uint8_t(folded >> 16);
                *primary++ = std::uint8_t(folded >> 8);
                *primary++ = std::uint8_t(folded);
                plain = plain && folded == c;
                if (allLevels) {
                    accents.push_back(Weights::kPlain);
                    cases.push_back(folded != c ? 3 : Weights::kPlain);
                }
                continue;
            }
            if ((c == u'c' || c == u'C') && s < end && (*s == 'h' || *s == 'H')) {
                *primary++ = kCh;
                plain = plain && c == u'c' && *s == 'h';
                if (allLevels) {
                    accents.push_back(Weights::kPlain);
                    cases.push_back(std::uint8_t(Weights::kPlain + (c == u'C' ? 1 : 0) + (*s == 'H' ? 2 : 0)));
                }
                ++s;
                continue;
            }
            const Weights& w = table[c];
            *primary++ = w.primary[0];
            for (int i = 1; i < w.primaryLength; ++i)
                *primary++ = w.primary[i];
            plain = plain && w.accent == Weights::kPlain && w.letterCase == Weights::kPlain;
            if (allLevels) {
                accents.push_back(w.accent);
                cases.push_back(w.letterCase);
            }
        }
        key.append(reinterpret_cast<const char*>(primaries.data()), std::size_t(primary - primaries.data()));
        if (allLevels) {
            appendLevel(key, accents);
            appendLevel(key, cases);
        }
        return plain;
    }
};

}  // namespace

std::shared_ptr<const TextOrder> czechTextOrder()
{
    static const auto order = std::make_shared<const CzechTextOrder>();
    return order;
}

}  // namespace vorlin::db
