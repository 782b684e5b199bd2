#include "regex/RegExpr.h"

#include <gtest/gtest.h>

using namespace vorlin;

namespace {

struct ErrorCase {
    QByteArray pattern;
    int code;
    int position;
};

}  // namespace

TEST(RegExprErrors, CompileErrorsCarryCodeMessageAndPosition)
{
    const ErrorCase cases[] = {
        {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)(n)(o)", 102, 43},
        {"(a", 103, 2},
        {"((a)", 103, 4},
        {"a)", 104, 2},
        {QByteArray("a\0b", 3), 105, 1},
        {"(a*)*", 106, 5},
        {"()+", 106, 3},
        {"(a|)*", 106, 5},
        {"^*", 106, 2},
        {"(a?){2}", 106, 7},
        {"a**", 107, 3},
        {"a*??", 107, 4},
        {"a{2}+", 107, 5},
        {"\\xZZ", 108, 3},
        {"\\x{1Z}", 108, 5},
        {"[\xe1-\x9e]", 109, 4},  // á-ž in Windows-1250
        {"[z-a]", 109, 4},
        {"[a\\", 110, 3},
        {"\\x1", 111, 3},
        {"\\x", 111, 2},
        {"\\x{12", 111, 5},
        {"\\x{100}", 112, 6},
        {"[abc", 113, 4},
        {"[]", 113, 2},
        {"*a", 115, 1},
        {"a|+", 115, 3},
        {"(?i)?", 115, 5},
        {"a\\", 116, 2},
        {"a{123456789}", 122, 11},
        {"a{3,2}", 124, 6},
        {"a(?#x", 125, 5},
        {"(?:x)", 127, 3},
        {"(?i", 127, 3},
        {"(?q)", 127, 3},
    };
    for (const ErrorCase& c : cases) {
        TRegExpr engine;
        engine.setExpression(c.pattern);
        try {
            engine.exec(QByteArray("text"));
            ADD_FAILURE() << c.pattern.toStdString() << ": no error";
        } catch (const ERegExpr& e) {
            EXPECT_EQ(e.errorCode(), c.code) << c.pattern.toStdString();
            EXPECT_EQ(e.compilerErrorPos(), c.position) << c.pattern.toStdString();
            EXPECT_EQ(e.message(), regexErrorMessage(c.code) + QStringLiteral(" (pos %1)").arg(c.position))
                << c.pattern.toStdString();
        }
    }
}

TEST(RegExprErrors, TheRangeFromAToZWithCaronsIsInvalid)
{
    TRegExpr engine;
    engine.setExpression(QStringLiteral("[á-ž]"));
    try {
        engine.exec(QStringLiteral("č"));
        FAIL() << "no error";
    } catch (const ERegExpr& e) {
        EXPECT_EQ(e.message(), QStringLiteral("TRegExpr(comp): Invalid [] Range (pos 4)"));
    }
}

TEST(RegExprErrors, RunTimeErrors)
{
    TRegExpr empty;
    try {
        empty.exec(QByteArray("a"));
        FAIL() << "no error";
    } catch (const ERegExpr& e) {
        EXPECT_EQ(e.errorCode(), 1003);
        EXPECT_EQ(e.message(), QStringLiteral("TRegExpr(exec): Not Assigned Expression Property"));
    }

    // Eleven counted group repeats inside each other; ten are still fine.
    const auto nested = [](int depth) {
        return QByteArray(depth, '(') + "a" + QByteArray("){1}").repeated(depth);
    };
    TRegExpr ten;
    ten.setExpression(nested(10));
    EXPECT_TRUE(ten.exec(QByteArray("a")));
    TRegExpr eleven;
    eleven.setExpression(nested(11));
    try {
        eleven.exec(QByteArray("a"));
        FAIL() << "no error";
    } catch (const ERegExpr& e) {
        EXPECT_EQ(e.errorCode(), 1014);
        EXPECT_EQ(e.message(), QStringLiteral("TRegExpr(exec): Loop Stack Exceeded"));
    }
}

TEST(RegExprErrors, EveryCodeHasItsMessage)
{
    EXPECT_EQ(regexErrorMessage(0), QStringLiteral("No errors"));
    EXPECT_EQ(regexErrorMessage(1007), QStringLiteral("TRegExpr(exec): ExecNext Without Exec[Pos]"));
    EXPECT_EQ(regexErrorMessage(2000), QStringLiteral("TRegExpr(misc): Bad p-code imported"));
    EXPECT_EQ(regexErrorMessage(126).left(39), QStringLiteral("TRegExpr(comp): If you want take part i"));
    EXPECT_TRUE(regexErrorMessage(126).contains(QStringLiteral("'*?', '+?', '?\?'")));
    EXPECT_EQ(regexErrorMessage(999), QStringLiteral("Unknown error"));
    EXPECT_EQ(TRegExpr::errorMsg(113), QStringLiteral("TRegExpr(comp): Unmatched []"));
}
