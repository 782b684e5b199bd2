#include "fields/FieldValue.h"

#include "fields/CzechCalendar.h"
#include "fields/Deadline.h"
#include "fields/Identifiers.h"
#include "fields/PersonName.h"
#include "fields/Vocative.h"

#include <QRegularExpression>
#include <QStringList>

#include <array>

namespace vorlin::fields {

namespace {

// How a field writes its dates: as its options show it.
CzechDateForm dateFormOf(const QString& options)
{
    if (options.contains(QStringLiteral("slovy"), Qt::CaseInsensitive))
        return CzechDateForm::Words;
    for (int month = 1; month <= 12; ++month)
        if (options.contains(czechMonthInGenitive(month), Qt::CaseInsensitive))
            return CzechDateForm::Words;
    static const QRegularExpression padded(QStringLiteral("\\b\\d\\d\\.\\d\\d\\.\\d{4}\\b"));
    if (padded.match(options).hasMatch())
        return CzechDateForm::Padded;
    return CzechDateForm::Spaced;
}

// A deadline's options: "15 dnů od doručení" → the period and the event.
struct DeadlineOptions {
    std::optional<Period> period;
    QString event;
    QString problem;  // a length no deadline has
};

// The longest period of each unit that a deadline may run: a hundred years.
constexpr int longestPeriod(PeriodUnit unit)
{
    switch (unit) {
    case PeriodUnit::Days: return 36525;
    case PeriodUnit::Weeks: return 5218;
    case PeriodUnit::Months: return 1200;
    case PeriodUnit::Years: return 100;
    }
    return 0;
}
DeadlineOptions deadlineOptionsOf(const QString& options)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d+)\\s*(\\S+)(?:\\s+od\\s+(.+?))?\\s*$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = form.match(options);
    if (!m.hasMatch())
        return {};
    const QString unit = m.captured(2).toLower();
    static const std::array<std::pair<const char*, PeriodUnit>, 13> kUnits = {{
        {"den", PeriodUnit::Days}, {"dny", PeriodUnit::Days}, {"dnů", PeriodUnit::Days}, {"dní", PeriodUnit::Days},
        {"týden", PeriodUnit::Weeks}, {"týdny", PeriodUnit::Weeks}, {"týdnů", PeriodUnit::Weeks},
        {"měsíc", PeriodUnit::Months}, {"měsíce", PeriodUnit::Months}, {"měsíců", PeriodUnit::Months},
        {"rok", PeriodUnit::Years}, {"roky", PeriodUnit::Years}, {"let", PeriodUnit::Years},
    }};
    for (const auto& [word, each] : kUnits) {
        if (unit != QString::fromUtf8(word))
            continue;
        bool number = false;
        const qlonglong length = m.captured(1).toLongLong(&number);
        if (!number || length > longestPeriod(each))
            return {std::nullopt, {}, QStringLiteral("Lhůta %1 %2 je delší než sto let; opravte délku v textu vorlinu.")
                                          .arg(m.captured(1), m.captured(2))};
        return {Period{int(length), each},
                m.captured(3).remove(QRegularExpression(QStringLiteral("\\s*\\bslovy\\b"))).trimmed(), {}};
    }
    return {};
}

Evaluated dateValue(const QString& typed, const QDate& today, const std::function<Evaluated(const QDate&)>& of)
{
    const std::optional<QDate> date = typedDate(typed, today);
    if (!date && typed.contains(u'/'))
        return {typed, QStringLiteral("Datum s lomítky je nejednoznačné (den i měsíc mohou být prohozené); "
                                      "pište jako 7. 12. 2026."), {}};
    if (!date)
        return {typed, QStringLiteral("Datum pište jako 7. 12. 2026."), {}};
    return of(*date);
}

}  // namespace

namespace {

constexpr QStringView kByTitle = u"titulem";

bool addressesByTitle(const Field& field)
{
    return field.options.startsWith(kByTitle, Qt::CaseInsensitive)
        && (field.options.size() == kByTitle.size() || field.options.at(kByTitle.size()).isSpace());
}

}  // namespace

QString salutationName(const Field& field)
{
    return (addressesByTitle(field) ? field.options.mid(kByTitle.size()) : field.options).trimmed();
}

QString salutationOf(const Field& field, const QString& name)
{
    return addressesByTitle(field) ? titledSalutation(name) : vocativeOf(name);
}

QString salutationCorrectionKey(const Field& field, const QString& name)
{
    return (addressesByTitle(field) ? kByTitle.toString() + u' ' : QString()) + name.simplified();
}

QStringList fieldChoices(const Field& field)
{
    QStringList choices;
    for (const QString& choice : field.options.split(u'|'))
        if (!choice.trimmed().isEmpty())
            choices << choice.trimmed();
    return choices;
}

namespace {

// Every kind of space as a plain one: Writer and Word put a no-break
// space after the day's and the month's dot.
QString withPlainSpaces(const QString& typed)
{
    QString text = typed;
    for (QChar& c : text)
        if (c.isSpace())
            c = u' ';
    return text.trimmed().toLower();
}

// A year as typed: two digits are this century's up to twenty years
// ahead, the last century's beyond; none is the current year.
int typedYear(const QString& digits, const QDate& today)
{
    if (digits.isEmpty())
        return today.year();
    const int year = digits.toInt();
    if (digits.size() != 2)
        return year;
    const int century = today.year() / 100 * 100;
    return century + year <= today.year() + 20 ? century + year : century - 100 + year;
}

}  // namespace

