#pragma once

#include "regex/Pattern.h"

#include <string>

namespace vorlin::regex {

// The pattern for the matching library (8-bit, no UTF), written out so
// that its meaning depends on none of the library's options, tables or
// locale: every character set as explicit bytes, the text's start and end
// as \A and \z, line breaks and word boundaries as look-arounds. Only a
// back-reference without regard to case uses the library's case tables,
// which the engine builds for Windows-1250.
std::string translateToPcre(const ParsedPattern& pattern);

// The word characters as a class of the matching library.
std::string pcreWordClass();

}  // namespace vorlin::regex
