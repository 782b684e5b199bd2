#include "fields/FieldSyntax.h"

#include <QStringList>

#include <array>
#include <optional>
#include <utility>

namespace vorlin::fields {

namespace {

// Each type by the names a body may call it.
const std::array<std::pair<const char*, FieldType>, 11> kTypeNames = {{
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
    return field;
}

}  // namespace

QString fieldTypeName(FieldType type)
{
    for (const auto& [name, each] : kTypeNames)
        if (each == type)
            return type == FieldType::CompanyId ? QStringLiteral("IČO") : QString::fromUtf8(name);
    return {};
}

QList<FieldType> fieldTypes()
{
    return {FieldType::Text,       FieldType::Choice,    FieldType::Date,      FieldType::Deadline,
            FieldType::DataBoxDelivery, FieldType::FileNumber, FieldType::CompanyId, FieldType::DataBoxId,
            FieldType::Salutation};
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
    FieldScan scan;
    qsizetype at = 0;
    while ((at = text.indexOf(QStringLiteral("{{"), at)) >= 0) {
        if (text.mid(at, 4) == QStringLiteral("{{{{")) {
            scan.escapes << at;
            at += 4;
            continue;
        }
        const qsizetype end = text.indexOf(QStringLiteral("}}"), at + 2);
        const qsizetype nextOpen = text.indexOf(QStringLiteral("{{"), at + 2);
        if (end < 0)
            break;  // the rest is text
        if (nextOpen >= 0 && nextOpen < end) {  // "{{ … {{ … }}": the first is text
            at = nextOpen;
            continue;
        }
        Field field = fieldOf(text.mid(at + 2, end - at - 2));
        if (field.name.isEmpty()) {
            at = end + 2;
            continue;
        }
        field.start = at;
        field.length = end + 2 - at;
        scan.fields << field;
        at = end + 2;
    }
    return scan;
}

bool sameFieldName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QList<Field> distinctFields(const QList<Field>& fields)
{
    QList<Field> distinct;
    for (const Field& field : fields) {
        bool seen = false;
        for (const Field& earlier : distinct)
            seen = seen || sameFieldName(earlier.name, field.name);
        if (!seen)
            distinct << field;
    }
    return distinct;
}

}  // namespace vorlin::fields
