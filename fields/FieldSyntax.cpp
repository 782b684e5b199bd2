#include "fields/FieldSyntax.h"

#include "fields/NameCases.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>

namespace vorlin::fields {

namespace {

// Each type by the names a body may call it.
const std::array<std::pair<const char*, FieldType>, 12> kTypeNames = {{
    {"text", FieldType::Text},
    {"volba", FieldType::Choice},
    {"datum", FieldType::Date},
    {"lhůta", FieldType::Deadline},
    {"doručení do datové schránky", FieldType::DataBoxDelivery},
    {"doručení", FieldType::DataBoxDelivery},
    {"spisová značka", FieldType::FileNumber},
    {"ičo", FieldType::CompanyId},
    {"datová schránka", FieldType::DataBoxId},
    {"oslovení", FieldType::Salutation},
    {"osloveni", FieldType::Salutation},
    {"ecli", FieldType::Ecli},
}};

// The type a name stands for, and how much of the text it took.
std::optional<std::pair<FieldType, qsizetype>> leadingType(const QString& text)
{
    for (const auto& [name, type] : kTypeNames) {
        const QString typeName = QString::fromUtf8(name);
        if (text.startsWith(typeName, Qt::CaseInsensitive)
            && (text.size() == typeName.size() || text.at(typeName.size()).isSpace()))
            return std::pair{type, typeName.size()};
    }
    return std::nullopt;
}

Field fieldOf(const QString& inside)
{
    Field field;
    const qsizetype colon = inside.indexOf(u':');
    field.name = (colon < 0 ? inside : inside.left(colon)).trimmed();
    const QString rest = colon < 0 ? QString() : inside.mid(colon + 1).trimmed();
    if (const auto typed = leadingType(rest)) {
        field.type = typed->first;
        field.options = rest.mid(typed->second).trimmed();
    } else if (const auto named = leadingType(field.name); named && named->second == field.name.size()) {
        field.type = named->first;
        field.options = rest;
    } else {
        field.type = rest.contains(u'|') ? FieldType::Choice : FieldType::Text;
        field.options = rest;
    }
    if (field.type == FieldType::Text && (field.nameCase = caseOfOptions(field.options)) > 0)
        field.options.clear();
    static const QRegularExpression byGender(QStringLiteral("^([^|]*\\|[^|]*?)\\s+podle\\s+(\\S.*)$"),
                                             QRegularExpression::UseUnicodePropertiesOption);
    if (field.type == FieldType::Choice) {
        if (const QRegularExpressionMatch m = byGender.match(field.options); m.hasMatch()) {
            field.options = m.captured(1).trimmed();
            field.genderOf = m.captured(2).trimmed();
        }
    }
    return field;
}

}  // namespace

QString fieldTypeName(FieldType type)
{
    for (const auto& [name, each] : kTypeNames)
        if (each == type)
            return type == FieldType::CompanyId ? QStringLiteral("IČO")
                 : type == FieldType::Ecli    ? QStringLiteral("ECLI")
                                              : QString::fromUtf8(name);
    return {};
}

QList<FieldType> fieldTypes()
{
    return {FieldType::Text,       FieldType::Choice,    FieldType::Date,      FieldType::Deadline,
            FieldType::DataBoxDelivery, FieldType::FileNumber, FieldType::CompanyId, FieldType::DataBoxId,
            FieldType::Salutation, FieldType::Ecli};
}

QString fieldText(const QString& name, FieldType type, const QString& options)
{
    const QString trimmedName = name.trimmed();
    const QString trimmedOptions = options.trimmed();
    QStringList candidates;
    if (trimmedOptions.isEmpty())
        candidates << QStringLiteral("{{%1}}").arg(trimmedName);
    else
        candidates << QStringLiteral("{{%1: %2}}").arg(trimmedName, trimmedOptions);
    candidates << QStringLiteral("{{%1: %2 %3}}").arg(trimmedName, fieldTypeName(type), trimmedOptions).replace(
        QStringLiteral(" }}"), QStringLiteral("}}"));
    for (const QString& candidate : candidates) {
        const QList<Field> read = scanFields(candidate).fields;
        if (read.size() == 1 && read[0].type == type && read[0].options == trimmedOptions && read[0].name == trimmedName)
            return candidate;
    }
    return candidates.last();
}

FieldScan scanFields(const QString& text)
{
    // One pass: the next "}}" is looked for again only once the scan has
    // gone past the one found, so a text of many "{{" costs its length.
    FieldScan scan;
    const QStringView whole(text);
    qsizetype end = -1;  // the first "}}" at or after the place last looked from
    qsizetype at = 0;
    while ((at = whole.indexOf(u"{{", at)) >= 0) {
        if (whole.sliced(at).startsWith(u"{{{{")) {
            scan.escapes << at;
            at += 4;
            continue;
        }
        if (end >= 0 && end < at + 2)
            end = -1;
        if (end < 0)
            end = whole.indexOf(u"}}", at + 2);
        if (end < 0)
            break;  // the rest is text
        // "{{ … {{ … }}": the first is text.
        if (const qsizetype nextOpen = whole.sliced(at + 2, end - at - 2).indexOf(u"{{"); nextOpen >= 0) {
            at += 2 + nextOpen;
            continue;
        }
        Field field = fieldOf(text.mid(at + 2, end - at - 2));
        field.start = at;
        field.length = end + 2 - at;
        at = end + 2;
        if (field.name.isEmpty())
            continue;
        scan.fields << field;
    }
    return scan;
}

bool sameFieldName(const QString& a, const QString& b)
{
    return fieldNameKey(a) == fieldNameKey(b);
}

QString fieldNameKey(const QString& name)
{
    return name.toCaseFolded();
}

QList<Field> distinctFields(const QList<Field>& fields)
{
    QList<Field> distinct;
    QSet<QString> seen;
    for (const Field& field : fields)
        if (const QString key = fieldNameKey(field.name); !seen.contains(key)) {
            seen.insert(key);
            distinct << field;
        }
    return distinct;
}

}  // namespace vorlin::fields
