#include "db/Sqlite.h"
#include "db/UnicodeLike.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vorlin::db;

TEST(UnicodeLike, MatchesWithoutRegardToCaseInAllOfUnicode)
{
    struct Case {
        const char* pattern;
        const char* text;
        bool matches;
    };
    const Case cases[] = {
        {"%smlouva%", "Kupní SMLOUVA", true},
        {"%smlouva%", "Smlouva o dílo", true},
        {"%čes%", "Čestné prohlášení", true},
        {"%ČES%", "čestné prohlášení", true},
        {"%říjen%", "ŘÍJEN", true},
        {"%ů%", "DŮM", true},
        {"%σ%", "ΣΟΦΙΑ", true},
        {"%ж%", "ЖУК", true},
        {"%c%", "Čestné", false},         // a letter with a caron is another letter
        {"a_c", "abc", true},
        {"a_c", "ačc", true},             // one character, two bytes
        {"a_c", "ac", false},
        {"a_c", "abbc", false},
        {"%sml_uva%", "SMLOUVA", true},
        {"%", "", true},
        {"%%", "x", true},
        {"", "", true},
        {"", "a", false},
        {"abc", "ABC", true},
        {"abc", "ABCD", false},
        {"%ab", "aab", true},             // "%" gives back what the rest needs
        {"%a%b%c", "xaxbxbxc", true},
        {"%a%b%c", "xaxbxbx", false},
        {"%o'neil%", "Jan O'Neil", true},
        {"%_%_%", "ab", true},
        {"%_%_%", "a", false},
        {"100%", "100", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(likeMatches(QString::fromUtf8(c.pattern), QString::fromUtf8(c.text)), c.matches)
            << c.pattern << " like " << c.text;
    }
}

TEST(UnicodeLike, EscapeMakesTheNextCharacterLiteral)
{
    EXPECT_TRUE(likeMatches(u"a\\%b", u"a%b", U'\\'));
    EXPECT_FALSE(likeMatches(u"a\\%b", u"axb", U'\\'));
    EXPECT_TRUE(likeMatches(u"a\\_b", u"a_b", U'\\'));
    EXPECT_FALSE(likeMatches(u"a\\_b", u"acb", U'\\'));
}

TEST(UnicodeLike, ReplacesTheEnginesLikeOnAConnection)
{
    vorlin::test::TempDir dir;
    dir.write(QStringLiteral("t.db"), QByteArray());
    Database database(dir.file(QStringLiteral("t.db")));
    registerUnicodeLike(database.handle());

    struct Case {
        const char* expression;
        QVariant result;
    };
    const Case cases[] = {
        {"'ČEŠTINA' LIKE '%češ%'", qint64(1)},
        {"'čeština' LIKE 'ČEŠ%'", qint64(1)},
        {"'abc' LIKE 'b'", qint64(0)},
        {"NULL LIKE '%'", QVariant()},
        {"'a' LIKE NULL", QVariant()},
        {"12345 LIKE '%34%'", qint64(1)},
        {"'a%b' LIKE 'a!%b' ESCAPE '!'", qint64(1)},
        {"'ab' NOT LIKE '%B%'", qint64(0)},
    };
    for (const Case& c : cases) {
        Statement statement(database, QStringLiteral("SELECT ") + QString::fromUtf8(c.expression));
        ASSERT_TRUE(statement.step());
        EXPECT_EQ(statement.column(0), c.result) << c.expression;
    }

    Statement badEscape(database, QStringLiteral("SELECT 'a' LIKE 'a' ESCAPE 'xy'"));
    EXPECT_THROW(badEscape.step(), DatabaseError);
}
