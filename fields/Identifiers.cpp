#include "fields/Identifiers.h"

#include <QRegularExpression>

#include <array>

namespace vorlin::fields {

namespace {

// The registers of the courts' file numbers, as they are written: general
// and regional courts (civil, commercial, criminal, guardianship,
// enforcement, insolvency), administrative senates of the regional courts,
// the Supreme Court and the Supreme Administrative Court.
constexpr std::array<const char*, 65> kRegisters = {
    "C", "Co", "Cdo", "Cdon", "Cm", "Cmo", "ICm", "ICdo", "Nc", "Ncd", "Nco", "Ncu", "Nd", "EC", "ECm",
    "EVC", "E", "EXE", "Ro", "Rod", "P", "Nt", "Ntd", "L", "D", "Dd", "T", "To", "Tdo", "Tdn", "Tm",
    "Tmo", "Kt", "Rt", "Td", "Tcu", "Tvo", "INS", "Odo", "Odon", "A", "Ad", "Af", "Az", "Ca",
    "Cad", "Cao", "Na", "As", "Ads", "Afs", "Azs", "Aps", "Ars", "Ao", "Komp", "Konf", "Nad", "Pst", "Ksz",
    "Kse", "Ksm", "Kss", "Pl", "Zp",
};

QString knownRegister(const QString& typed)
{
    for (const char* each : kRegisters)
        if (typed.compare(QLatin1String(each), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(each);
    return {};
}

QString withoutSpaces(const QString& typed)
{
    QString compact;
    for (const QChar c : typed)
        if (!c.isSpace())
            compact += c;
    return compact;
}

}  // namespace

Checked checkedCompanyId(const QString& typed)
{
    const QString digits = withoutSpaces(typed);
    if (digits.isEmpty())
        return {digits, QStringLiteral("IČO chybí.")};
    for (const QChar c : digits)
        if (c < u'0' || c > u'9')
            return {digits, QStringLiteral("IČO smí obsahovat jen číslice.")};
    if (digits.size() > 8)
        return {digits, QStringLiteral("IČO má nejvýše 8 číslic.")};
    const QString written = digits.rightJustified(8, u'0');
    int sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += written.at(i).digitValue() * (8 - i);
    const int check = (11 - sum % 11) % 10;
    if (written.at(7).digitValue() != check)
        return {written, QStringLiteral("Kontrolní číslice IČO nesedí (podle prvních sedmi číslic má být %1).").arg(check)};
    return {written, {}};
}

Checked checkedDataBoxId(const QString& typed)
{
    const QString written = withoutSpaces(typed).toLower();
    static const QRegularExpression form(QStringLiteral("^[a-z0-9]{7}$"));
    if (!form.match(written).hasMatch())
        return {written, QStringLiteral("Identifikátor datové schránky má 7 znaků, jen písmena bez diakritiky a číslice.")};
    return {written, {}};
}

Checked checkedFileNumber(const QString& typed)
{
    const QString compact = withoutSpaces(typed);
    static const QRegularExpression constitutional(
        QStringLiteral("^(IV|III|II|I|Pl)\\.?ÚS(\\d+)/(\\d{2}|\\d{4})$"), QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = constitutional.match(compact); m.hasMatch()) {
        QString senate = m.captured(1).toUpper();
        if (senate == QStringLiteral("PL"))
            senate = QStringLiteral("Pl");
        return {QStringLiteral("%1. ÚS %2/%3").arg(senate, m.captured(2), m.captured(3)), {}};
    }
    static const QRegularExpression insolvency(QStringLiteral("^([A-Za-z]{4})(\\d+)(INS)(\\d+)/(\\d{4})$"),
                                               QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = insolvency.match(compact); m.hasMatch())
        return {QStringLiteral("%1 %2 INS %3/%4").arg(m.captured(1).toUpper(), m.captured(2), m.captured(4), m.captured(5)),
                {}};
    static const QRegularExpression general(QStringLiteral("^(\\d+)?([A-Za-z]+)(\\d+)/(\\d{2}|\\d{4})$"));
    const QRegularExpressionMatch m = general.match(compact);
    if (!m.hasMatch())
        return {typed.simplified(),
                QStringLiteral("Spisová značka má podobu senát, rejstřík, číslo/rok (například 21 Cdo 1234/2019).")};
    const QString known = knownRegister(m.captured(2));
    const QString written = (m.captured(1).isEmpty() ? QString() : m.captured(1) + u' ')
        + (known.isEmpty() ? m.captured(2) : known) + u' ' + m.captured(3) + u'/' + m.captured(4);
    if (known.isEmpty())
        return {written, QStringLiteral("Rejstřík „%1“ mezi známými rejstříky není.").arg(m.captured(2))};
    return {written, {}};
}

}  // namespace vorlin::fields
