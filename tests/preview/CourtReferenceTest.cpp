#include "ui/preview/CourtReference.h"

#include <gtest/gtest.h>

using namespace vorlin;

TEST(CourtReference, HeadingsBecomeReferences)
{
    struct Case {
        const char* heading;
        const char* reference;
    };
    const Case cases[] = {
        // The examples of a decision's heading.
        {"USNESENÍ\r\nNejvyššího soudu ze dne 27. 5. 2010, sp. zn. 25 Cdo 1234/2008",
         "usnesení Nejvyššího soudu sp. zn. 25 Cdo 1234/2008"},
        {"Rozsudek Nejvyššího soudu ze dne 3.4.2008,\r\nsp. zn. 21 Cdo 456/2007",
         "rozsudek Nejvyššího soudu sp. zn. 21 Cdo 456/2007"},
        {"Rozsudek Nejvyššího soudu sp. zn. 21 Cdo 456/2007 ze dne 3. 4. 2008",
         "rozsudek Nejvyššího soudu sp. zn. 21 Cdo 456/2007 ze dne 3. 4. 2008"},
        {"ROZSUDEK \r\n Nejvyššího   soudu", "rozsudek Nejvyššího soudu"},
        // The edges.
        {"USNESENÍM soudu", "usneseníM soudu"},
        {"usnesení a Usnesení a uSNESENÍ", "usnesení a usnesení a usnesení"},
        {"Rozsudek ze dne 1. 2. 2003 sp. zn. 1", "rozsudek sp. zn. 1"},
        {"Rozsudek Ze dne 1. 2. 2003, sp. zn. 1", "rozsudek Ze dne 1. 2. 2003, sp. zn. 1"},
        {"Rozsudek (sp. komora) ze dne 1. 2. 2003, sp. zn. 1", "rozsudek (sp. komora) ze dne 1. 2. 2003, sp. zn. 1"},
        {"a   b", "a b"},
        {"a \r\n b", "a b"},
        {"a\tb\nc\rd", "a\tb\nc\rd"},
        {"  a  ", " a "},
        {"Rozsudek Nejvyššího soudu\r\n", "rozsudek Nejvyššího soudu "},
        {"ROZSUDEKROZSUDEK", "rozsudekrozsudek"},
        {"", ""},
    };
    const QLocale czech(QLocale::Czech, QLocale::Czechia);
    for (const Case& c : cases)
        EXPECT_EQ(courtReference(QString::fromUtf8(c.heading), czech), QString::fromUtf8(c.reference)) << c.heading;
}

TEST(CourtReference, AccentedCapitalsMatchInTheUsersLocale)
{
    EXPECT_EQ(courtReference(QStringLiteral("USNESENÍ"), QLocale(QLocale::Czech, QLocale::Czechia)),
              QStringLiteral("usnesení"));
    // A letter whose capital is two letters does not make a match shift.
    EXPECT_EQ(courtReference(QStringLiteral("ß ROZSUDEK"), QLocale(QLocale::German, QLocale::Germany)),
              QStringLiteral("ß rozsudek"));
}
