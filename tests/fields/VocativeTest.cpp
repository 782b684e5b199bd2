// Names in the vocative, measured on a list of common Czech names.
#include "fields/NameCases.h"
#include "fields/PersonName.h"
#include "fields/Vocative.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdio>

using namespace vorlin::fields;

TEST(Vocative, CommonCzechNamesAreAddressedRightAlmostAlways)
{
    QFile file(QStringLiteral(VORLIN_SOURCE_DIR "tests/fields/data/vocatives.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    int names = 0;
    QStringList wrong;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList pair = line.split(u'\t');
        ASSERT_EQ(pair.size(), 2) << line.toStdString();
        ++names;
        const QString got = vocativeOf(pair[0]);
        if (got != pair[1])
            wrong << pair[0] + QStringLiteral(" → ") + got + QStringLiteral(" (") + pair[1] + u')';
    }
    ASSERT_GE(names, 300);
    const double accuracy = 100.0 * (names - wrong.size()) / names;
    std::printf("vocative_accuracy_%d_names: %.1f %%\n", names, accuracy);
    for (const QString& miss : wrong)
        std::printf("  %s\n", qPrintable(miss));
    EXPECT_GE(accuracy, 95.0);
}

TEST(Vocative, EachWordOfANameAndItsCaseAsTyped)
{
    const std::pair<const char*, const char*> names[] = {
        {"Petr  Novák", "Petře Nováku"}, {"pavel", "pavle"}, {"", ""},
        {"Jana Nováková-Dvořáková", "Jano Nováková-Dvořáková"},
        // Titles, "ml." and abbreviations stay; punctuation stays around the word.
        {"JUDr. Jan Novák", "JUDr. Jane Nováku"}, {"Ing. Petr Svoboda, Ph.D.", "Ing. Petře Svobodo, Ph.D."},
        {"Jan Novák ml.", "Jane Nováku ml."}, {"prof. MUDr. Pavel Havel, DrSc.", "prof. MUDr. Pavle Havle, DrSc."},
        {"Mgr. et Mgr. Jana Dvořáková, LL.M.", "Mgr. et Mgr. Jano Dvořáková, LL.M."}, {"J. Novák", "J. Nováku"},
        {"(Petr)", "(Petře)"}, {"JUDr.\u00a0Jan\u00a0Novák", "JUDr.\u00a0Jane\u00a0Nováku"},
        // Capitals decline in capitals, with their háčky.
        {"Petr NOVÁK", "Petře NOVÁKU"}, {"ZDENĚK", "ZDEŇKU"}, {"JANA", "JANO"},
        // Surnames that decline otherwise; no "ňi".
        {"Moravec", "Moravče"}, {"Kadlec", "Kadleci"}, {"Král", "Králi"}, {"Hus", "Husi"}, {"Gross", "Grossi"},
        {"Hrebeň", "Hrebeni"}, {"Lev", "Leve"},
    };
    for (const auto& [name, vocative] : names)
        EXPECT_EQ(vocativeOf(QString::fromUtf8(name)), QString::fromUtf8(vocative)) << name;
}

// A person addressed by the highest title, and the gender the name shows.
TEST(PersonName, AddressedByTitleAsTheNameShowsTheGender)
{
    const std::pair<const char*, const char*> names[] = {
        {"JUDr. Jana Nováková", "paní doktorko"}, {"Mgr. Petr Svoboda", "pane magistře"},
        {"prof. JUDr. Pavel Havel, CSc.", "pane profesore"}, {"doc. Ing. Eva Malá, Ph.D.", "paní docentko"},
        {"Ing. Tomáš Marek", "pane inženýre"}, {"Mgr. et Mgr. Dagmar Koch", "paní magistro"},
        {"Petr Novák, Ph.D.", "pane doktore"}, {"Bc. Jan Moravec", "pane Moravče"}, {"Jana Nováková", "paní Nováková"},
        {"Nikol Černá", "paní Černá"}, {"Honza Tichý", "pane Tichý"}, {"Svoboda", "pane Svobodo"},
        {"Ingrid Bergmann", "paní Bergmann"}, {"MUDr. Lucie Kalousek", "paní doktorko"},
    };
    for (const auto& [name, address] : names)
        EXPECT_EQ(titledSalutation(QString::fromUtf8(name)), QString::fromUtf8(address)) << name;
}

// A person's name in each case, as "od", "s", "o" ask for it.
TEST(NameCases, EachCaseByTheGenderTheNameShows)
{
    struct Case {
        const char* name;
        int grammaticalCase;
        const char* declined;
    };
    const Case cases[] = {
        {"Jana Nováková", 2, "Jany Novákové"}, {"Jana Nováková", 3, "Janě Novákové"}, {"Jana Nováková", 4, "Janu Novákovou"},
        {"Jana Nováková", 5, "Jano Nováková"}, {"Jana Nováková", 6, "Janě Novákové"}, {"Jana Nováková", 7, "Janou Novákovou"},
        {"Petr Novák", 1, "Petr Novák"}, {"Petr Novák", 2, "Petra Nováka"}, {"Petr Novák", 3, "Petrovi Novákovi"},
        {"Petr Novák", 4, "Petra Nováka"}, {"Petr Novák", 6, "Petrovi Novákovi"}, {"Petr Novák", 7, "Petrem Novákem"},
        {"JUDr. Jan Moravec, Ph.D.", 2, "JUDr. Jana Moravce, Ph.D."}, {"Tomáš Marek", 3, "Tomášovi Markovi"},
        {"Zdeněk Svoboda", 7, "Zdeňkem Svobodou"}, {"Zdeněk Svoboda", 4, "Zdeňka Svobodu"}, {"Pavel Havel", 3, "Pavlovi Havlovi"},
        {"Jiří Tichý", 2, "Jiřího Tichého"}, {"Jiří Tichý", 7, "Jiřím Tichým"}, {"Ondřej Kadlec", 2, "Ondřeje Kadlece"},
        {"Lenka Malá", 3, "Lence Malé"}, {"Věra Černá", 6, "Věře Černé"}, {"Olga Hrubá", 3, "Olze Hrubé"},
        {"Marie Dvořáková", 2, "Marie Dvořákové"}, {"Marie Dvořáková", 7, "Marií Dvořákovou"},
        {"Nataša Horáčková", 2, "Nataši Horáčkové"}, {"Renata Kolářová", 3, "Renatě Kolářové"},
        {"PETR NOVÁK", 2, "PETRA NOVÁKA"}, {"Dagmar Koch", 2, "Dagmar Koch"}, {"Jana Svoboda", 2, "Jany Svoboda"},
        {"Novák a partneři, s.r.o.", 2, "Novák a partneři, s.r.o."}, {"Ministerstvo financí", 3, "Ministerstvo financí"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(nameInCase(QString::fromUtf8(c.name), c.grammaticalCase), QString::fromUtf8(c.declined))
            << c.name << " " << c.grammaticalCase;
    EXPECT_EQ(caseOfOptions(QStringLiteral("2. pád")), 2);
    EXPECT_EQ(caseOfOptions(QStringLiteral("8. pád")), 0);
}
