#include "fields/PersonName.h"

#include "fields/Vocative.h"

#include <QRegularExpression>
#include <QSet>

#include <array>

namespace vorlin::fields {

namespace {

QString withoutDots(const QString& word)
{
    QString key = word.toLower();
    key.remove(u'.');
    return key;
}

// Women's given names that end otherwise than in -a or -e.
bool isWomansNameWithoutEnding(const QString& lower)
{
    static const QSet<QString> names = {
        QStringLiteral("dagmar"), QStringLiteral("ester"), QStringLiteral("miriam"), QStringLiteral("karin"),
        QStringLiteral("ingrid"), QStringLiteral("carmen"), QStringLiteral("rút"), QStringLiteral("rut"),
        QStringLiteral("edit"), QStringLiteral("judit"), QStringLiteral("nikol"), QStringLiteral("dolores"),
        QStringLiteral("marlen"), QStringLiteral("ivet"), QStringLiteral("abigail"), QStringLiteral("elizabeth"),
        QStringLiteral("ruth"), QStringLiteral("kim"), QStringLiteral("lili"), QStringLiteral("noemi"),
        QStringLiteral("sofi"), QStringLiteral("natali"), QStringLiteral("ivon")};
    return names.contains(lower);
}

// The commonest women's given names in -a, by which a lone word is told
// from a man's surname in -a ("Jana", but "Svoboda").
bool isCommonWomansName(const QString& lower)
{
    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (const char16_t* name :
             {u"jana", u"eva", u"hana", u"anna", u"lenka", u"kateřina", u"věra", u"alena", u"petra", u"veronika",
              u"martina", u"tereza", u"michaela", u"jaroslava", u"ivana", u"monika", u"zdeňka", u"jitka",
              u"barbora", u"helena", u"ludmila", u"kristýna", u"markéta", u"dana", u"vlasta", u"marcela",
              u"božena", u"pavla", u"andrea", u"irena", u"klára", u"miroslava", u"simona", u"denisa", u"eliška",
              u"renata", u"adéla", u"karolína", u"iveta", u"zuzana", u"olga", u"blanka", u"radka", u"gabriela",
              u"alžběta", u"milada", u"šárka", u"daniela", u"romana", u"magdalena", u"magdaléna", u"libuše",
              u"stanislava", u"růžena", u"jiřina", u"jarmila", u"marta", u"kamila", u"lada", u"sabina", u"nela",
              u"ema", u"emma", u"anežka", u"vendula", u"lucia", u"viktoria", u"nataša", u"žaneta", u"ida",
              u"zina", u"liliana", u"amanda", u"olina", u"sylva", u"silvie", u"regína", u"hedvika", u"bohumila",
              u"vladimíra", u"drahomíra", u"zdenka", u"dita", u"dorota", u"matylda", u"ilona", u"jolana",
              u"radana", u"isabela", u"hermína", u"taťána", u"tatiana", u"soňa", u"naděžda", u"lýdie", u"marie"})
            set.insert(QString::fromUtf16(name));
        return set;
    }();
    return names.contains(lower);
}

// Men's given names in -a or -e.
bool isMansNameWithEnding(const QString& lower)
{
    static const QSet<QString> names = {
        QStringLiteral("honza"), QStringLiteral("kuba"), QStringLiteral("jirka"), QStringLiteral("franta"),
        QStringLiteral("pepa"), QStringLiteral("olda"), QStringLiteral("ota"), QStringLiteral("sáva"),
        QStringLiteral("ilja"), QStringLiteral("nikita"), QStringLiteral("luka"),
        QStringLiteral("mirka"), QStringLiteral("jožka"), QStringLiteral("tonda"), QStringLiteral("vláďa"),
        QStringLiteral("láďa"), QStringLiteral("míla"), QStringLiteral("joshua"), QStringLiteral("andrea"),
        QStringLiteral("uwe"), QStringLiteral("jose"), QStringLiteral("mike"), QStringLiteral("steve"),
        QStringLiteral("george")};
    return names.contains(lower);
}

// The forms of address a title gives, the highest first.
struct AddressByTitle {
    std::initializer_list<const char*> titles;  // without their dots, lowercase
    const char* man;
    const char* woman;
};
const std::array<AddressByTitle, 5> kAddresses = {{
    {{"prof"}, "profesore", "profesorko"},
    {{"doc"}, "docente", "docentko"},
    {{"judr", "mudr", "mddr", "mvdr", "phdr", "rndr", "pharmdr", "paeddr", "thdr", "rsdr", "dr", "phd", "thd", "csc",
      "drsc"},
     "doktore", "doktorko"},
    {{"ing"}, "inženýre", "inženýrko"},
    {{"mgr", "mga"}, "magistře", "magistro"},
}};

}  // namespace

