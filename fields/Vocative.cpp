#include "fields/Vocative.h"

#include <QHash>
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
        {QStringLiteral("lev"), QStringLiteral("Lve")},
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

QString vocativeOfWord(const QString& word)
{
    if (word.size() < 2)
        return word;
    const QString lower = word.toLower();
    if (const auto found = exceptions().constFind(lower); found != exceptions().constEnd()) {
        // The table's form, in the word's own case of its first letter.
        QString form = *found;
        if (word.front().isLower())
            form[0] = form[0].toLower();
        return form;
    }
    // Adjectives, women's surnames and words ending in another vowel stay.
    if (endsWithAny(lower, {u"ý", u"í", u"á", u"e", u"ě", u"é", u"i", u"o", u"u", u"y", u"ů", u"ó", u"ú"}))
        return word;
    if (lower.endsWith(u'a'))
        return word.left(word.size() - 1) + u'o';
    // A movable "e" drops before "k": "Marek" → "Marku", "Hájek" → "Hájku".
    if (endsWithAny(lower, {u"ek", u"ěk"}) && word.size() >= 4 && !isVowel(word.at(word.size() - 3)))
        return withoutMovableE(word) + u'u';
    if (endsWithAny(lower, {u"k", u"h", u"g", u"ch"}))
        return word + u'u';
    // Names from Latin and Greek in "-is": "Alois" → "Aloisi".
    if (lower.endsWith(QStringLiteral("is")))
        return word + u'i';
    // "-ec": "Kadlec" → "Kadleci".
    if (endsWithAny(lower, {u"š", u"ž", u"č", u"ř", u"c", u"j", u"ť", u"ď", u"ň", u"x"}))
        return word + u'i';
    // "r" after a consonant softens: "Petr" → "Petře".
    if (lower.endsWith(u'r') && !isVowel(word.at(word.size() - 2)))
        return word.left(word.size() - 1) + QStringLiteral("ře");
    return word + u'e';
}

}  // namespace

QString vocativeOf(const QString& name)
{
    QStringList words = name.split(u' ', Qt::SkipEmptyParts);
    for (QString& word : words) {
        // Hyphenated names decline part by part ("Nováková-Dvořáková").
        QStringList parts = word.split(u'-');
        for (QString& part : parts)
            part = vocativeOfWord(part);
        word = parts.join(u'-');
    }
    return words.join(u' ');
}

}  // namespace vorlin::fields
