#pragma once

#include <array>
#include <cstdint>

namespace vorlin::regex {

// Letters and their other-case forms in Windows-1250 (Czech letters
// included), taken from the code page's mapping onto Unicode: for every byte
// the byte of its other-case letter, or the byte itself.
const std::array<std::uint8_t, 256>& otherCase();

// Character tables for the matching library built for Windows-1250, so
// that a back-reference compared without regard to case folds Czech
// letters too.
const std::uint8_t* pcreTables();

}  // namespace vorlin::regex
