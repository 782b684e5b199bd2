#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace vorlin {

// A colour as the program stores it: 0x00BBGGRR for a plain colour,
// 0xFF000000 + index for a system colour, or one of the two special values.
// Signed, so that system colours are negative, as in their "$FF0000.." form.
using Color = std::int32_t;

namespace colors {
constexpr Color clBlack = 0x000000;
constexpr Color clMaroon = 0x000080;
constexpr Color clGreen = 0x008000;
constexpr Color clOlive = 0x008080;
constexpr Color clNavy = 0x800000;
constexpr Color clPurple = 0x800080;
constexpr Color clTeal = 0x808000;
constexpr Color clGray = 0x808080;
constexpr Color clSilver = 0xC0C0C0;
constexpr Color clRed = 0x0000FF;
constexpr Color clLime = 0x00FF00;
constexpr Color clYellow = 0x00FFFF;
constexpr Color clBlue = 0xFF0000;
constexpr Color clFuchsia = 0xFF00FF;
constexpr Color clAqua = 0xFFFF00;
constexpr Color clWhite = 0xFFFFFF;

constexpr Color systemColor(int index)
{
    return static_cast<Color>(0xFF000000u + static_cast<std::uint32_t>(index));
}
constexpr Color clWindow = systemColor(5);
constexpr Color clWindowText = systemColor(8);
constexpr Color clHighlight = systemColor(13);
constexpr Color clNone = 0x1FFFFFFF;
constexpr Color clDefault = 0x20000000;
}  // namespace colors

// The colour's name ("clRed", "clWindowText"), if it has one.
std::optional<QString> colorName(Color color);

// The colour of a name, compared without regard to letter case.
std::optional<Color> colorFromName(QStringView name);

// The name, or "$" and eight upper-case hexadecimal digits.
QString colorToText(Color color);

// A name or an integer ("$00C08000"); raises ConvertError when it is neither.
Color colorFromText(QStringView text);

// The colour for drawing: system colours come from the palette; clNone and
// clDefault give an invalid QColor (meaning "the default text colour").
QColor toQColor(Color color, const QPalette& palette = QPalette());

// A plain colour as 0x00BBGGRR.
Color fromQColor(const QColor& color);

}  // namespace vorlin
