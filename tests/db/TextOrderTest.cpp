#include "db/TextOrder.h"

#include <QStringList>

#include <unicode/ucol.h>

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

// The own Czech order beside ICU's Czech collation over names and titles as
// they are written (typographic quotes, foreign letters): every pair is
// ordered alike but for the difference noted, which is the own order's.
TEST(TextOrder, CzechAgreesWithIcu)
{
    const QStringList names = {
        "„Smlouva o dílo“", "“Citace”", "\"Dohoda\"", "(Příloha)", "– pomlčka", "§ 5", "1. patro", "10 000 Kč",
        "Adam", "Ádám", "adam", "Čapek", "Cihla", "Chata", "Hrad", "Ivan", "Łukasz", "Lukáš", "Lucie", "Ludvík",
        "Mazal", "Dvořák", "Đoković", "Dolejš", "Dušek", "Øresund", "Olomouc", "Oskar", "Ötztal", "Æbeltoft",
        "Aero", "Afrika", "Ad", "Straße", "Strasse", "Strauss", "Strnad", "Šimon", "Řehoř", "Žatec", "Zlín",
        "Œuvre", "Oeser", "Ohře", "Ørsted", "Łódź", "Lodž", "Lžín",
    };
    UErrorCode status = U_ZERO_ERROR;
    UCollator* icu = ucol_open("cs", &status);
    ASSERT_TRUE(U_SUCCESS(status));
    const auto own = czechTextOrder();
    QStringList differ;
    for (const QString& a : names)
        for (const QString& b : names) {
            const bool icuLess = ucol_strcoll(icu, reinterpret_cast<const UChar*>(a.utf16()), int(a.size()),
                                              reinterpret_cast<const UChar*>(b.utf16()), int(b.size())) == UCOL_LESS;
            // Meant: among punctuation the own order puts ASCII marks first,
            // each group by code, where ICU has an order of marks of its own.
            if (!a[0].isLetterOrNumber() && !b[0].isLetterOrNumber())
                continue;
            if (icuLess != own->less(a.toUtf8().toStdString(), b.toUtf8().toStdString()) && icuLess)
                differ << a + QStringLiteral(" < ") + b;
        }
    ucol_close(icu);
    EXPECT_EQ(differ, QStringList()) << differ.join(u'\n').toStdString();
}
