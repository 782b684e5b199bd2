#include "regex/CodePageCase.h"

#include "common/Win1250.h"

#include <QChar>

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstring>
#include <vector>

namespace vorlin::regex {

const std::array<std::uint8_t, 256>& otherCase()
{
    static const auto table = [] {
        std::array<std::uint8_t, 256> pairs{};
        for (int byte = 0; byte < 256; ++byte) {
            pairs[byte] = std::uint8_t(byte);
            const QChar c(win1250::toUnicode(std::uint8_t(byte)));
            const QChar other = c.isUpper() ? c.toLower() : c.isLower() ? c.toUpper() : c;
            if (other == c)
                continue;
            if (const auto mapped = win1250::fromUnicode(other.unicode()))
                pairs[byte] = *mapped;
        }
        return pairs;
    }();
    return table;
}

const std::uint8_t* pcreTables()
{
    // The library's tables for the C locale, with the case tables replaced:
    // lower-case at offset 0, flipped case at offset 256.
    static const std::vector<std::uint8_t> tables = [] {
        const std::uint8_t* base = pcre2_maketables(nullptr);
        std::vector<std::uint8_t> copy(base, base + 1088);
        pcre2_maketables_free(nullptr, base);
        const auto& pairs = otherCase();
        for (int byte = 0; byte < 256; ++byte) {
            const QChar c(win1250::toUnicode(std::uint8_t(byte)));
            copy[byte] = c.isUpper() ? pairs[byte] : std::uint8_t(byte);
            copy[256 + byte] = pairs[byte];
        }
        return copy;
    }();
    return tables.data();
}

}  // namespace vorlin::regex
