#include "common/CodePage.h"

#include "common/Win1250.h"

#include <array>

namespace vorlin::codepage {
namespace {

// Windows-1252 bytes 0x80..0x9F; above them it is ISO 8859-1. Unassigned
// bytes stand for the C1 control of the same value.
constexpr std::array<char16_t, 32> k1252Specials = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

bool isKnown(int codePage) noexcept
{
    return codePage == 1250 || codePage == 1252;
}

char16_t toUnicode(int codePage, unsigned char byte) noexcept
{
    if (codePage == 1252)
        return byte >= 0x80 && byte < 0xA0 ? k1252Specials[byte - 0x80] : char16_t(byte);
    return win1250::toUnicode(byte);
}

QString decode(int codePage, QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = toUnicode(codePage, static_cast<unsigned char>(bytes[i]));
    return text;
}

}  // namespace vorlin::codepage
