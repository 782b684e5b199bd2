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

// The same, raising ConvertError "'<text>' is not a valid integer value".
std::int32_t parseInteger(QStringView text);

}  // namespace vorlin
