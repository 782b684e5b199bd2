#include "fields/NameCases.h"

#include "fields/PersonName.h"
#include "fields/Vocative.h"

#include <QRegularExpression>

#include <array>

namespace vorlin::fields {

namespace {

using Endings = std::array<const char16_t*, 6>;  // cases 2, 3, 4, 5 (unused), 6, 7

bool isVowel(QChar c)
{
    return QStringLiteral("aáeéěiíoóuúůyý").contains(c);
}

bool isSoft(QChar c)
{
    return QStringLiteral("cčšžřjťďň").contains(c);
}

// A stem and an ending as Czech spells them: "ň", "ď", "ť" before "e" or
// "i" lose the háček, "e" after them becomes "ě" ("Hrebeň" → "Hrebeně").
QString spelled(const QString& stem, const QString& ending)
{
    if (stem.isEmpty() || ending.isEmpty())
        return stem + ending;
    const QChar last = stem.back();
    const QChar plain = last == u'ň' ? u'n' : last == u'ď' ? u'd' : last == u'ť' ? u't' : QChar();
    if (plain.isNull())
        return stem + ending;
    if (ending.front() == u'e')
        return stem.left(stem.size() - 1) + plain + u'ě' + ending.mid(1);
    if (ending.front() == u'i' || ending.front() == u'ě')
        return stem.left(stem.size() - 1) + plain + ending;
    return stem + ending;
}

// The stem that a man's name declines from, without a movable "e":
// "Marek" → "mark", "Moravec" → "moravc", "Pavel" → "pavl".
QString mansStem(const QString& word)
{
    static const QHash<QString, QString> stems = {
        {QStringLiteral("pavel"), QStringLiteral("pavl")}, {QStringLiteral("karel"), QStringLiteral("karl")},
        {QStringLiteral("havel"), QStringLiteral("havl")}, {QStringLiteral("lev"), QStringLiteral("lv")},
        {QStringLiteral("švec"), QStringLiteral("ševc")}, {QStringLiteral("němec"), QStringLiteral("němc")},
        {QStringLiteral("otec"), QStringLiteral("otc")}, {QStringLiteral("vavřinec"), QStringLiteral("vavřinc")}};
    if (const auto found = stems.constFind(word); found != stems.constEnd())
        return *found;
    const qsizetype n = word.size();
    if (n >= 4 && (word.endsWith(QStringLiteral("ek")) || word.endsWith(QStringLiteral("ěk"))) && !isVowel(word.at(n - 3))) {
        QString stem = word.left(n - 2);
        if (word.at(n - 2) == u'ě') {
            const QChar before = stem.back();
            stem.back() = before == u'n' ? u'ň' : before == u'd' ? u'ď' : before == u't' ? u'ť' : before;
        }
        return stem + u'k';
    }
    if (n >= 5 && word.endsWith(QStringLiteral("ec")) && !isVowel(word.at(n - 3)) && isVowel(word.at(n - 4)))
        return word.left(n - 2) + u'c';
    return word;
}

// The ending of case 2, 3, 4, 6 or 7 of one lowercase word of a man's name.
QString mansWord(const QString& word, int grammaticalCase)
{
    const int at = grammaticalCase == 7 ? 5 : grammaticalCase == 6 ? 4 : grammaticalCase - 2;
    if (word.endsWith(u'ý')) {  // "Tichý": an adjective
        static const Endings adjective = {u"ého", u"ému", u"ého", u"", u"ém", u"ým"};
        return word.left(word.size() - 1) + QString::fromUtf16(adjective[size_t(at)]);
    }
    if (word.endsWith(u'í')) {  // "Jiří", "Krejčí"
        static const Endings soft = {u"ho", u"mu", u"ho", u"", u"m", u"m"};
        return word + QString::fromUtf16(soft[size_t(at)]);
    }
    if (word.endsWith(u'a')) {  // "Svoboda", "Kuba"
        static const Endings leader = {u"y", u"ovi", u"u", u"", u"ovi", u"ou"};
        const QString stem = word.left(word.size() - 1);
        const QString ending = QString::fromUtf16(leader[size_t(at)]);
        return !stem.isEmpty() && isSoft(stem.back()) && ending == QStringLiteral("y") ? stem + u'i' : stem + ending;
    }
    if (isVowel(word.back()))
        return word;  // "Hugo", "Bene", foreign "-i", "-u": as written
    const QString stem = mansStem(word);
    const bool soft = isSoft(stem.back()) || stem.back() == u'x';  // "Max" → "Maxe"
    static const Endings hard = {u"a", u"ovi", u"a", u"", u"ovi", u"em"};
    static const Endings softEndings = {u"e", u"ovi", u"e", u"", u"ovi", u"em"};
    return spelled(stem, QString::fromUtf16((soft ? softEndings : hard)[size_t(at)]));
}

// The dative and locative of a woman's name in -a: the consonant before it
// changes ("Lenka" → "Lence", "Věra" → "Věře", "Olga" → "Olze").
QString womansDative(const QString& stem)
{
    static const std::array<std::pair<const char16_t*, const char16_t*>, 6> changes = {{
        {u"ch", u"še"}, {u"k", u"ce"}, {u"h", u"ze"}, {u"g", u"ze"}, {u"r", u"ře"}, {u"ck", u"cce"}}};
    for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
        const QString from = QString::fromUtf16(it->first);
        if (stem.endsWith(from))
            return stem.left(stem.size() - from.size()) + QString::fromUtf16(it->second);
    }
    const QChar last = stem.back();
    if (QStringLiteral("dtnbpvfm").contains(last))
        return spelled(stem, QStringLiteral("ě"));
    return stem + u'e';
}

// Case 2, 3, 4, 6 or 7 of one lowercase word of a woman's name.
QString womansWord(const QString& word, int grammaticalCase)
{
    const int at = grammaticalCase == 7 ? 5 : grammaticalCase == 6 ? 4 : grammaticalCase - 2;
    if (word.endsWith(u'á')) {  // "Nováková", "Černá"
        static const Endings adjective = {u"é", u"é", u"ou", u"", u"é", u"ou"};
        return word.left(word.size() - 1) + QString::fromUtf16(adjective[size_t(at)]);
    }
    if (word.endsWith(QStringLiteral("ia"))) {  // "Viktoria" as "Viktorie"
        static const Endings rose = {u"ie", u"ii", u"ii", u"", u"ii", u"ií"};
        return word.left(word.size() - 1) + QString::fromUtf16(rose[size_t(at)]).mid(1);
    }
    if (word.endsWith(u'a')) {  // "Jana", "Lenka", "Nataša"
        const QString stem = word.left(word.size() - 1);
        if (stem.isEmpty())
            return word;
        switch (grammaticalCase) {
        case 2: return isSoft(stem.back()) ? spelled(stem, QStringLiteral("i")) : stem + u'y';
        case 3:
        case 6: return isSoft(stem.back()) ? spelled(stem, QStringLiteral("e")) : womansDative(stem);
        case 4: return stem + u'u';
        default: return stem + QStringLiteral("ou");
        }
    }
    if (word.endsWith(u'e') || word.endsWith(u'ě')) {  // "Marie", "Alice"
        static const Endings rose = {u"e", u"i", u"i", u"", u"i", u"í"};
        return word.left(word.size() - 1) + QString::fromUtf16(rose[size_t(at)]);
    }
    return word;  // "Dagmar", a foreign surname: as written
}

// Words of a company's name: its legal form, or a figure.
bool isCompany(const QString& name)
{
    static const QRegularExpression company(
        QStringLiteral("\\d|\\b(s\\.? ?r\\.? ?o|a\\.? ?s|spol|v\\.? ?o\\.? ?s|k\\.? ?s|z\\.? ?s|o\\.? ?p\\.? ?s|z\\.? ?ú|se|"
                       "družstvo|nadace|nadační|ústav|spolek|ministerstvo|úřad|soud|obec|město|kraj|fond|banka|"
                       "pojišťovna|komora|společnost|gmbh|ltd|inc|llc|ag)\\b"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return company.match(name).hasMatch();
}

}  // namespace

int caseOfOptions(const QString& options)
{
    static const QRegularExpression asked(QStringLiteral("^\\s*([1-7])\\.\\s*pád\\s*$"), QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch m = asked.match(options);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QString nameInCase(const QString& name, int grammaticalCase)
{
    if (grammaticalCase <= 1 || grammaticalCase > 7 || isCompany(name))
        return name;
    if (grammaticalCase == 5)
        return vocativeOf(name);
    const Gender gender = genderOfName(name);
    // A woman's surname that is not in the Czech form ("Jana Svoboda",
    // "Dagmar Koch") does not decline.
    const QStringList nameParts = nameWords(name);
    const QString keptSurname = gender == Gender::Female && nameParts.size() >= 2 && !nameParts.back().endsWith(u'á')
        ? nameParts.back()
        : QString();
    static const QRegularExpression words(QStringLiteral("\\S+"), QRegularExpression::UseUnicodePropertiesOption);
    QString result;
    qsizetype at = 0;
    for (const QRegularExpressionMatch& word : words.globalMatch(name)) {
        const bool kept = !keptSurname.isEmpty() && word.captured().contains(keptSurname);
        result += name.mid(at, word.capturedStart() - at)
            + (kept ? word.captured() : formOfNameWord(word.captured(), [&](const QString& lower) {
                  return gender == Gender::Female ? womansWord(lower, grammaticalCase) : mansWord(lower, grammaticalCase);
              }));
        at = word.capturedEnd();
    }
    return result + name.mid(at);
}

}  // namespace vorlin::fields
