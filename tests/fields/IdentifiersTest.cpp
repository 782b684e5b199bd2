// Identifiers typed into fields: written as documents write them, and
// checked.
#include "fields/Identifiers.h"

#include <gtest/gtest.h>

using namespace vorlin::fields;

namespace {

struct Case {
    const char* typed;
    const char* written;
    bool right;
};

void expectChecked(Checked (*check)(const QString&), std::initializer_list<Case> cases)
{
    for (const Case& c : cases) {
        const Checked checked = check(QString::fromUtf8(c.typed));
        EXPECT_EQ(checked.written, QString::fromUtf8(c.written)) << c.typed;
        EXPECT_EQ(checked.problem.isEmpty(), c.right) << c.typed << ": " << checked.problem.toStdString();
    }
}

}  // namespace

TEST(Identifiers, CompanyIdsByTheirCheckDigit)
{
    expectChecked(checkedCompanyId, {
                                        {"25596641", "25596641", true},
                                        {"27082440", "27082440", true},
                                        {"00006947", "00006947", true},
                                        {"6947", "00006947", true},     // padded
                                        {"270 82 440", "27082440", true},
                                        {"25596642", "25596642", false},  // the check digit
                                        {"27082441", "27082441", false},
                                        {"123456789", "123456789", false},
                                        {"2559664a", "2559664a", false},
                                        {"", "", false},
                                    });
    EXPECT_EQ(checkedCompanyId(QStringLiteral("25596642")).problem,
              QStringLiteral("Kontrolní číslice IČO nesedí (podle prvních sedmi číslic má být 1)."));
}

TEST(Identifiers, DataBoxIdsOfSevenCharacters)
{
    expectChecked(checkedDataBoxId, {
                                        {"abc2def", "abc2def", true},
                                        {" ABC2DEF ", "abc2def", true},
                                        {"abc2de", "abc2de", false},
                                        {"abc2defg", "abc2defg", false},
                                        {"abč2def", "abč2def", false},
                                    });
}

TEST(Identifiers, FileNumbersInOddSpacing)
{
    expectChecked(checkedFileNumber, {
                                         {"21Cdo1234/2019", "21 Cdo 1234/2019", true},
                                         {"21 cdo 1234 / 2019", "21 Cdo 1234/2019", true},
                                         {" 15  C  7/2024 ", "15 C 7/2024", true},
                                         {"30Co123/2020", "30 Co 123/2020", true},
                                         {"9As12/2021", "9 As 12/2021", true},
                                         {"KSPH38INS12345/2019", "KSPH 38 INS 12345/2019", true},
                                         {"ksbr 27 ins 1/2020", "KSBR 27 INS 1/2020", true},
                                         {"38 INS 12345/2019", "38 INS 12345/2019", true},
                                         {"I.ÚS1234/19", "I. ÚS 1234/19", true},
                                         {"pl. ús 12/19", "Pl. ÚS 12/19", true},
                                         {"21 Xyz 1234/2019", "21 Xyz 1234/2019", false},  // unknown register
                                         {"Cdo 1234", "Cdo 1234", false},
                                         {"1234/2019", "1234/2019", false},
                                     });
    EXPECT_EQ(checkedFileNumber(QStringLiteral("21 Xyz 1234/2019")).problem,
              QStringLiteral("Rejstřík „Xyz“ mezi známými rejstříky není."));
}
