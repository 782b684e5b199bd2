#include "common/Win1250.h"
#include "regex/RegExpr.h"

#include <QFile>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace vorlin;

namespace {

using Matches = std::vector<std::pair<int, int>>;  // 1-based position, length

// Every match the import would take: the first, then the next ones.
Matches allMatches(const QString& pattern, const QString& text)
{
    TRegExpr engine;
    engine.setExpression(pattern);
    Matches matches;
    for (bool found = engine.exec(text); found && matches.size() < 100; found = engine.execNext())
        matches.emplace_back(engine.matchPos(), engine.matchLen());
    return matches;
}

struct Case {
    const char* pattern;
    const char* text;
    Matches matches;
};

void expectMatches(const Case* cases, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(allMatches(QString::fromUtf8(c.pattern), QString::fromUtf8(c.text)), c.matches)
            << "pattern " << c.pattern << " on " << c.text;
    }
}

}  // namespace

TEST(RegExpr, WordCharactersAreTheProgramsOwn)
{
    const Case cases[] = {
        {"\\w+", "řŮ-x", {{1, 4}}},
        {"\\w", "ó", {}},
        {"\\w", "ä", {}},
        {"\\w", "ß", {}},
        {"\\W", "ó", {{1, 1}}},
        {"\\bNovák-Nová\\b", "Jan Novák-Nová, Praha", {{5, 10}}},
        {"\\bNovák\\b", "Novák-Nová", {}},
        {"k\\B-", "Novák-Nová", {{5, 2}}},
        {"\\b", "ab", {{1, 0}, {3, 0}}},
        {"\\s", "a\u00A0b", {}},
        {"\\s+", " \t\r\n\f", {{1, 5}}},
        {"\\d+", "č. 123", {{4, 3}}},
        {"[\\w]+", "žluť-ó", {{1, 5}}},
    };
    expectMatches(cases, std::size(cases));
}

TEST(RegExpr, DotAndLineAnchors)
{
    const Case cases[] = {
        {".*", "a\r\nb", {{1, 4}, {5, 0}}},
        {"(?-s).*", "a\r\nb", {{1, 1}, {2, 0}, {3, 0}, {4, 1}, {5, 0}}},
        {"^b", "a\r\nb", {}},
        {"(?m)^b", "a\r\nb", {{4, 1}}},
        {"(?m)^", "a\r\nb\nc\rd", {{1, 0}, {4, 0}, {6, 0}, {8, 0}}},
        {"(?m)$", "a\r\nb\nc", {{2, 0}, {5, 0}, {7, 0}}},
        {"a$", "a\r\n", {}},
        {"(?m)a$", "a\r\n", {{1, 1}}},
        {"\\Aa", "aa", {{1, 1}}},
        {"a\\Z", "aa", {{2, 1}}},
        {"(?m)\\Ab", "a\nb", {}},
    };
    expectMatches(cases, std::size(cases));
}

TEST(RegExpr, CaseInsensitivityCoversCzechLetters)
{
    const Case cases[] = {
        {"(?i)praha", "PRAHA Praha praha", {{1, 5}, {7, 5}, {13, 5}}},
        {"(?i)č", "Č", {{1, 1}}},
        {"(?i)[ř-ř]", "Ř", {{1, 1}}},
        {"(?i)[^ž]", "Ž", {}},
        {"praha", "PRAHA", {}},
        {"(?i)(ěš)\\1", "ěšĚŠ", {{1, 4}}},
        {"(ěš)\\1", "ěšĚŠ", {}},
        {"(?i)(ů)\\1", "Ůů", {{1, 2}}},
        {"a(?i)b", "aB AB", {{1, 2}}},
        {"((?i)a)a", "Aa AA", {{1, 2}}},
    };
    expectMatches(cases, std::size(cases));
}

