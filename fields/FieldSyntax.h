#pragma once

#include <QList>
#include <QString>

namespace vorlin::fields {

// What a field asks for and how its value is checked and written.
enum class FieldType {
    Text,             // "text": anything typed
    Choice,           // "volba": one of the options "a|b|c"
    Date,             // "datum": today or a given date
    Deadline,         // "lhůta": a period from an event
    DataBoxDelivery,  // "doručení": the deemed delivery into a data box
    FileNumber,       // "spisová značka"
    CompanyId,        // "IČO"
    DataBoxId,        // "datová schránka"
    Salutation,       // "oslovení": a name in the vocative
    Ecli,             // "ECLI": a decision's European identifier from its file number
};

// The type's name as the body writes it ("spisová značka").
QString fieldTypeName(FieldType type);
// Every type, in the order a chooser offers them.
QList<FieldType> fieldTypes();

// A field as the body writes it, as short as it reads back the same:
// "{{datum}}", "{{strana: žalobce|žalovaný}}", "{{konec: lhůta 1 měsíc}}".
// A name holds no ":", "{" or "}".
QString fieldText(const QString& name, FieldType type, const QString& options);

// A field in a snippet's text: "{{name}}" or "{{name:type options}}". A
// field named as a type is of that type ("{{datum}}", "{{lhůta: 15 dnů od
// doručení}}"); options with "|" make a choice ("{{strana: žalobce|
// žalovaný}}"); other options are a text's default. "{{{{" is a literal
// "{{". A "{{" without its "}}" is text. "{{jméno: 2. pád}}" writes the
// field "jméno" in that case; "{{strana: žalobce|žalobkyně podle jméno}}"
// chooses the man's or the woman's word by the gender the name shows.
struct Field {
    QString name;
    FieldType type = FieldType::Text;
    QString options;
    int nameCase = 0;   // the case a person's name is written in here, 2 to 7; 0 as typed
    QString genderOf;   // the field whose name's gender chooses between the two options
    qsizetype start = 0;   // in the text, at the first "{"
    qsizetype length = 0;  // up to the last "}"
};

// A text's fields and its literal "{{" pairs, in the text's order.
struct FieldScan {
    QList<Field> fields;
    QList<qsizetype> escapes;  // where a "{{{{" stands for "{{"
};
FieldScan scanFields(const QString& text);

// The fields to ask for: each name once (letter case aside), in the order
// of their first place.
QList<Field> distinctFields(const QList<Field>& fields);

bool sameFieldName(const QString& a, const QString& b);
// What names the same field have in common (letter case folded).
QString fieldNameKey(const QString& name);

}  // namespace vorlin::fields
