// Fields written in a snippet's body, found and filled in.
#include "fields/FilledFields.h"

#include <QElapsedTimer>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace vorlin::fields;

TEST(FieldSyntax, FieldsAreFoundWithTheirTypesAndFilledIn)
{
    struct Case {
        const char* text;
        const char* found;   // name/type/options of each field asked for, " ; " between
        const char* filled;  // each field by "<name>"
    };
    const Case cases[] = {
        {"bez polí", "", "bez polí"},
        {"V Praze dne {{datum}}.", "datum/datum/", "V Praze dne <datum>."},
        {"{{lhůta: 15 dnů od doručení}}", "lhůta/lhůta/15 dnů od doručení", "<lhůta>"},
        {"{{konec: lhůta 1 měsíc}}", "konec/lhůta/1 měsíc", "<konec>"},
        {"{{strana: žalobce|žalovaný}}", "strana/volba/žalobce|žalovaný", "<strana>"},
        {"{{Spisová značka}} a {{oslovení: Novák}}", "Spisová značka/spisová značka/ ; oslovení/oslovení/Novák",
         "<Spisová značka> a <oslovení>"},
        {"{{IČO}}, {{firma}}", "IČO/IČO/ ; firma/text/", "<IČO>, <firma>"},
        {"{{adresát: pan Novák}}", "adresát/text/pan Novák", "<adresát>"},
        // A literal "{{" is written twice; a lone one is text.
        {"{{{{datum}} a {{datum}}", "datum/datum/", "{{datum}} a <datum>"},
        {"{{ nic", "", "{{ nic"},
        {"{{a {{b}}", "b/text/", "{{a <b>"},
        {"{{}} a {{ : x}}", "", "{{}} a {{ : x}}"},
        {"řádek\n{{jméno}}\nkonec", "jméno/text/", "řádek\n<jméno>\nkonec"},
        // A field used twice is asked once, in the order of the body.
        {"{{b}} {{a}} {{B}} {{a}}", "b/text/ ; a/text/", "<b> <a> <B> <a>"},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        QStringList found;
        for (const Field& field : distinctFields(scanFields(text).fields))
            found << field.name + u'/' + fieldTypeName(field.type) + u'/' + field.options;
        EXPECT_EQ(found.join(QStringLiteral(" ; ")), QString::fromUtf8(c.found)) << c.text;
        EXPECT_EQ(filledText(text, [](const Field& field) { return u'<' + field.name + u'>'; }), QString::fromUtf8(c.filled))
            << c.text;
    }
}

// What the field dialog writes reads back as the same field, as short as can be.
TEST(FieldSyntax, AFieldWrittenByTheDialogReadsBackTheSame)
{
    struct Case {
        const char* name;
        FieldType type;
        const char* options;
        const char* written;
    };
    const Case cases[] = {
        {"datum", FieldType::Date, "", "{{datum}}"},
        {"datum", FieldType::Text, "", "{{datum: text}}"},
        {"adresát", FieldType::Text, "", "{{adresát}}"},
        {"adresát", FieldType::Text, "pan Novák", "{{adresát: pan Novák}}"},
        {"adresát", FieldType::Text, "a|b", "{{adresát: text a|b}}"},
        {"strana", FieldType::Choice, "žalobce|žalovaný", "{{strana: žalobce|žalovaný}}"},
        {"strana", FieldType::Choice, "", "{{strana: volba}}"},
        {"konec", FieldType::Deadline, "1 měsíc", "{{konec: lhůta 1 měsíc}}"},
        {"lhůta", FieldType::Deadline, "15 dnů od doručení", "{{lhůta: 15 dnů od doručení}}"},
        {"firma", FieldType::CompanyId, "", "{{firma: IČO}}"},
        {"oslovení", FieldType::Salutation, "Novák", "{{oslovení: Novák}}"},
    };
    for (const Case& c : cases) {
        const QString written = fieldText(QString::fromUtf8(c.name), c.type, QString::fromUtf8(c.options));
        EXPECT_EQ(written, QString::fromUtf8(c.written)) << c.name;
        const QList<Field> read = scanFields(written).fields;
        ASSERT_EQ(read.size(), 1) << c.written;
        EXPECT_EQ(read[0].type, c.type) << c.written;
        EXPECT_EQ(read[0].options, QString::fromUtf8(c.options)) << c.written;
    }
}

// A body a colleague may put into the office library, full of "{{" or of
// fields, is read in a time of its length, and fills in alike.
TEST(FieldSyntax, AHostileBodyIsReadAndFilledWithinABound)
{
    struct Case {
        const char* name;
        QString text;
        qsizetype fields;
        qsizetype distinct;
        qsizetype filledLength;  // each field by "<name>"
    };
    QString distinctNames;
    for (int i = 0; i < 20000; ++i)
        distinctNames += QStringLiteral("{{pole %1}}").arg(i);
    const Case cases[] = {
        {"100,000 unclosed fields before one closed", QStringLiteral("{{a").repeated(100000) + QStringLiteral("}}"), 1, 1,
         3 * 99999 + 3},
        {"300 KB of braces", QStringLiteral("{{").repeated(150000), 0, 0, 150000},
        {"60,000 times one field", QStringLiteral("{{a}}").repeated(60000), 60000, 1, 3 * 60000},
        {"20,000 fields of their own", distinctNames, 20000, 20000, distinctNames.size() - 2 * 20000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QElapsedTimer clock;
        clock.start();
        const FieldScan scan = scanFields(c.text);
        EXPECT_EQ(scan.fields.size(), c.fields);
        EXPECT_EQ(distinctFields(scan.fields).size(), c.distinct);
        const QString filled = filledText(c.text, [](const Field& field) { return u'<' + field.name + u'>'; });
        EXPECT_EQ(filled.size(), c.filledLength);
        QTextDocument body(c.text);
        fillFields(body, [](const Field& field) { return u'<' + field.name + u'>'; });
        EXPECT_EQ(body.toPlainText(), filled);
        EXPECT_LT(clock.elapsed(), 5000) << "the body held the program";
    }
}
