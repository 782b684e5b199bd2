#pragma once

#include "regex/Pattern.h"

namespace vorlin::regex {

// The dialect's character sets, as Windows-1250 bytes.
const ByteSet& wordSet();   // the 92 word characters of \w and \b
const ByteSet& digitSet();  // 0-9
const ByteSet& spaceSet();  // blank, tab, LF, CR, FF

}  // namespace vorlin::regex