TEST(RegExpr, RepeatsGreedyNonGreedyAndGOff)
{
    const Case cases[] = {
        {"x*", "abc", {{1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        {"a+", "aaa", {{1, 3}}},
        {"a+?", "aaa", {{1, 1}, {2, 1}, {3, 1}}},
        {"(?-g)a+", "aaa", {{1, 1}, {2, 1}, {3, 1}}},
        {"(?-g)a{2,3}", "aaaaa", {{1, 2}, {3, 2}}},
        {"a{2,3}", "aaaaa", {{1, 3}, {4, 2}}},
        {"a{2}", "aaaaa", {{1, 2}, {3, 2}}},
        {"a{3,}", "aa aaaa", {{4, 4}}},
        {"a{,3}", "a{,3}", {{1, 5}}},
        {"a{x}", "a{x}", {{1, 4}}},
        {"<.*>", "<a><b>", {{1, 6}}},
        {"<.*?>", "<a><b>", {{1, 3}, {4, 3}}},
        {"ab?", "a ab", {{1, 1}, {3, 2}}},
        {"(ab)?c", "abc c", {{1, 3}, {5, 1}}},
    };
    expectMatches(cases, std::size(cases));
}

TEST(RegExpr, AlternativesInOrderAndEscapes)
{
    const Case cases[] = {
        {"a|ab", "ab", {{1, 1}}},
        {"ab|a", "ab", {{1, 2}}},
        {"(a|ab)c", "abc", {{1, 3}}},
        {"\\.\\(\\)\\|\\{\\\\", ".()|{\\", {{1, 6}}},
        {"\\x41\\x{42}\\x{0043}", "ABC", {{1, 3}}},
        {"\\t\\n\\r\\f\\a\\e", "\t\n\r\f\a\x1b", {{1, 6}}},
        {"[]a]+", "a]a", {{1, 3}}},
        {"[^]a]", "]ab", {{3, 1}}},
        {"[a-]+", "a-a", {{1, 3}}},
        {"[-a]+", "-a", {{1, 2}}},
        {"[\\D\\S\\W]+", "DSW", {{1, 3}}},
        {"[\\d\\s]+", "1 2", {{1, 3}}},
        {"a}b]", "a}b]", {{1, 4}}},
        {"(?x) a b # komentář\r\n c", "abc", {{1, 3}}},
        {"(?x)[ ]", "a b", {{2, 1}}},
        {"a(?#poznámka)b", "ab", {{1, 2}}},
        {"(?i-i)A", "a", {}},
        {"\\5", "a", {}},
    };
    expectMatches(cases, std::size(cases));
}

TEST(RegExpr, WidenedRangesOfOptionR)
{
    const Case cases[] = {
        {"[\\xe0-\\xff]", "\u0139\u0155", {{2, 1}}},       // Ĺ (C5) no, ŕ (E0) yes
        {"[\\xe0-\\xff]", "\u00B8", {{1, 1}}},             // ¸ (B8) joins E0-FF
        {"(?-r)[\\xe0-\\xff]", "\u00B8", {}},
        {"[\\xc0-\\xdf]", "\u00A8", {{1, 1}}},             // ¨ (A8) joins C0-DF
        {"[\\xe0-\\xdf]+", "\u0154\u0155\u00A8\u00B8", {{1, 4}}},
    };
    expectMatches(cases, std::size(cases));
}

TEST(RegExpr, SettingAPatternAndSearchingOn)
{
    TRegExpr engine;
    engine.setExpression(QStringLiteral("b+"));
    ASSERT_TRUE(engine.exec(QStringLiteral("abbcb")));
    EXPECT_EQ(engine.matchPos(), 2);
    EXPECT_EQ(engine.matchLen(), 2);
    EXPECT_EQ(engine.match(), QByteArray("bb"));
    ASSERT_TRUE(engine.execNext());
    EXPECT_EQ(engine.matchPos(), 5);
    EXPECT_FALSE(engine.execNext());
    EXPECT_EQ(engine.matchPos(), -1);

    // An empty pattern keeps the program of the one before.
    engine.setExpression(QString());
    ASSERT_TRUE(engine.exec(QStringLiteral("xb")));
    EXPECT_EQ(engine.matchPos(), 2);

    // Pattern errors surface at the search, not when the pattern is set.
    engine.setExpression(QStringLiteral("(a"));
    EXPECT_THROW(engine.exec(QStringLiteral("a")), ERegExpr);
}

TEST(RegExpr, LongTextsDoNotExhaustTheStack)
{
    const QByteArray text(10 * 1024 * 1024, 'a');
    TRegExpr engine;
    engine.setExpression(QStringLiteral(".*"));
    ASSERT_TRUE(engine.exec(text));
    EXPECT_EQ(engine.matchLen(), text.size());
    // A repeated group over the whole text: a result or a clear error.
    engine.setExpression(QStringLiteral("(a|b)*$"));
    try {
        EXPECT_TRUE(engine.exec(text));
    } catch (const ERegExpr& e) {
        EXPECT_EQ(e.errorCode(), regex_error::TooComplex);
    }
}

TEST(RegExpr, ExplodingBacktrackingIsAnErrorNotAHang)
{
    TRegExpr engine;
    engine.setExpression(QStringLiteral("(a+)+b"));
    try {
        engine.exec(QByteArray(40, 'a') + "!b");
        FAIL() << "no error";
    } catch (const ERegExpr& e) {
        EXPECT_EQ(e.errorCode(), regex_error::TooComplex);
    }
}

TEST(RegExpr, TheDeliveredAddressFilterFindsAddressesAndNotTheirNeighbours)
{
    const QString text = QStringLiteral(
        "Vážený pane,\r\nJUDr. Jan Novák\r\nDlouhá 12/5\r\n110 00 Praha 1\r\n\r\n"
        "Prodávající: Marie Dvořáková, Husova 7, 602 00 Brno\r\n"
        "Stavby Morava s.r.o.\r\nLhota č. p. 15\r\n53701 Chrudim\r\nČeská republika\r\n"
        "IČO: 12345678, tel. +420 777 123 456, dne 27. 5. 2010, sp. zn. 25 Cdo 1234/2008, 12 500 Kč\r\n"
        // A PSČ with a no-break space, lines indented and ending in blanks.
        "Okresní soud v Jihlavě  \r\n\tMasarykovo nám. 1  \r\n\t586\u00A001 Jihlava\r\n"
        // Amounts and periods below a number are no town.
        "Faktura č. 2024\r\n31488 Kč\r\nlhůta 12\r\n336 96 dnů lhůta\r\n"
        // An address inside a sentence, without the sentence.
        "Podali jsme jménem své klientky, Ing. Jana Malá, Husova 5, 586 01 Jihlava, žalobu.\r\n"
        // Two blanks after the PSČ, as the standard for letters lays it out.
        "\r\nMgr. Petr Svoboda\r\nNa Příkopě 3\r\n110 00  Praha 1\r\n");
    QFile file(QStringLiteral(VORLIN_EXE_DIR "filtr_adres.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList found;
    TRegExpr engine;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QByteArray pattern = line.endsWith('\r') ? line.chopped(1) : line;
        if (pattern.isEmpty())
            continue;
        engine.setExpression(pattern);
        for (bool hit = engine.exec(text); hit; hit = engine.execNext())
            found << win1250::decode(engine.match());
    }
    found.sort();
    EXPECT_EQ(found, (QStringList{"Ing. Jana Malá, Husova 5, 586 01 Jihlava",
                                  "JUDr. Jan Novák\r\nDlouhá 12/5\r\n110 00 Praha 1",
                                  "Marie Dvořáková, Husova 7, 602 00 Brno",
                                  "Mgr. Petr Svoboda\r\nNa Příkopě 3\r\n110 00  Praha 1",
                                  QStringLiteral("Okresní soud v Jihlavě  \r\n\tMasarykovo nám. 1  \r\n\t586\u00A001 Jihlava"),
                                  "Stavby Morava s.r.o.\r\nLhota č. p. 15\r\n53701 Chrudim\r\nČeská republika"}));
}
