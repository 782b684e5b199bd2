#include "common/Integer.h"

#include "common/Error.h"

namespace vorlin {

std::optional<std::int32_t> tryParseInteger(QStringView text, HexPrefix prefixes) noexcept
{
    const bool dollar = (unsigned(prefixes) & unsigned(HexPrefix::Dollar)) != 0;
    const bool zeroX = (unsigned(prefixes) & unsigned(HexPrefix::ZeroX)) != 0;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;

    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    bool hex = false;
    if (dollar && i < n && text[i] == u'$') {
        hex = true;
        ++i;
    } else if (zeroX && i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }

    if (i == n)
        return std::nullopt;

    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t value = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        const int digit = c < 0x80 ? hexDigitValue(char(c)) : -1;
        if (digit < 0 || (!hex && digit > 9))
            return std::nullopt;
        value = value * (hex ? 16 : 10) + std::uint64_t(digit);
        if (value > limit)
            return std::nullopt;
    }

    auto bits = static_cast<std::uint32_t>(value);
    if (negative)
        bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

std::int32_t parseInteger(QStringView text, HexPrefix prefixes)
{
    if (const auto value = tryParseInteger(text, prefixes))
        return *value;
    throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(quotedValue(text)));
}

QString quotedValue(QStringView text)
{
    constexpr qsizetype kLongest = 60;
    if (text.size() <= kLongest)
        return text.toString();
    return text.first(kLongest - 1).toString() + u'…';
}

}  // namespace vorlin
