#include "regex/ERegExpr.h"

#include <QHash>

namespace vorlin {

QString regexErrorMessage(int code)
{
    static const QHash<int, QString> messages = {
        {0, QStringLiteral("No errors")},
        {100, QStringLiteral("TRegExpr(comp): Null Argument")},
        {101, QStringLiteral("TRegExpr(comp): Regexp Too Big")},
        {102, QStringLiteral("TRegExpr(comp): ParseReg Too Many ()")},
        {103, QStringLiteral("TRegExpr(comp): ParseReg Unmatched ()")},
        {104, QStringLiteral("TRegExpr(comp): ParseReg Unmatched ()")},
        {105, QStringLiteral("TRegExpr(comp): ParseReg Junk On End")},
        {106, QStringLiteral("TRegExpr(comp): *+ Operand Could Be Empty")},
        {107, QStringLiteral("TRegExpr(comp): Nested *?+")},
        {108, QStringLiteral("TRegExpr(comp): Bad Hex Digit")},
        {109, QStringLiteral("TRegExpr(comp): Invalid [] Range")},
        {110, QStringLiteral("TRegExpr(comp): Parse Atom Trailing \\")},
        {111, QStringLiteral("TRegExpr(comp): No Hex Code After \\x")},
        {112, QStringLiteral("TRegExpr(comp): Hex Code After \\x Is Too Big")},
        {113, QStringLiteral("TRegExpr(comp): Unmatched []")},
        {114, QStringLiteral("TRegExpr(comp): Internal Urp")},
        {115, QStringLiteral("TRegExpr(comp): ?+*{ Follows Nothing")},
        {116, QStringLiteral("TRegExpr(comp): Trailing \\")},
        {119, QStringLiteral("TRegExpr(comp): RarseAtom Internal Disaster")},
        {122, QStringLiteral("TRegExpr(comp): BRACES Argument Too Big")},
        {124, QStringLiteral("TRegExpr(comp): BRACE Min Param Greater then Max")},
        {125, QStringLiteral("TRegExpr(comp): Unclosed (?#Comment)")},
        {126, QStringLiteral("TRegExpr(comp): If you want take part in beta-testing BRACES '{min,max}' and non-greedy "
                             "ops '*?', '+?', '?\?' for complex cases - remove '.' from {.$DEFINE ComplexBraces}")},
        {127, QStringLiteral("TRegExpr(comp): Urecognized Modifier")},
        {128, QStringLiteral("TRegExpr(comp): LinePairedSeparator must countain two different chars or no chars at all")},
        {1000, QStringLiteral("TRegExpr(exec): RegRepeat Called Inappropriately")},
        {1001, QStringLiteral("TRegExpr(exec): MatchPrim Memory Corruption")},
        {1002, QStringLiteral("TRegExpr(exec): MatchPrim Corrupted Pointers")},
        {1003, QStringLiteral("TRegExpr(exec): Not Assigned Expression Property")},
        {1004, QStringLiteral("TRegExpr(exec): Corrupted Program")},
        {1005, QStringLiteral("TRegExpr(exec): No Input String Specified")},
        {1006, QStringLiteral("TRegExpr(exec): Offset Must Be Greater Then 0")},
        {1007, QStringLiteral("TRegExpr(exec): ExecNext Without Exec[Pos]")},
        {1008, QStringLiteral("TRegExpr(exec): GetInputString Without InputString")},
        {1011, QStringLiteral("TRegExpr(dump): Corrupted Opcode")},
        {1014, QStringLiteral("TRegExpr(exec): Loop Stack Exceeded")},
        {1015, QStringLiteral("TRegExpr(exec): Loop Without LoopEntry !")},
        {1100, QStringLiteral("TRegExpr(exec): Pattern Too Complex For This Text")},
        {1101, QStringLiteral("TRegExpr(comp): Pattern Not Accepted By The Matcher")},
        {2000, QStringLiteral("TRegExpr(misc): Bad p-code imported")},
    };
    return messages.value(code, QStringLiteral("Unknown error"));
}

}  // namespace vorlin
