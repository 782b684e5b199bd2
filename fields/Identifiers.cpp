#include "fields/Identifiers.h"

#include <QRegularExpression>

#include <array>

namespace vorlin::fields {

namespace {

// The registers of the courts' file numbers, as they are written. District
// and regional courts: civil, commercial, payment orders, guardianship,
// probate, enforcement, criminal, detention and insolvency ones, the
// regional courts' administrative senates; high courts' appeals; the
// Supreme Court's; the Supreme Administrative Court's; executors' "EX".
constexpr const char* kRegisters[] = {
    // District and regional courts, civil and commercial.
    "C", "EC", "ECm", "EVC", "Cm", "ICm", "INS", "Nc", "Ncp", "Ncr", "Nct", "Ncu", "Nd", "Sm", "U", "Ro", "Rod",
    "Co", "Cmo", "ICo", "Ncd", "Nco", "Cul", "Sd", "Spr",
    // Guardianship, probate, enforcement, detention, executors.
    "P", "P a Nc", "Pu", "L", "D", "Dd", "E", "EXE", "EX",
    // Criminal.
    "T", "Tm", "Nt", "Ntm", "Td", "Zt", "Rt", "Kt", "To", "Tmo", "Ntd", "Tdo", "Tz", "Tcu", "Tdn", "Tvo", "Pzo",
    "Ntz",
    // The Supreme Court's civil and insolvency registers.
    "Cdo", "Cdon", "ICdo", "Odo", "Odon", "NSČR", "Zp", "Cz",
    // Regional courts' administrative senates.
    "A", "Ad", "Af", "Az", "Ca", "Cad", "Cao", "Na",
    // The Supreme Administrative Court.
    "As", "Ads", "Afs", "Azs", "Aps", "Ars", "Ans", "Ao", "Aos", "Komp", "Konf", "Nad", "Nao", "Pst", "Ksz", "Kse",
    "Ksm", "Kss", "Kseo", "Vol", "Obn", "Pl",
};

QString knownRegister(const QString& typed)
{
    for (const char* each : kRegisters)
        if (typed.compare(QString::fromUtf8(each), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(each);
    return {};
}

// Every kind of space as one plain space, none at the ends.
QString withPlainSpaces(const QString& typed)
{
    QString text = typed;
    for (QChar& c : text)
        if (c.isSpace())
            c = u' ';
    return text.simplified();
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
    QString text = withPlainSpaces(typed);
    // A reference number named as such keeps its name: "č. j.", "sp. zn.".
    static const QRegularExpression named(QStringLiteral("^(č\\.? ?j\\.|sp\\. ?zn\\.) ?"),
                                          QRegularExpression::CaseInsensitiveOption);
    QString prefix;
    if (const QRegularExpressionMatch m = named.match(text); m.hasMatch()) {
        prefix = m.captured(1).startsWith(u'č', Qt::CaseInsensitive) ? QStringLiteral("č. j. ") : QStringLiteral("sp. zn. ");
        text = text.mid(m.capturedEnd());
    }
    // The number's suffix after the year: the page of the file ("-45").
    static const QRegularExpression suffixed(QStringLiteral("^(.*/ ?\\d+) ?- ?(\\d+)$"));
    QString suffix;
    if (const QRegularExpressionMatch m = suffixed.match(text); m.hasMatch()) {
        suffix = u'-' + m.captured(2);
        text = m.captured(1);
    }
    static const QRegularExpression constitutional(
        QStringLiteral("^(IV|III|II|I|Pl)\\.? ?ÚS(-st\\.?)? ?(\\d+) ?/ ?(\\d{2}|\\d{4})$"), QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = constitutional.match(text); m.hasMatch()) {
        QString senate = m.captured(1).toUpper();
        if (senate == QStringLiteral("PL"))
            senate = QStringLiteral("Pl");
        const QString opinion = m.captured(2).isEmpty() ? QString() : QStringLiteral("-st.");
        return {prefix + QStringLiteral("%1. ÚS%2 %3/%4").arg(senate, opinion, m.captured(3), m.captured(4)) + suffix, {}};
    }
    static const QRegularExpression insolvency(QStringLiteral("^([A-Za-z]{4}) ?(\\d+) ?(INS) ?(\\d+) ?/ ?(\\d{4})$"),
                                               QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = insolvency.match(text); m.hasMatch())
        return {prefix + QStringLiteral("%1 %2 INS %3/%4").arg(m.captured(1).toUpper(), m.captured(2), m.captured(4), m.captured(5))
                    + suffix,
                {}};
    // Senate, register (a word or several: "P a Nc"), number/year.
    static const QRegularExpression general(QStringLiteral("^(\\d+)? ?(\\p{L}+(?: \\p{L}+)*) ?(\\d+) ?/ ?(\\d{2}|\\d{4})$"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch m = general.match(text);
    if (!m.hasMatch())
        return {withPlainSpaces(typed),
                QStringLiteral("Spisová značka má podobu senát, rejstřík, číslo/rok (například 21 Cdo 1234/2019).")};
    const QString known = knownRegister(m.captured(2));
    const QString written = prefix + (m.captured(1).isEmpty() ? QString() : m.captured(1) + u' ')
        + (known.isEmpty() ? m.captured(2) : known) + u' ' + m.captured(3) + u'/' + m.captured(4) + suffix;
    if (known.isEmpty())
        return {written, QStringLiteral("Rejstřík „%1“ mezi známými rejstříky není.").arg(m.captured(2))};
    return {written, {}};
}

namespace {

// The Supreme Court's and the Supreme Administrative Court's registers.
bool isSupremeCourtRegister(const QString& reg)
{
    static const QStringList registers = {
        QStringLiteral("Cdo"), QStringLiteral("Cdon"), QStringLiteral("ICdo"), QStringLiteral("NSČR"), QStringLiteral("Odo"),
        QStringLiteral("Odon"), QStringLiteral("Tdo"), QStringLiteral("Tz"), QStringLiteral("Tcu"), QStringLiteral("Tdn"),
        QStringLiteral("Tvo"), QStringLiteral("Pzo"), QStringLiteral("Zp"), QStringLiteral("Cz")};
    return registers.contains(reg);
}

bool isSupremeAdministrativeRegister(const QString& reg)
{
    static const QStringList registers = {
        QStringLiteral("As"), QStringLiteral("Ads"), QStringLiteral("Afs"), QStringLiteral("Azs"), QStringLiteral("Aps"),
        QStringLiteral("Ars"), QStringLiteral("Ans"), QStringLiteral("Ao"), QStringLiteral("Aos"), QStringLiteral("Komp"),
        QStringLiteral("Konf"), QStringLiteral("Nad"), QStringLiteral("Nao"), QStringLiteral("Pst"), QStringLiteral("Ksz"),
        QStringLiteral("Kse"), QStringLiteral("Ksm"), QStringLiteral("Kss"), QStringLiteral("Kseo"), QStringLiteral("Vol"),
        QStringLiteral("Obn")};
    return registers.contains(reg);
}

// ECLI's letters: capitals without diacritics ("NSČR" → "NSCR").
QString ecliLetters(const QString& text)
{
    QString plain;
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c;
    return plain.toUpper();
}

}  // namespace

Checked checkedEcli(const QString& typed, int thisYear)
{
    const QStringList parts = typed.split(QRegularExpression(QStringLiteral("[,;]")));
    const Checked file = checkedFileNumber(parts.value(0));
    if (!file.problem.isEmpty())
        return {{}, file.problem};
    static const QRegularExpression constitutional(QStringLiteral("^(IV|III|II|I|Pl)\\. ÚS(-st\\.)? (\\d+)/(\\d+)(?:-(\\d+))?$"));
    static const QRegularExpression general(QStringLiteral("^(?:č\\. j\\. |sp\\. zn\\. )?(\\d+) (\\S+) (\\d+)/(\\d+)(?:-(\\d+))?$"));
    QString court;
    QString identity;  // senate, register, number, the file's year
    QString page;
    if (const QRegularExpressionMatch m = constitutional.match(file.written); m.hasMatch()) {
        if (!m.captured(2).isEmpty())
            return {{}, QStringLiteral("ECLI se sestavuje pro rozhodnutí, ne pro stanovisko pléna.")};
        static const QStringList senates = {QStringLiteral("I"), QStringLiteral("II"), QStringLiteral("III"), QStringLiteral("IV")};
        const qsizetype senate = senates.indexOf(m.captured(1));
        court = QStringLiteral("US");
        identity = (senate < 0 ? QStringLiteral("Pl") : QString::number(senate + 1)) + QStringLiteral(".US.") + m.captured(3)
            + u'.' + m.captured(4);
        page = m.captured(5);
    } else if (const QRegularExpressionMatch g = general.match(file.written);
               g.hasMatch() && (isSupremeCourtRegister(g.captured(2)) || isSupremeAdministrativeRegister(g.captured(2)))) {
        court = isSupremeCourtRegister(g.captured(2)) ? QStringLiteral("NS") : QStringLiteral("NSS");
        identity = g.captured(1) + u'.' + ecliLetters(g.captured(2)) + u'.' + g.captured(3) + u'.' + g.captured(4);
        page = g.captured(5);
    } else {
        return {{}, QStringLiteral("ECLI se sestaví jen pro rozhodnutí Nejvyššího soudu, Nejvyššího správního soudu "
                                   "a Ústavního soudu (například 21 Cdo 1234/2019).")};
    }
    const QString yearTyped = parts.value(1).trimmed();
    bool number = yearTyped.isEmpty();
    const int year = yearTyped.isEmpty() ? thisYear : yearTyped.toInt(&number);
    const QString fileYear = identity.section(u'.', -1);
    const int filed = fileYear.size() == 2 ? 2000 + fileYear.toInt() - (2000 + fileYear.toInt() > thisYear ? 100 : 0)
                                           : fileYear.toInt();
    if (!number || year < filed || year > thisYear)
        return {{}, QStringLiteral("Rok rozhodnutí má být mezi rokem spisu (%1) a letošním.").arg(filed)};
    const QString ordinalTyped = parts.value(2).trimmed();
    const QString ordinalText = !ordinalTyped.isEmpty() ? ordinalTyped : !page.isEmpty() ? page : QStringLiteral("1");
    const int ordinal = ordinalText.toInt(&number);
    if (!number || ordinal < 1)
        return {{}, QStringLiteral("Pořadí rozhodnutí je celé číslo od 1.")};
    return {QStringLiteral("ECLI:CZ:%1:%2:%3.%4").arg(court).arg(year).arg(identity).arg(ordinal), {}};
}

}  // namespace vorlin::fields
