// Fields written in a snippet's body, found and filled in.
#include "fields/FilledFields.h"

#include <QElapsedTimer>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace vorlin::fields;

TEST(FieldSyntax, FieldsAreFoundWithTheirTypesAndFilledIn)
{
    struct Case {
        QString text;
        QString found;   // name/type/options of each field asked for, " ; " between
        QString filled;  // each field by "<name>"
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
        // A colleague's body full of "{{" or of fields: read and filled in a time of its length.
        {QStringLiteral("{{a").repeated(100000) + "}}", "a/text/", QStringLiteral("{{a").repeated(99999) + "<a>"},
        {QStringLiteral("{{").repeated(150000), "", QStringLiteral("{{").repeated(75000)},
        {QStringLiteral("{{a}}").repeated(60000), "a/text/", QStringLiteral("<a>").repeated(60000)},
    };
    const auto named = [](const Field& field) { return u'<' + field.name + u'>'; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.left(40).toStdString());
        QElapsedTimer clock;
        clock.start();
        QStringList found;
        for (const Field& field : distinctFields(scanFields(c.text).fields))
            found << field.name + u'/' + fieldTypeName(field.type) + u'/' + field.options;
        EXPECT_EQ(found.join(QStringLiteral(" ; ")), c.found);
        EXPECT_EQ(filledText(c.text, named), c.filled);
        QTextDocument body(c.text);  // as the form fills a formatted body
        fillFields(body, named);
        EXPECT_EQ(body.toPlainText(), c.filled);
        EXPECT_LT(clock.elapsed(), 5000) << "the body held the program";
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
