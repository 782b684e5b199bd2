#pragma once

#include "regex/Pattern.h"

#include <QByteArray>

namespace vorlin::regex {

// The dialect's options; the engine starts with these defaults.
struct Options {
    bool i = false;  // letters match their other-case form
    bool r = true;   // widened class ranges
    bool s = true;   // "." takes line breaks too
    bool g = true;   // repeats are greedy
    bool m = false;  // "^" and "$" also at line breaks
    bool x = false;  // blanks and "#" comments are ignored
};

// Parses a pattern of Windows-1250 bytes. Raises ERegExpr with the dialect's
// code, message and position ("(pos N)": the pattern characters read when
// the error was found).
ParsedPattern parsePattern(const QByteArray& pattern, Options options);

}  // namespace vorlin::regex