std::optional<QDate> typedDate(const QString& typed, const QDate& today)
{
    const QString text = withPlainSpaces(typed);
    if (text.isEmpty() || text == QStringLiteral("dnes"))
        return today;
    static const QRegularExpression numeric(QStringLiteral("^(\\d{1,2})\\. *(\\d{1,2})(?:\\. *(\\d{2}|\\d{4})|\\.?)$"));
    if (const QRegularExpressionMatch m = numeric.match(text); m.hasMatch()) {
        const QDate date(typedYear(m.captured(3), today), m.captured(2).toInt(), m.captured(1).toInt());
        return date.isValid() ? std::optional(date) : std::nullopt;
    }
    static const QRegularExpression words(QStringLiteral("^(\\d{1,2})\\. *(\\S+)(?: +(\\d{2}|\\d{4}))?$"));
    if (const QRegularExpressionMatch m = words.match(text); m.hasMatch()) {
        const int month = monthOfCzechGenitive(m.captured(2));
        const QDate date(typedYear(m.captured(3), today), month, m.captured(1).toInt());
        return month > 0 && date.isValid() ? std::optional(date) : std::nullopt;
    }
    const QDate iso = QDate::fromString(text, Qt::ISODate);
    return iso.isValid() ? std::optional(iso) : std::nullopt;
}

Evaluated evaluateField(const Field& field, const QString& typed, const QDate& today)
{
    switch (field.type) {
    case FieldType::Text:
        return {typed, {}, {}};
    case FieldType::Choice: {
        const QStringList choices = fieldChoices(field);
        for (const QString& choice : choices)
            if (choice.compare(typed.trimmed(), Qt::CaseInsensitive) == 0)
                return {choice, {}, {}};
        return {typed, QStringLiteral("Vyberte jednu z možností: %1.").arg(choices.join(QStringLiteral(", "))), {}};
    }
    case FieldType::Date:
        return dateValue(typed, today, [&](const QDate& date) {
            return Evaluated{czechDate(date, dateFormOf(field.options)), {}, {}};
        });
    case FieldType::Deadline: {
        const DeadlineOptions options = deadlineOptionsOf(field.options);
        if (!options.problem.isEmpty())
            return {typed, options.problem, {}};
        if (!options.period)
            return {typed, QStringLiteral("Lhůta potřebuje délku, například {{lhůta: 15 dnů od doručení}}."), {}};
        return dateValue(typed, today, [&](const QDate& event) {
            const Deadline deadline = deadlineFrom(event, *options.period);
            return Evaluated{czechDate(deadline.end, dateFormOf(field.options)), {}, deadline.explanation};
        });
    }
    case FieldType::DataBoxDelivery:
        return dateValue(typed, today, [&](const QDate& delivered) {
            const DeemedDelivery deemed = deemedDeliveryFrom(delivered);
            const QString date = czechDate(deemed.date, dateFormOf(field.options));
            return Evaluated{date, {},
                             QStringLiteral("doručeno do schránky %1, desátý den %2%3")
                                 .arg(czechDate(delivered), date,
                                      deemed.note.isEmpty() ? QString() : QStringLiteral(" – ") + deemed.note)};
        });
    case FieldType::FileNumber: {
        const Checked checked = checkedFileNumber(typed);
        return {checked.written, checked.problem, {}};
    }
    case FieldType::CompanyId: {
        const Checked checked = checkedCompanyId(typed);
        return {checked.written, checked.problem, {}};
    }
    case FieldType::DataBoxId: {
        const Checked checked = checkedDataBoxId(typed);
        return {checked.written, checked.problem, {}};
    }
    case FieldType::Ecli: {
        const Checked checked = checkedEcli(typed, today.year());
        return {checked.written, checked.problem, {}};
    }
    case FieldType::Salutation: {
        // A field that names the person starts with the salutation, which
        // the user may correct; one without a name takes the name typed.
        if (!salutationName(field).isEmpty())
            return {typed, {}, {}};
        const QString salutation = salutationOf(field, typed);
        return {salutation, {}, typed.trimmed().isEmpty() ? QString() : typed.simplified() + QStringLiteral(" → ") + salutation};
    }
    }
    return {typed, {}, {}};
}

QString startingInput(const Field& field, const std::optional<QString>& remembered, const QDate& today)
{
    switch (field.type) {
    case FieldType::Date:
    case FieldType::Deadline:
    case FieldType::DataBoxDelivery:
        return czechDate(today);  // dates start today
    case FieldType::Choice:
        if (remembered)
            return *remembered;
        return fieldChoices(field).value(0);
    case FieldType::Salutation:
        // The name in the vocative: a remembered correction, else the rules'.
        if (remembered)
            return *remembered;
        return salutationName(field).isEmpty() ? QString() : salutationOf(field, salutationName(field));
    default:
        return remembered ? *remembered : field.options;
    }
}

QString inputCaption(const Field& field)
{
    if (field.type == FieldType::Deadline) {
        const QString event = deadlineOptionsOf(field.options).event;
        if (!event.isEmpty())
            return QStringLiteral("Den ") + event;
    }
    if (field.type == FieldType::DataBoxDelivery)
        return QStringLiteral("Dodáno do schránky");
    if (field.type == FieldType::Ecli)
        return QStringLiteral("Spisová značka rozhodnutí");
    return field.name;
}

}  // namespace vorlin::fields
