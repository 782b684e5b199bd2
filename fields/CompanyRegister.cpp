#include "fields/CompanyRegister.h"

#include "fields/FieldSyntax.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <array>

namespace vorlin::fields {

namespace {

// The legal forms a law office meets most, by the register's code.
constexpr std::array<std::pair<int, const char*>, 17> kLegalForms = {{
    {101, "Fyzická osoba podnikající dle živnostenského zákona"},
    {111, "Veřejná obchodní společnost"},
    {112, "Společnost s ručením omezeným"},
    {113, "Komanditní společnost"},
    {117, "Nadace"},
    {118, "Nadační fond"},
    {121, "Akciová společnost"},
    {141, "Obecně prospěšná společnost"},
    {145, "Společenství vlastníků jednotek"},
    {205, "Družstvo"},
    {301, "Státní podnik"},
    {325, "Organizační složka státu"},
    {331, "Příspěvková organizace"},
    {641, "Školská právnická osoba"},
    {706, "Spolek"},
    {801, "Obec"},
    {804, "Kraj"},
}};

// The registration courts by the code the register's file marks end with,
// named as a subject and after "vedená u".
struct RegistrationCourt {
    const char* code;
    const char* name;
    const char* ofName;
};
constexpr std::array<RegistrationCourt, 8> kCourts = {{
    {"MSPH", "Městský soud v Praze", "Městského soudu v Praze"},
    {"KSPH", "Krajský soud v Praze", "Krajského soudu v Praze"},
    {"KSCB", "Krajský soud v Českých Budějovicích", "Krajského soudu v Českých Budějovicích"},
    {"KSPL", "Krajský soud v Plzni", "Krajského soudu v Plzni"},
    {"KSUL", "Krajský soud v Ústí nad Labem", "Krajského soudu v Ústí nad Labem"},
    {"KSHK", "Krajský soud v Hradci Králové", "Krajského soudu v Hradci Králové"},
    {"KSBR", "Krajský soud v Brně", "Krajského soudu v Brně"},
    {"KSOS", "Krajský soud v Ostravě", "Krajského soudu v Ostravě"},
}};

QString legalFormName(const QString& code)
{
    bool number = false;
    const int value = code.toInt(&number);
    for (const auto& [each, name] : kLegalForms)
        if (number && each == value)
            return QString::fromUtf8(name);
    return {};
}

QString postCode(const QJsonValue& value)
{
    const QString digits = value.isDouble() ? QString::number(value.toInt()) : value.toString().remove(u' ');
    return digits.size() == 5 ? digits.left(3) + u' ' + digits.mid(3) : digits;
}

// The seat as one line: the register's own text, else made of its parts.
QString seatOf(const QJsonObject& seat)
{
    QString text = seat.value(QStringLiteral("textovaAdresa")).toString().simplified();
    if (!text.isEmpty()) {
        // The register writes the PSČ as one number ("11000 Praha 1"); a
        // letter writes it in two groups.
        static const QRegularExpression joinedPostCode(QStringLiteral("(^|,\\s*)(\\d{3})\\s?(\\d{2})\\s+(?=\\p{Lu})"));
        return text.replace(joinedPostCode, QStringLiteral("\\1\\2 \\3 "));
    }
    QString number = seat.value(QStringLiteral("cisloDomovni")).toVariant().toString();
    if (seat.contains(QStringLiteral("cisloOrientacni")))
        number += u'/' + seat.value(QStringLiteral("cisloOrientacni")).toVariant().toString()
                  + seat.value(QStringLiteral("cisloOrientacniPismeno")).toString();
    QString street = seat.value(QStringLiteral("nazevUlice")).toString();
    if (street.isEmpty())
        street = seat.value(QStringLiteral("nazevCastiObce")).toString();
    const QString town = seat.value(QStringLiteral("nazevObce")).toString();
    QStringList parts;
    if (!(street + number).isEmpty())
        parts << (street + u' ' + number).trimmed();
    if (!town.isEmpty())
        parts << (postCode(seat.value(QStringLiteral("psc"))) + u' ' + town).trimmed();
    return parts.join(QStringLiteral(", "));
}

// "C 12345/MSPH" → the court and "C 12345 vedená u Městského soudu v Praze".
void readFileMark(const QString& mark, CompanyRecord& company)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\S+)\\s+(\\d+)\\s*/\\s*(\\S+)\\s*$"));
    const QRegularExpressionMatch m = form.match(mark);
    if (!m.hasMatch())
        return;
    for (const RegistrationCourt& court : kCourts)
        if (m.captured(3).compare(QLatin1String(court.code), Qt::CaseInsensitive) == 0) {
            company.court = QString::fromUtf8(court.name);
            company.entry = QStringLiteral("%1 %2 vedená u %3").arg(m.captured(1), m.captured(2), QString::fromUtf8(court.ofName));
            return;
        }
}

}  // namespace

QString registerRecordUrl(const QString& registerAddress, const QString& companyId)
{
    QString base = registerAddress.trimmed();
    while (base.endsWith(u'/'))
        base.chop(1);
    return base + QStringLiteral("/ekonomicke-subjekty/") + companyId;
}

RegisterAnswer readRegisterAnswer(int httpStatus, const QByteArray& body, const QString& companyId)
{
    const QJsonDocument json = QJsonDocument::fromJson(body);
    const QJsonObject record = json.object();
    if (httpStatus == 404 || record.value(QStringLiteral("kod")).toString() == QStringLiteral("NENALEZENO"))
        return {std::nullopt, QStringLiteral("IČO %1 v registru ARES není.").arg(companyId)};
    const QString name = record.value(QStringLiteral("obchodniJmeno")).toString().simplified();
    if (httpStatus != 200 || name.isEmpty())
        return {std::nullopt, httpStatus == 200
                                  ? QStringLiteral("Registr ARES odpověděl nesrozumitelně; údaje vyplňte ručně.")
                                  : QStringLiteral("Registr ARES odpověděl chybou %1; údaje vyplňte ručně.").arg(httpStatus)};
    CompanyRecord company;
    company.companyId = companyId;
    company.name = name;
    company.seat = seatOf(record.value(QStringLiteral("sidlo")).toObject());
    company.legalForm = legalFormName(record.value(QStringLiteral("pravniForma")).toString());
    company.taxId = record.value(QStringLiteral("dic")).toString();
    for (const QJsonValue& more : record.value(QStringLiteral("dalsiUdaje")).toArray()) {
        const QString mark = more.toObject().value(QStringLiteral("spisovaZnacka")).toString();
        if (!mark.isEmpty()) {
            readFileMark(mark, company);
            break;
        }
    }
    return {company, {}};
}

std::optional<QString> registerValueFor(const CompanyRecord& company, const QString& fieldName)
{
    const std::array<std::pair<const char*, const QString*>, 6> values = {{
        {"firma", &company.name},
        {"sídlo", &company.seat},
        {"právní forma", &company.legalForm},
        {"DIČ", &company.taxId},
        {"rejstříkový soud", &company.court},
        {"zápis", &company.entry},
    }};
    for (const auto& [name, value] : values)
        if (sameFieldName(QString::fromUtf8(name), fieldName))
            return *value;
    return std::nullopt;
}

}  // namespace vorlin::fields
