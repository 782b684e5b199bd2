#include "data/SnippetSearch.h"

#include <gtest/gtest.h>

using namespace vorlin::search;

TEST(SearchWords, SplitAtPercent)
{
    struct Case {
        const char* text;
        QStringList words;
    };
    const Case cases[] = {
        {"", {}},
        {"smlouva", {"smlouva"}},
        {"a%b", {"a", "b"}},
        {"a%", {"a"}},
        {"%a", {"", "a"}},
        {"a%%b", {"a", "", "b"}},
        {"%", {""}},
        {"%%", {"", ""}},
        {"a b", {"a b"}},
        {"1%2%3%4%5%6%7%8%9%10%11%12%13%14%15%16%17%18%19%20%21%22",
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16", "17", "18", "19",
          "20", "21", "22"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(searchWords(QString::fromUtf8(c.text)), c.words) << c.text;
}

TEST(SnippetSelection, TheUsersTextsAreBoundNeverWrittenIntoTheCondition)
{
    struct Case {
        const char* box;
        const char* kind;
        const char* condition;
        QVariantList parameters;
    };
    const Case cases[] = {
        {"", "", "", {}},
        {"smlouva", "", "((nazev like ?) or (tag like ?))", {"%smlouva%", "%smlouva%"}},
        {"smlouva%brno", "", "((nazev like ?) or (tag like ?) or (nazev like ?) or (tag like ?))",
         {"%smlouva%", "%smlouva%", "%brno%", "%brno%"}},
        {"", "adresa", "(druh like ?)", {"%adresa%"}},
        {"smlouva", "adresa", "((nazev like ?) or (tag like ?)) and (druh like ?)",
         {"%smlouva%", "%smlouva%", "%adresa%"}},
        {"o'neil", "", "((nazev like ?) or (tag like ?))", {"%o'neil%", "%o'neil%"}},
        {"%", "", "((nazev like ?) or (tag like ?))", {"%%", "%%"}},
        {"", "d'x", "(druh like ?)", {"%d'x%"}},
    };
    for (const Case& c : cases) {
        SnippetSearch search;
        search.words = searchWords(QString::fromUtf8(c.box));
        search.kind = QString::fromUtf8(c.kind);
        const vorlin::db::Selection selection = selectionOf(search);
        EXPECT_EQ(selection.table, QStringLiteral("vorlin"));
        EXPECT_EQ(vorlin::db::conditionOf(selection.filter), QString::fromUtf8(c.condition)) << c.box << " / " << c.kind;
        EXPECT_EQ(vorlin::db::parametersOf(selection.filter), c.parameters) << c.box << " / " << c.kind;
    }
}

TEST(SnippetSelection, EveryTitleClickFlipsTheDirectionAndKeepsTheFilter)
{
    struct Step {
        const char* column;
        bool descending;
    };
    const Step steps[] = {{"nazev", true}, {"nazev", false}, {"druh", true}, {"druh", false}};
    SnippetSearch search;
    EXPECT_EQ(selectionOf(search).orderColumn, QStringLiteral("nazev"));
    EXPECT_FALSE(selectionOf(search).descending);
    search.words = {QStringLiteral("brno")};
    for (const Step& s : steps) {
        search.sortBy(QString::fromUtf8(s.column));
        const vorlin::db::Selection selection = selectionOf(search);
        EXPECT_EQ(selection.orderColumn, QString::fromUtf8(s.column));
        EXPECT_EQ(selection.descending, s.descending);
        EXPECT_EQ(vorlin::db::parametersOf(selection.filter).size(), 2);
    }
}
