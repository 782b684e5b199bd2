#pragma once

#include "common/Error.h"

namespace vorlin {

// An error of the pattern engine: the message the user sees, the engine's
// error code, and for compile errors the position in the pattern.
class ERegExpr : public Error {
public:
    ERegExpr(int code, QString message, int position = 0)
        : Error(std::move(message)), errorCode_(code), position_(position)
    {
    }

    int errorCode() const { return errorCode_; }
    // Pattern characters read when a compile error was found; 0 at run time.
    int compilerErrorPos() const { return position_; }

private:
    int errorCode_;
    int position_;
};

namespace regex_error {
// The codes the engine raises.
constexpr int TooManyGroups = 102;
constexpr int UnmatchedOpen = 103;
constexpr int UnmatchedClose = 104;
constexpr int JunkOnEnd = 105;
constexpr int OperandCouldBeEmpty = 106;
constexpr int NestedRepeat = 107;
constexpr int BadHexDigit = 108;
constexpr int InvalidRange = 109;
constexpr int ClassTrailingBackslash = 110;
constexpr int NoHexCode = 111;
constexpr int HexCodeTooBig = 112;
constexpr int UnmatchedBracket = 113;
constexpr int RepeatFollowsNothing = 115;
constexpr int TrailingBackslash = 116;
constexpr int BracesArgumentTooBig = 122;
constexpr int BraceMinGreaterThanMax = 124;
constexpr int UnclosedComment = 125;
constexpr int UnrecognizedModifier = 127;
constexpr int NoExpression = 1003;
constexpr int LoopStackExceeded = 1014;
// Beyond the classic codes: a search the backtracking matcher had to give
// up, and a pattern the matching library refused.
constexpr int TooComplex = 1100;
constexpr int InternalTranslation = 1101;
}  // namespace regex_error

// The message of an error code ("Unknown error" for codes the engine does
// not have).
QString regexErrorMessage(int code);

}  // namespace vorlin
