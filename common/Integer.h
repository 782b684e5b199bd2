#pragma once

#include <QStringView>

#include <cstdint>
#include <optional>

namespace vorlin {

// A whole number in the program's text form: leading blanks are skipped, then
// an optional "+" or "-", then decimal digits, or hexadecimal digits after "$",
// "0x" or "0X". Nothing may follow the digits. Decimal values must fit 32 bits
// with their sign; hexadecimal ones may use all 32 bits and are taken as their
// two's-complement value ("$FF000008" is negative), as colour values need.
std::optional<std::int32_t> tryParseInteger(QStringView text) noexcept;

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

// The same, raising ConvertError "'<text>' is not a valid integer value".
std::int32_t parseInteger(QStringView text);

}  // namespace vorlin
