#pragma once

#include "data/Font.h"

#include <QString>
#include <QStringView>

namespace vorlin {

// The one-line text form of a font:
//   "Arial", 12, [Bold|Italic], [clMaroon]
QString fontSpecText(const Font& font);

// Sets the font's attributes from a FontSpec text, one attribute after the
// other: face, size, colour, then styles. A piece that does not convert raises
// ConvertError, and the attributes set before it stay set. A text without
// commas ("tahoma") leaves the face alone and fails at the size.
void readFontSpec(QStringView text, Font& font);

}  // namespace vorlin
