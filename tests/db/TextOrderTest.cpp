#include "db/TextOrder.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>

using namespace vorlin::db;

namespace {

QStringList sorted(QStringList texts, const TextOrder& order)
{
    std::stable_sort(texts.begin(), texts.end(), [&](const QString& a, const QString& b) {
        return order.less(a.toUtf8().toStdString(), b.toUtf8().toStdString());
    });
    return texts;
}

const QStringList kMixed = {"Zeman", "šance", "chata", "Brno", "Čestné", "ahoj", "Hrad", "Dům", "Cena"};

}  // namespace

TEST(TextOrder, CzechIsAlphabeticalWithoutRegardToCase)
{
    EXPECT_EQ(sorted(kMixed, *czechTextOrder()),
              (QStringList{"ahoj", "Brno", "Cena", "Čestné", "Dům", "Hrad", "chata", "šance", "Zeman"}));
}

TEST(TextOrder, CzechLettersAccentsAndCase)
{
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"c", "č"},           {"cz", "č"},         {"h", "ch"},         {"hz", "ch"},       {"ch", "i"},
        {"Chrudim", "Ivan"},  {"CH", "i"},         {"r", "ř"},          {"rz", "ř"},        {"s", "š"},
        {"sz", "š"},          {"z", "ž"},          {"zz", "ž"},         {"a", "á"},         {"áa", "ab"},
        {"ě", "f"},           {"dvůr", "dvůr a"},  {"abc", "ABC"},      {"ABC", "abd"},     {"Adam", "adama"},
        {"1", "a"},           {"9", "a"},          {" a", "a"},         {"a b", "ab"},      {"", "a"},
        {"zz", "Ω"},          {"Novák", "Nováková"}, {"č", "ď"},        {"ů", "v"},         {"ci", "čh"},
    };
    const auto order = czechTextOrder();
    for (const Case& c : cases) {
        EXPECT_TRUE(order->less(c.before, c.after)) << c.before << " < " << c.after;
        EXPECT_FALSE(order->less(c.after, c.before)) << c.after << " !< " << c.before;
    }
    EXPECT_FALSE(order->less("Brno", "Brno"));
}

TEST(TextOrder, OtherLocalesUseTheirOwnCollation)
{
    // English knows no letter "ch" and keeps Č among the C words.
    EXPECT_EQ(sorted(kMixed, *TextOrder::forLocale(QLocale(QLocale::English, QLocale::UnitedKingdom))),
              (QStringList{"ahoj", "Brno", "Cena", "Čestné", "chata", "Dům", "Hrad", "šance", "Zeman"}));
    // The C locale still ignores case.
    EXPECT_TRUE(TextOrder::forLocale(QLocale::c())->less("ahoj", "Brno"));
}

TEST(TextOrder, BrokenUtf8StillOrders)
{
    const auto order = czechTextOrder();
    EXPECT_TRUE(order->less("a", std::string_view("a\xff", 2)));
    EXPECT_FALSE(order->less(std::string_view("a\xff", 2), std::string_view("a\xff", 2)));
}
