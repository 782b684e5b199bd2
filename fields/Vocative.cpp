#include "fields/Vocative.h"

#include "fields/PersonName.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

namespace vorlin::fields {

namespace {

// Names that do not follow their ending's rule.
const QHash<QString, QString>& exceptions()
{
    static const QHash<QString, QString> table = {
        // Women's names ending in a consonant do not decline.
        {QStringLiteral("dagmar"), QStringLiteral("Dagmar")},
        {QStringLiteral("ester"), QStringLiteral("Ester")},
        {QStringLiteral("miriam"), QStringLiteral("Miriam")},
        {QStringLiteral("karin"), QStringLiteral("Karin")},
        {QStringLiteral("ingrid"), QStringLiteral("Ingrid")},
        {QStringLiteral("carmen"), QStringLiteral("Carmen")},
        {QStringLiteral("rút"), QStringLiteral("Rút")},
        {QStringLiteral("rut"), QStringLiteral("Rut")},
        {QStringLiteral("edit"), QStringLiteral("Edit")},
        {QStringLiteral("judit"), QStringLiteral("Judit")},
        {QStringLiteral("nikol"), QStringLiteral("Nikol")},
        {QStringLiteral("dolores"), QStringLiteral("Dolores")},
        {QStringLiteral("marlen"), QStringLiteral("Marlen")},
        {QStringLiteral("ivet"), QStringLiteral("Ivet")},
        {QStringLiteral("abigail"), QStringLiteral("Abigail")},
        {QStringLiteral("elizabeth"), QStringLiteral("Elizabeth")},
        // Men's names with a vowel that drops or changes.
        {QStringLiteral("pavel"), QStringLiteral("Pavle")},
        {QStringLiteral("karel"), QStringLiteral("Karle")},
        {QStringLiteral("havel"), QStringLiteral("Havle")},
        {QStringLiteral("hynek"), QStringLiteral("Hynku")},
        {QStringLiteral("kohout"), QStringLiteral("Kohoute")},
        {QStringLiteral("bůh"), QStringLiteral("Bože")},
        {QStringLiteral("ježek"), QStringLiteral("Ježku")},
        {QStringLiteral("švec"), QStringLiteral("Ševče")},
        {QStringLiteral("němec"), QStringLiteral("Němče")},
        {QStringLiteral("otec"), QStringLiteral("Otče")},
        {QStringLiteral("marius"), QStringLiteral("Mariusi")},
        {QStringLiteral("julius"), QStringLiteral("Julie")},
        {QStringLiteral("kristus"), QStringLiteral("Kriste")},
        {QStringLiteral("ježíš"), QStringLiteral("Ježíši")},
        {QStringLiteral("mráz"), QStringLiteral("Mrázi")},
        {QStringLiteral("kříž"), QStringLiteral("Kříži")},
        {QStringLiteral("tomas"), QStringLiteral("Tomasi")},
        {QStringLiteral("hans"), QStringLiteral("Hansi")},
        {QStringLiteral("klaus"), QStringLiteral("Klausi")},
        {QStringLiteral("lev"), QStringLiteral("Leve")},  // the name, not the animal ("lve")
        {QStringLiteral("král"), QStringLiteral("Králi")},
        {QStringLiteral("vavřinec"), QStringLiteral("Vavřinci")},
        {QStringLiteral("marcel"), QStringLiteral("Marceli")},
        {QStringLiteral("daniel"), QStringLiteral("Danieli")},
        {QStringLiteral("samuel"), QStringLiteral("Samueli")},
        {QStringLiteral("michael"), QStringLiteral("Michaeli")},
        {QStringLiteral("emanuel"), QStringLiteral("Emanueli")},
        {QStringLiteral("gabriel"), QStringLiteral("Gabrieli")},
        {QStringLiteral("rafael"), QStringLiteral("Rafaeli")},
        {QStringLiteral("ezechiel"), QStringLiteral("Ezechieli")},
        {QStringLiteral("nathaniel"), QStringLiteral("Nathanieli")},
    };
    return table;
}

bool endsWithAny(const QString& word, std::initializer_list<const char16_t*> endings)
{
    for (const char16_t* ending : endings)
        if (word.endsWith(QString::fromUtf16(ending)))
            return true;
    return false;
}

bool isVowel(QChar c)
{
    return QStringLiteral("aáeéěiíoóuúůyý").contains(c.toLower());
}

// The word without its last two letters when they are an "e" that drops
// before the final consonant ("Marek" → "Mark", "Zdeněk" → "Zdeňk").
QString withoutMovableE(const QString& word)
{
    const QString stem = word.left(word.size() - 2);
    const QChar last = word.back();
    if (word.at(word.size() - 2) == u'ě') {
        // "ě" softened the consonant before it: "ň", "ď", "ť" remain.
        const QChar before = stem.isEmpty() ? QChar() : stem.back();
        const QString softened = before == u'n' ? QStringLiteral("ň")
                               : before == u'd' ? QStringLiteral("ď")
                               : before == u't' ? QStringLiteral("ť")
                                                : QString(before);
        return stem.left(stem.size() - 1) + softened + last;
    }
    return stem + last;
}

// Before "i", "ň", "ď" and "ť" are written without their háček ("Hrebeň"
// → "Hrebeni").
QString withEnding(const QString& stem, const QString& ending)
{
    if (!ending.startsWith(u'i') || stem.isEmpty())
        return stem + ending;
    const QChar last = stem.back();
    const QChar plain = last == u'ň' ? u'n' : last == u'ď' ? u'd' : last == u'ť' ? u't' : last;
    return stem.left(stem.size() - 1) + plain + ending;
}

// A lowercase word in the vocative.
QString vocativeOfLowercase(const QString& word)
{
    if (word.size() < 2)
        return word;
    if (const auto found = exceptions().constFind(word); found != exceptions().constEnd())
        return found->toLower();
    // Adjectives, women's surnames and words ending in another vowel stay.
    if (endsWithAny(word, {u"ý", u"í", u"á", u"e", u"ě", u"é", u"i", u"o", u"u", u"y", u"ů", u"ó", u"ú"}))
        return word;
    if (word.endsWith(u'a'))
        return word.left(word.size() - 1) + u'o';
    // A movable "e" drops before "k": "Marek" → "Marku", "Hájek" → "Hájku".
    if (endsWithAny(word, {u"ek", u"ěk"}) && word.size() >= 4 && !isVowel(word.at(word.size() - 3)))
        return withoutMovableE(word) + u'u';
    if (endsWithAny(word, {u"k", u"h", u"g", u"ch"}) && !word.endsWith(QStringLiteral("sch")))
        return word + u'u';
    // "-ec" after a vowel and a consonant loses its "e": "Moravec" →
    // "Moravče", "Němec" → "Němče"; after two consonants it stays:
    // "Kadlec" → "Kadleci".
    if (word.endsWith(QStringLiteral("ec")) && word.size() >= 5 && !isVowel(word.at(word.size() - 3))
        && isVowel(word.at(word.size() - 4)))
        return word.left(word.size() - 2) + QStringLiteral("če");
    // Soft endings, and "-s", "-z" as in "Hus", "Gross", "Klaus",
    // "Alois", "Schultz", German "-sch": "Husi", "Aloisi".
    if (endsWithAny(word, {u"š", u"ž", u"č", u"ř", u"c", u"j", u"ť", u"ď", u"ň", u"x", u"s", u"z", u"sch"}))
        return withEnding(word, QStringLiteral("i"));
    // "r" after a consonant softens: "Petr" → "Petře".
    if (word.endsWith(u'r') && !isVowel(word.at(word.size() - 2)))
        return word.left(word.size() - 1) + QStringLiteral("ře");
    return word + u'e';
}

}  // namespace

QString vocativeOf(const QString& name)
{
    // Each word in its place, one space between (a no-break space, as
    // after a title, stays one).
    static const QRegularExpression words(QStringLiteral("\\S+"), QRegularExpression::UseUnicodePropertiesOption);
    QString result;
    qsizetype at = -1;
    for (const QRegularExpressionMatch& word : words.globalMatch(name)) {
        if (at >= 0) {
            const QStringView between = QStringView(name).mid(at, word.capturedStart() - at);
            const qsizetype noBreak = between.indexOf(QRegularExpression(QStringLiteral("[\\x{00A0}\\x{202F}]")));
            result += noBreak >= 0 ? between.at(noBreak) : QChar(u' ');
        }
        result += formOfNameWord(word.captured(), vocativeOfLowercase);
        at = word.capturedEnd();
    }
    return result;
}

}  // namespace vorlin::fields
