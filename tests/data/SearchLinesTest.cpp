#include "data/SearchLines.h"

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

TEST(SearchStatement, TheUsersTextsAreBoundNeverWrittenIntoTheStatement)
{
    struct Case {
        const char* box;
        const char* kind;
        const char* line1;
        const char* line2;
        const char* line3;
        QVariantList parameters;
    };
    const Case cases[] = {
        {"", "", "", "", "", {}},
        {"smlouva", "", "WHERE", "((nazev like ?) or (tag like ?))", "", {"%smlouva%", "%smlouva%"}},
        {"smlouva%brno", "", "WHERE", "((nazev like ?) or (tag like ?) or (nazev like ?) or (tag like ?))", "",
         {"%smlouva%", "%smlouva%", "%brno%", "%brno%"}},
        {"", "adresa", "WHERE", "", "(druh like ?)", {"%adresa%"}},
        {"smlouva", "adresa", "WHERE", "((nazev like ?) or (tag like ?))", "and (druh like ?)",
         {"%smlouva%", "%smlouva%", "%adresa%"}},
        {"o'neil", "", "WHERE", "((nazev like ?) or (tag like ?))", "", {"%o'neil%", "%o'neil%"}},
        {"%", "", "WHERE", "((nazev like ?) or (tag like ?))", "", {"%%", "%%"}},
        {"", "d'x", "WHERE", "", "(druh like ?)", {"%d'x%"}},
    };
    for (const Case& c : cases) {
        SnippetSearch search;
        search.words = searchWords(QString::fromUtf8(c.box));
        search.kind = QString::fromUtf8(c.kind);
        const SearchStatement lines = statementOf(search);
        EXPECT_EQ(lines.where, QString::fromUtf8(c.line1)) << c.box << " / " << c.kind;
        EXPECT_EQ(lines.words, QString::fromUtf8(c.line2)) << c.box << " / " << c.kind;
        EXPECT_EQ(lines.kind, QString::fromUtf8(c.line3)) << c.box << " / " << c.kind;
        EXPECT_EQ(lines.parameters, c.parameters) << c.box << " / " << c.kind;
    }
}

TEST(SearchStatement, EveryTitleClickFlipsTheDirectionAndKeepsTheFilter)
{
    struct Step {
        const char* column;
        const char* line5;
        const char* line6;
    };
    const Step steps[] = {
        {"nazev", "ORDER BY nazev", "desc"},
        {"nazev", "ORDER BY nazev", "asc"},
        {"druh", "ORDER BY druh", "desc"},
        {"druh", "ORDER BY druh", "asc"},
    };
    SnippetSearch search;
    search.words = {QStringLiteral("brno")};
    for (const Step& s : steps) {
        search.sortBy(QString::fromUtf8(s.column));
        const SearchStatement lines = statementOf(search);
        EXPECT_EQ(lines.orderBy, QString::fromUtf8(s.line5));
        EXPECT_EQ(lines.direction, QString::fromUtf8(s.line6));
        EXPECT_EQ(lines.where, QStringLiteral("WHERE"));
    }
    search.direction = QStringLiteral("ASC");
    search.sortBy(QStringLiteral("nazev"));
    EXPECT_EQ(search.direction, QStringLiteral("asc"));
}
