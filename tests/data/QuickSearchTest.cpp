#include "data/QuickSearch.h"
#include "data/RecentInsertions.h"
#include "data/SnippetSearch.h"
#include "db/UnicodeLike.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vorlin;
using namespace vorlin::search;

namespace {

const QList<QuickEntry> kEntries{
    {1, "Čížek, advokát", "adresa", "brno"},
    {2, "Žďár nad Sázavou, okresní soud", "adresa soudu", "soud"},
    {3, "Hrad", "podpis", QString()},
    {4, "Chata", "petit", "rekreace"},
    {5, "Kupní SMLOUVA", "petit", "byt"},
    {6, QString(), "petit", QString()},
    {7, "Cena", "podpis", "ČÍŽEK"},
    {8, "Dohoda č. 12/2024", "petit", "Ňůž"},
};

QStringList names(const QuickSearch& search, const QuickSearch::Listing& places)
{
    QStringList found;
    for (const QuickSearch::Place place : places.all())
        found << search.entryAt(place).name;
    return found;
}

}  // namespace

TEST(QuickSearch, WordsTypedWithoutAccentsOrInAnotherCaseFindTheirSnippets)
{
    const QuickSearch plain(kEntries, *db::czechTextOrder());
    // The same, passing over rows without a word's letters.
    QuickSearch lettered(kEntries, *db::czechTextOrder());
    auto letters = std::make_shared<std::vector<std::uint64_t>>();
    for (const QuickEntry& entry : kEntries)
        letters->push_back(db::lettersOfUtf8(entry.name.toStdString())
                           | std::uint64_t(db::lettersOfUtf8(entry.keywords.toStdString())) << 32);
    lettered.useLetters(letters);
    // Many rows, tried in two halves at once: each one found as many times
    // over, in the same order.
    constexpr int kTimes = 3000;
    QList<QuickEntry> many;
    for (int time = 0; time < kTimes; ++time)
        many += kEntries;
    const QuickSearch large(many, *db::czechTextOrder());
    const auto expected = [&](const QuickSearch* search, const QStringList& found) {
        QStringList each;
        for (const QString& name : found)
            for (int time = 0; time < (search == &large ? kTimes : 1); ++time)
                each << name;
        return each;
    };
    struct Case {
        const char* box;
        const char* kind;
        QStringList found;
    };
    const Case cases[] = {
        {"", "", {"", "Cena", "Čížek, advokát", "Dohoda č. 12/2024", "Hrad", "Chata", "Kupní SMLOUVA", "Žďár nad Sázavou, okresní soud"}},
        {"cizek", "", {"Cena", "Čížek, advokát"}},  // the name or the keywords
        {"CIZEK", "", {"Cena", "Čížek, advokát"}},
        {"čížek", "", {"Cena", "Čížek, advokát"}},
        {"zdar%chata", "", {"Chata", "Žďár nad Sázavou, okresní soud"}},
        {"sml_uva", "", {"Kupní SMLOUVA"}},  // "_" as in the main window's search
        {"%", "", {"Cena", "Čížek, advokát", "Dohoda č. 12/2024", "Hrad", "Chata", "Kupní SMLOUVA", "Žďár nad Sázavou, okresní soud"}},
        {"2/20", "", {"Dohoda č. 12/2024"}},
        {"nuz", "", {"Dohoda č. 12/2024"}},
        {"c. 1", "", {"Dohoda č. 12/2024"}},
        {"", "adresa", {"Čížek, advokát", "Žďár nad Sázavou, okresní soud"}},  // the kind within the kind
        {"soud", "adresa", {"Žďár nad Sázavou, okresní soud"}},
        {"nic", "", {}},
    };
    for (const Case& c : cases)
        for (const QuickSearch* search : {&plain, static_cast<const QuickSearch*>(&lettered), &large}) {
        const QStringList words = searchWords(QString::fromUtf8(c.box));
        const QString kind = QString::fromUtf8(c.kind);
        EXPECT_EQ(names(*search, search->matching(words, kind)), expected(search, c.found)) << c.box << " / " << c.kind;
        // Typed a letter at a time: the search before the last letter, kept,
        // narrowed to this one.
        const QStringList shorterWords = kind.isEmpty() ? searchWords(QString::fromUtf8(c.box).chopped(1)) : words;
        const QString shorterKind = kind.isEmpty() ? kind : kind.chopped(1);
        QuickSearch::Found last;
        (void)search->matching(shorterWords, shorterKind, {}, &last);
        EXPECT_EQ(names(*search, search->matching(words, kind, {}, &last)), expected(search, c.found))
            << c.box << " / " << c.kind;
    }
}

TEST(QuickSearch, AnEmptyBoxShowsTheLatelyInsertedFirst)
{
    const QuickSearch search(kEntries, *db::czechTextOrder());
    // 99 is gone from the table; 5 stands twice.
    const QList<qint64> recent{5, 99, 3, 5};
    EXPECT_EQ(names(search, search.matching({}, {}, recent)),
              (QStringList{"Kupní SMLOUVA", "Hrad", "", "Cena", "Čížek, advokát", "Dohoda č. 12/2024", "Chata",
                           "Žďár nad Sázavou, okresní soud"}));
    EXPECT_EQ(names(search, search.matching({QStringLiteral("c")}, {}, recent)).first(), QStringLiteral("Cena"));
}

TEST(RecentInsertions, TheOrderOutlivesTheRunAndKeepsTheLatestFifty)
{
    test::TempDir dir;
    const QString file = dir.file(QStringLiteral("vlozene_naposledy.txt"));
    {
        RecentInsertions recent(file);
        EXPECT_TRUE(recent.ids().isEmpty());
        for (qint64 id = 1; id <= 60; ++id)
            EXPECT_TRUE(recent.inserted(id));
        EXPECT_TRUE(recent.inserted(30));
    }
    const RecentInsertions again(file);
    ASSERT_EQ(again.ids().size(), RecentInsertions::kMostRecent);
    EXPECT_EQ(again.ids().mid(0, 3), (QList<qint64>{30, 60, 59}));
    EXPECT_EQ(again.ids().count(30), 1);

    dir.write(QStringLiteral("vlozene_naposledy.txt"), "12\nnesmysl\n\n7\n12\n");
    EXPECT_EQ(RecentInsertions(file).ids(), (QList<qint64>{12, 7}));
}