bool isNameTitle(const QString& word)
{
    static const QSet<QString> titles = [] {
        QSet<QString> set;
        for (const char* title :
             {"bc", "bca", "mgr", "mga", "ing", "arch", "judr", "mudr", "mddr", "mvdr", "phdr", "rndr", "pharmdr",
              "paeddr", "thdr", "thlic", "thmgr", "rsdr", "dr", "doc", "prof", "akad", "phd", "thd", "csc", "drsc",
              "dis", "mba", "mpa", "dba", "msc", "ma", "ba", "bsc", "llm", "llb", "ml", "st", "jr", "sr", "et", "art",
              "dipl", "mph", "emba", "lic", "ph"})
            set.insert(QString::fromLatin1(title));
        return set;
    }();
    return titles.contains(withoutDots(word));
}

QString formOfNameWord(const QString& word, const std::function<QString(const QString&)>& form)
{
    qsizetype first = 0;
    while (first < word.size() && !word.at(first).isLetter())
        ++first;
    qsizetype end = word.size();
    while (end > first && !word.at(end - 1).isLetter())
        --end;
    const QString core = word.mid(first, end - first);
    const QString after = word.mid(end);
    if (core.size() < 2 || after.contains(u'.') || core.contains(u'.') || isNameTitle(core))
        return word;
    QStringList parts = core.split(u'-');
    for (QString& part : parts) {
        if (part.size() < 2)
            continue;
        const QString formed = form(part.toLower());
        if (part == part.toUpper())
            part = formed.toUpper();
        else
            part = (part.front().isUpper() ? formed.left(1).toUpper() : formed.left(1)) + formed.mid(1);
    }
    return word.left(first) + parts.join(u'-') + after;
}

QStringList nameWords(const QString& name)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"), QRegularExpression::UseUnicodePropertiesOption);
    QStringList words;
    for (QString word : name.split(separators, Qt::SkipEmptyParts)) {
        if (isNameTitle(word) || word.endsWith(u'.'))
            continue;  // a title or an initial
        while (!word.isEmpty() && !word.back().isLetter())
            word.chop(1);
        while (!word.isEmpty() && !word.front().isLetter())
            word.remove(0, 1);
        if (!word.isEmpty())
            words << word;
    }
    return words;
}

Gender genderOfName(const QString& name)
{
    const QStringList words = nameWords(name);
    if (words.isEmpty())
        return Gender::Male;
    const QString surname = words.back().toLower();
    if (surname.endsWith(QStringLiteral("ová")) || surname.endsWith(u'á'))
        return Gender::Female;
    if (words.size() < 2) {
        // A lone word is a surname, unless it is a woman's given name.
        return isCommonWomansName(surname) || isWomansNameWithoutEnding(surname) || surname.endsWith(QStringLiteral("ie"))
            ? Gender::Female
            : Gender::Male;
    }
    if (surname.endsWith(u'ý'))
        return Gender::Male;
    const QString given = words.front().toLower();
    if (isWomansNameWithoutEnding(given))
        return Gender::Female;
    const bool womansEnding = given.endsWith(u'a') || given.endsWith(u'e') || given.endsWith(u'ě');
    return womansEnding && !isMansNameWithEnding(given) ? Gender::Female : Gender::Male;
}

QString titledSalutation(const QString& name)
{
    const Gender gender = genderOfName(name);
    const QString address = gender == Gender::Female ? QStringLiteral("paní ") : QStringLiteral("pane ");
    QSet<QString> titles;
    for (const QString& word : name.split(QRegularExpression(QStringLiteral("[\\s,]+"),
                                                              QRegularExpression::UseUnicodePropertiesOption),
                                          Qt::SkipEmptyParts))
        titles.insert(withoutDots(word));
    for (const AddressByTitle& each : kAddresses)
        for (const char* title : each.titles)
            if (titles.contains(QString::fromLatin1(title)))
                return address + QString::fromUtf8(gender == Gender::Female ? each.woman : each.man);
    const QStringList words = nameWords(name);
    if (words.isEmpty())
        return address.trimmed();
    return address + (gender == Gender::Female ? words.back() : vocativeOf(words.back()));
}

}  // namespace vorlin::fields
