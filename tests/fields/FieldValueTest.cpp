// What a field's line makes of what is typed into it.
#include "fields/FieldValue.h"
#include "fields/RememberedValues.h"
#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace vorlin::fields;

TEST(FieldValue, EachTypeWritesItsValueAndSaysWhatIsWrong)
{
    const QDate today(2026, 12, 7);
    struct Case {
        const char* body;   // one field
        const char* typed;
        const char* value;
        bool right;
        const char* explanation;
    };
    const Case cases[] = {
        {"{{adresát}}", "pan Novák", "pan Novák", true, ""},
        {"{{strana: žalobce|žalovaný}}", "Žalovaný", "žalovaný", true, ""},
        {"{{strana: žalobce|žalovaný}}", "svědek", "svědek", false, ""},
        {"{{datum}}", "", "7. 12. 2026", true, ""},
        {"{{datum}}", "3.4.2026", "3. 4. 2026", true, ""},
        {"{{datum: slovy}}", "dnes", "7. prosince 2026", true, ""},
        {"{{datum: 07.12.2026}}", "1. května 2026", "01.05.2026", true, ""},
        {"{{datum}}", "31. 2. 2026", "31. 2. 2026", false, ""},
        // Dates as courts write them: no-break spaces, two-digit years, no year.
        {"{{datum}}", "3.\u00a012.\u00a02026", "3. 12. 2026", true, ""},
        {"{{datum}}", "3.\u202f12.\u202f2026", "3. 12. 2026", true, ""},
        {"{{datum}}", "3.12.26", "3. 12. 2026", true, ""},
        {"{{datum}}", "3. 12. 56", "3. 12. 1956", true, ""},
        {"{{datum}}", "3. 12.", "3. 12. 2026", true, ""},
        {"{{datum}}", "3.\u00a0prosince", "3. 12. 2026", true, ""},
        {"{{datum}}", "12/3/2026", "12/3/2026", false, ""},
        {"{{datum}}", "3 12 2026", "3 12 2026", false, ""},
        {"{{lhůta: 99999999999 dnů od doručení}}", "3. 12. 2026", "3. 12. 2026", false, ""},
        {"{{lhůta: 101 let od doručení}}", "3. 12. 2026", "3. 12. 2026", false, ""},
        {"{{lhůta: 15 dnů od doručení}}", "3. 12. 2026", "18. 12. 2026", true,
         "15 dnů od 3. 12. 2026 → 18. 12. 2026"},
        {"{{konec: lhůta 1 měsíc od právní moci slovy}}", "31. 1. 2026", "2. března 2026", true,
         "1 měsíc od 31. 1. 2026 → 28. 2. 2026 (sobota) → 2. 3. 2026"},
        {"{{lhůta}}", "3. 12. 2026", "3. 12. 2026", false, ""},
        {"{{doručení}}", "2. 12. 2026", "12. 12. 2026", true,
         "doručeno do schránky 2. 12. 2026, desátý den 12. 12. 2026 – připadá na sobotu"},
        {"{{spisová značka}}", "21Cdo1234/2019", "21 Cdo 1234/2019", true, ""},
        {"{{IČO}}", "6947", "00006947", true, ""},
        {"{{IČO}}", "25596642", "25596642", false, ""},
        {"{{datová schránka}}", "ABC2DEF", "abc2def", true, ""},
        {"{{oslovení}}", "Petr Novák", "Petře Nováku", true, "Petr Novák → Petře Nováku"},
        {"{{oslovení: Novák}}", "Nováku", "Nováku", true, ""},
        {"{{oslovení: titulem}}", "JUDr. Jana Nováková", "paní doktorko", true, "JUDr. Jana Nováková → paní doktorko"},
        {"{{oslovení: titulem}}", "Petr Novák", "pane Nováku", true, "Petr Novák → pane Nováku"},
    };
    for (const Case& c : cases) {
        const QList<Field> fields = scanFields(QString::fromUtf8(c.body)).fields;
        ASSERT_EQ(fields.size(), 1) << c.body;
        const Evaluated evaluated = evaluateField(fields[0], QString::fromUtf8(c.typed), today);
        EXPECT_EQ(evaluated.value, QString::fromUtf8(c.value)) << c.body << " " << c.typed;
        EXPECT_EQ(evaluated.problem.isEmpty(), c.right) << c.body << " " << c.typed;
        EXPECT_EQ(evaluated.explanation, QString::fromUtf8(c.explanation)) << c.body << " " << c.typed;
    }
}

