// Identifiers typed into fields: written as documents write them, and
// checked.
#include "fields/Identifiers.h"

#include <gtest/gtest.h>

using namespace vorlin::fields;

TEST(Identifiers, WrittenAsDocumentsWriteThemAndChecked)
{
    struct Case {
        Checked (*check)(const QString&);
        const char* typed;
        const char* written;
        bool right;
    };
    const auto ico = checkedCompanyId;
    const auto box = checkedDataBoxId;
    const auto file = checkedFileNumber;
    const auto ecli = [](const QString& typed) { return checkedEcli(typed, 2026); };
    const Case cases[] = {
        // IČO by its check digit, shorter ones padded.
        {ico, "25596641", "25596641", true}, {ico, "27082440", "27082440", true}, {ico, "00006947", "00006947", true},
        {ico, "6947", "00006947", true}, {ico, "270 82 440", "27082440", true}, {ico, "25596642", "25596642", false},
        {ico, "27082441", "27082441", false}, {ico, "123456789", "123456789", false},
        {ico, "2559664a", "2559664a", false}, {ico, "", "", false},
        // Data boxes: seven lowercase letters and digits.
        {box, "abc2def", "abc2def", true}, {box, " ABC2DEF ", "abc2def", true}, {box, "abc2de", "abc2de", false},
        {box, "abc2defg", "abc2defg", false}, {box, "abč2def", "abč2def", false},
        // File numbers in odd spacing; an unknown register is said.
        {file, "21Cdo1234/2019", "21 Cdo 1234/2019", true}, {file, "21 cdo 1234 / 2019", "21 Cdo 1234/2019", true},
        {file, " 15  C  7/2024 ", "15 C 7/2024", true}, {file, "30Co123/2020", "30 Co 123/2020", true},
        {file, "9As12/2021", "9 As 12/2021", true}, {file, "KSPH38INS12345/2019", "KSPH 38 INS 12345/2019", true},
        {file, "ksbr 27 ins 1/2020", "KSBR 27 INS 1/2020", true}, {file, "38 INS 12345/2019", "38 INS 12345/2019", true},
        {file, "I.ÚS1234/19", "I. ÚS 1234/19", true}, {file, "pl. ús 12/19", "Pl. ÚS 12/19", true},
        {file, "21 Xyz 1234/2019", "21 Xyz 1234/2019", false}, {file, "Cdo 1234", "Cdo 1234", false},
        // Registers with diacritics or of several words, as courts and executors write them.
        {file, "29 NSČR 12/2024", "29 NSČR 12/2024", true}, {file, "29nsčr12/2024", "29 NSČR 12/2024", true},
        {file, "12 p a nc 123/2024", "12 P a Nc 123/2024", true}, {file, "12 Xy  Zz 1/2024", "12 Xy Zz 1/2024", false},
        {file, "5 Tz 12/2024", "5 Tz 12/2024", true}, {file, "2 Ans 3/2024", "2 Ans 3/2024", true},
        {file, "120 EX 1234/19", "120 EX 1234/19", true}, {file, "21\u00a0Cdo\u00a01234/2019", "21 Cdo 1234/2019", true},
        // A reference number with its page, named or not.
        {file, "10 C 123/2020-45", "10 C 123/2020-45", true}, {file, "č. j. 10 C 123/2020 - 45", "č. j. 10 C 123/2020-45", true},
        {file, "čj. 2 As 12/2021-30", "č. j. 2 As 12/2021-30", true}, {file, "Pl.ÚS-st.45/16", "Pl. ÚS-st. 45/16", true},
        // ECLI of the three top courts' decisions: the year of the decision, the ordinal (the page, or 1).
        {ecli, "21 Cdo 1234/2019, 2020", "ECLI:CZ:NS:2020:21.CDO.1234.2019.1", true},
        {ecli, "29 NSČR 12/2024, 2025, 2", "ECLI:CZ:NS:2025:29.NSCR.12.2024.2", true},
        {ecli, "9 As 12/2021-35, 2022", "ECLI:CZ:NSS:2022:9.AS.12.2021.35", true},
        {ecli, "IV. ÚS 1234/19, 2019", "ECLI:CZ:US:2019:4.US.1234.19.1", true},
        {ecli, "Pl. ÚS 12/19", "ECLI:CZ:US:2026:Pl.US.12.19.1", true},
        {ecli, "15 C 7/2024, 2025", "", false}, {ecli, "21 Cdo 1234/2019, 2018", "", false},
        {ecli, "21 Cdo 1234/2019, 2020, 0", "", false}, {ecli, "Pl. ÚS-st. 45/16", "", false},
        {file, "1234/2019", "1234/2019", false},
    };
    for (const Case& c : cases) {
        const Checked checked = c.check(QString::fromUtf8(c.typed));
        EXPECT_EQ(checked.written, QString::fromUtf8(c.written)) << c.typed;
        EXPECT_EQ(checked.problem.isEmpty(), c.right) << c.typed << ": " << checked.problem.toStdString();
    }
    EXPECT_EQ(checkedCompanyId(QStringLiteral("25596642")).problem,
              QStringLiteral("Kontrolní číslice IČO nesedí (podle prvních sedmi číslic má být 1)."));
    EXPECT_EQ(checkedFileNumber(QStringLiteral("21 Xyz 1234/2019")).problem,
              QStringLiteral("Rejstřík „Xyz“ mezi známými rejstříky není."));
}
