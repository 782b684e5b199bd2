#pragma once

#include <QStringView>

#include <cstdint>
#include <optional>

namespace vorlin {

// Which prefixes introduce hexadecimal digits: settings values know "0x",
// the font text form knows "$", a number typed into a box knows both.
enum class HexPrefix : unsigned char { Dollar = 1, ZeroX = 2, Either = 3 };

// A whole number in the program's text form: leading blanks are skipped, then
// an optional "+" or "-", then decimal digits, or hexadecimal digits after one
// of the allowed prefixes ("$", "0x" or "0X"). Nothing may follow the digits.
// Decimal values must fit 32 bits with their sign; hexadecimal ones may use
// all 32 bits and are taken as their two's-complement value ("$FF000008" is
// negative), as colour values need.
std::optional<std::int32_t> tryParseInteger(QStringView text, HexPrefix prefixes = HexPrefix::Either) noexcept;

// The value of one hexadecimal digit, or -1.
constexpr int hexDigitValue(char c) noexcept
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The same, raising ConvertError "'<text>' is not a valid integer value" (a
// long text cut short).
std::int32_t parseInteger(QStringView text, HexPrefix prefixes = HexPrefix::Either);

// A value as an error message quotes it: at most 60 characters, a longer one
// cut with "…".
QString quotedValue(QStringView text);

}  // namespace vorlin
