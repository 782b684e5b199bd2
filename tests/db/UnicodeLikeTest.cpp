#include "db/Sqlite.h"
#include "db/UnicodeLike.h"
#include "support/TempDir.h"

#include <QFile>

#include <random>
#include <string>

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

TEST(UnicodeLike, AWordIsFoundWhereverItsFoldedLettersStandInTheFoldedText)
{
    // Letters whose folding is not the plain one: the Kelvin sign (k), the
    // long s (s), the capital sharp s (ß), the final sigma (σ); a letter
    // above the Basic Multilingual Plane; Czech and Cyrillic in both cases;
    // letters with accents beside their plain forms, and "ǆ", one character
    // for two letters.
    const QList<char32_t> alphabet = {U'a', U'B', U'c', U'k', U'K', U'\u212A', U's', U'S', U'\u017F', U'č', U'Č',
                                      U'ř', U'Ř', U'ß', U'\u1E9E', U'σ', U'Σ', U'ς', U'ж', U'Ж', U'\U0001F600',
                                      U'\U00010400', U'\U00010428', U' ', U'1', U'n', U'N', U'ň', U'Ň', U'ñ',
                                      U'o', U'ó', U'á', U'\u01C6'};
    // Typed in a hurry, a letter's accents are left off where it is one
    // letter without them.
    const auto foldedOne = [](char32_t c, CompiledLike::Folding folding) {
        if (folding == CompiledLike::Folding::CaseAndAccents && c < 0x10000) {
            QString letters;
            for (const QChar part : QString(QChar(char16_t(c))).normalized(QString::NormalizationForm_KD))
                if (part.category() != QChar::Mark_NonSpacing)
                    letters += part;
            if (letters.size() == 1)
                c = letters.front().unicode();
        }
        return QChar::toCaseFolded(c);
    };
    const auto folded = [&](const QList<char32_t>& text, CompiledLike::Folding folding) {
        std::u32string out;
        for (const char32_t c : text)
            out.push_back(foldedOne(c, folding));
        return out;
    };
    const auto toQString = [](const QList<char32_t>& text) {
        return QString::fromUcs4(text.constData(), text.size());
    };
    std::mt19937 random(5);
    for (const auto folding : {CompiledLike::Folding::Case, CompiledLike::Folding::CaseAndAccents}) {
        int found = 0;
        for (int round = 0; round < 20000; ++round) {
            QList<char32_t> text;
            for (int i = int(random() % 24); i > 0; --i)  // past sixteen bytes too
                text << alphabet[random() % alphabet.size()];
            QList<char32_t> word;
            if (!text.isEmpty() && random() % 2) {  // a piece of the text, its case changed here and there
                const auto from = qsizetype(random() % text.size());
                word = text.mid(from, qsizetype(1 + random() % 4));
                for (char32_t& c : word)
                    if (random() % 2)
                        c = QChar::toUpper(c);
            } else {
                for (int i = int(1 + random() % 3); i > 0; --i)
                    word << alphabet[random() % alphabet.size()];
            }
            const bool expected = folded(text, folding).find(folded(word, folding)) != std::u32string::npos;
            const QString pattern = u'%' + toQString(word) + u'%';
            const bool matched = folding == CompiledLike::Folding::Case
                                     ? likeMatches(pattern, toQString(text))
                                     : CompiledLike(pattern, folding).matchesUtf8(toQString(text).toStdString());
            ASSERT_EQ(matched, expected) << pattern.toStdString() << " like " << toQString(text).toStdString();
            // A text it matches holds every letter it needs.
            const std::uint32_t needed = CompiledLike(pattern, folding).requiredLetters();
            ASSERT_TRUE(!matched || (lettersOfUtf8(toQString(text).toStdString()) & needed) == needed)
                << pattern.toStdString() << " like " << toQString(text).toStdString();
            found += expected;
        }
        EXPECT_GT(found, 5000);
    }
    // Every character a plain letter or digit matches, folded for case
    // alone, holds that letter folded for typing.
    for (const char32_t plain : std::u32string(U"abcdefghijklmnopqrstuvwxyz0123456789")) {
        const CompiledLike pattern(QString(QChar(char16_t(plain))), CompiledLike::Folding::Case);
        for (char32_t c = 1; c < 0x10000; ++c)
            if (!QChar::isSurrogate(c) && pattern.matchesUtf8(QString(QChar(char16_t(c))).toStdString())) {
                ASSERT_EQ(lettersOfUtf8(QString(QChar(char16_t(c))).toStdString()) & pattern.requiredLetters(),
                          pattern.requiredLetters())
                    << std::hex << std::uint32_t(c);
            }
    }
}
