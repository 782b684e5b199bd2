#include "common/Error.h"
#include "common/Integer.h"

#include <gtest/gtest.h>

using namespace vorlin;

TEST(Integer, AcceptsTheProgramsForms)
{
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"12", 12},
        {"   12", 12},
        {"+7", 7},
        {"-7", -7},
        {"007", 7},
        {"$FF", 255},
        {"$ff", 255},
        {"0x1f", 31},
        {"0X1F", 31},
        {"-$10", -16},
        {"$00C08000", 0x00C08000},
        {"$FF000008", std::int32_t(0xFF000008u)},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", std::int32_t(-2147483647 - 1)},
        {"0x0", 0},
    };
    for (const Case& c : cases) {
        const auto value = tryParseInteger(QString::fromUtf8(c.text));
        ASSERT_TRUE(value.has_value()) << c.text;
        EXPECT_EQ(*value, c.value) << c.text;
    }
}

TEST(Integer, RejectsEverythingElse)
{
    for (const char* text : {"", " ", "-", "+", "$", "0x", "12 ", "1 2", "1.5", "yes", "2147483648",
                             "-2147483649", "$100000000", "0x1G", "\t12", "١٢"}) {
        EXPECT_FALSE(tryParseInteger(QString::fromUtf8(text)).has_value()) << text;
    }
}

TEST(Integer, FailureNamesTheText)
{
    try {
        parseInteger(u"abc");
        FAIL() << "no error";
    } catch (const ConvertError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'abc' is not a valid integer value"));
    }
}

TEST(Integer, EachCallerKnowsItsOwnHexadecimalPrefix)
{
    struct Case {
        const char* text;
        HexPrefix prefixes;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"0x1F", HexPrefix::ZeroX, 31},     {"$1F", HexPrefix::ZeroX, std::nullopt},
        {"$1F", HexPrefix::Dollar, 31},     {"0x1F", HexPrefix::Dollar, std::nullopt},
        {"0x1F", HexPrefix::Either, 31},    {"$1F", HexPrefix::Either, 31},
        {"-0x10", HexPrefix::ZeroX, -16},   {"12", HexPrefix::Dollar, 12},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tryParseInteger(QString::fromUtf8(c.text), c.prefixes), c.value) << c.text;
}

TEST(Integer, AFailureQuotesALongTextCutShort)
{
    const QString text(10000, u'7');
    try {
        parseInteger(text + u'x');
        FAIL() << "no error";
    } catch (const ConvertError& e) {
        EXPECT_EQ(e.message(), u'\'' + QString(59, u'7') + QStringLiteral("…' is not a valid integer value"));
    }
}