TEST(FieldValue, ALineStartsRememberedOrWithTheFieldsOwnDefault)
{
    const QDate today(2026, 12, 7);
    struct Case {
        const char* body;
        const char* remembered;  // null: nothing remembered
        const char* starting;
        const char* caption;
    };
    const Case cases[] = {
        {"{{adresát: pan Novák}}", nullptr, "pan Novák", "adresát"},
        {"{{adresát: pan Novák}}", "paní Nová", "paní Nová", "adresát"},
        {"{{strana: žalobce|žalovaný}}", nullptr, "žalobce", "strana"},
        {"{{datum}}", "1. 1. 2020", "7. 12. 2026", "datum"},  // dates start today
        {"{{lhůta: 8 dnů od doručení}}", nullptr, "7. 12. 2026", "Den doručení"},
        {"{{doručení}}", nullptr, "7. 12. 2026", "Dodáno do schránky"},
        {"{{oslovení: Petr}}", nullptr, "Petře", "oslovení"},
        {"{{oslovení: Dagmar}}", "Dášo", "Dášo", "oslovení"},  // the user's correction
    };
    for (const Case& c : cases) {
        const Field field = scanFields(QString::fromUtf8(c.body)).fields.value(0);
        const std::optional<QString> remembered =
            c.remembered ? std::optional(QString::fromUtf8(c.remembered)) : std::nullopt;
        EXPECT_EQ(startingInput(field, remembered, today), QString::fromUtf8(c.starting)) << c.body;
        EXPECT_EQ(inputCaption(field), QString::fromUtf8(c.caption)) << c.body;
    }
}

// The last values outlive the run; a damaged, oversized or linked file loses
// only itself, and a link in its place is replaced, never written through.
TEST(FieldValue, LastValuesAreKeptPerUserAcrossRuns)
{
    const QByteArray elsewhere = R"({"adresát": "cizí"})";
    const std::pair<const char*, QByteArray> found[] = {
        {"pole.json", "{ nedopsáno"},
        {"pole.json", "{\"adresát\": \"" + QByteArray(RememberedValues::kLargestFile, 'x') + "\"}"},
        {"jinde.json", elsewhere},  // pole.json a link to it
    };
    for (const auto& [name, content] : found) {
        vorlin::test::TempDir dir;
        const QString file = dir.file(QStringLiteral("pole.json"));
        dir.write(QString::fromUtf8(name), content);
        QFile::link(dir.file(QStringLiteral("jinde.json")), file);
        RememberedValues values(file);
        EXPECT_FALSE(values.value(RememberedValues::fieldKey(QStringLiteral("adresát")))) << name;
        EXPECT_TRUE(values.keep({{RememberedValues::fieldKey(QStringLiteral("Adresát")), QStringLiteral("pan Novák")},
                                 {RememberedValues::salutationKey(QStringLiteral("Dagmar")), QStringLiteral("Dášo")}}));
        const RememberedValues again(file);
        EXPECT_EQ(again.value(RememberedValues::fieldKey(QStringLiteral("ADRESÁT"))), QStringLiteral("pan Novák"));
        EXPECT_EQ(again.value(RememberedValues::salutationKey(QStringLiteral(" dagmar "))), QStringLiteral("Dášo"));
        EXPECT_FALSE(QFileInfo(file).isSymLink());
        EXPECT_EQ(dir.read(QStringLiteral("jinde.json")), QByteArray(name) == "jinde.json" ? elsewhere : QByteArray());
    }
}
