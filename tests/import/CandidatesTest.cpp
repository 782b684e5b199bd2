#include "import/Candidates.h"
#include "import/ReviewListModel.h"


#include <gtest/gtest.h>

using namespace vorlin;

TEST(Candidates, TextStoredAndDrawn)
{
    struct Case {
        const char* candidate;
        const char* stored;
        const char* drawn;
    };
    const Case cases[] = {
        {"2. filtr|Jan Novák, Brno", "Jan Novák, Brno", "2. filtr|Jan Novák, Brno"},
        {"a|b|c", "b|c", "a|b|c"},
        {"bez tagu", "bez tagu", "bez tagu"},
        {"Jan\r\nBrno", "Jan\r\nBrno", "Jan[enter]Brno"},
        {"Jan[enter]Brno", "Jan \r\nBrno", "Jan[enter]Brno"},
        {"1. filtr|", "", "1. filtr|"},
        {"a\rb\nc", "a\rb\nc", "a\rb\nc"},
    };
    for (const Case& c : cases) {
        const QString candidate = QString::fromUtf8(c.candidate);
        EXPECT_EQ(candidates::storedText(candidates::textOf(candidate)), QString::fromUtf8(c.stored)) << c.candidate;
        EXPECT_EQ(candidates::drawnText(candidate), QString::fromUtf8(c.drawn)) << c.candidate;
    }
}

TEST(Candidates, NeighboursEqualFromTheirFirstCommaAreDuplicates)
{
    struct Case {
        QStringList sorted;
        QStringList kept;
    };
    const Case cases[] = {
        {{"1. filtr|Jan, Brno", "1. filtr|Petr, Brno"}, {"1. filtr|Petr, Brno"}},
        {{"1. filtr|Jan", "1. filtr|Jan", "1. filtr|Jan"}, {"1. filtr|Jan"}},
        {{"1. filtr|Jan", "2. filtr|Jan"}, {"1. filtr|Jan", "2. filtr|Jan"}},
        {{"1. filtr|a, X", "1. filtr|b, x"}, {"1. filtr|a, X", "1. filtr|b, x"}},  // case counts
        {{"a, x", "b, y", "c, x"}, {"a, x", "b, y", "c, x"}},                     // neighbours only
        {{}, {}},
        {{"jen jeden"}, {"jen jeden"}},
    };
    for (const Case& c : cases) {
        QStringList list = c.sorted;
        candidates::removeDuplicates(list);
        EXPECT_EQ(list, c.kept) << c.sorted.join(u';').toStdString();
    }
}

TEST(ReviewList, CandidatesStaySortedWithoutRegardToCase)
{
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    ReviewListModel model;
    for (const char* text : {"Zeman", "chata", "Brno", "čestné", "Hrad", "brno"})
        model.add(QString::fromUtf8(text));
    EXPECT_EQ(model.texts(), (QStringList{"brno", "Brno", "čestné", "Hrad", "chata", "Zeman"}));
    model.setChecked(2, true);
    model.add(QStringLiteral("Adam"));
    EXPECT_EQ(model.text(0), QStringLiteral("Adam"));
    EXPECT_TRUE(model.isChecked(3));  // the tick moved with its candidate
    EXPECT_EQ(model.data(model.index(0), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QLocale::setDefault(QLocale::c());
}

TEST(ReviewList, AHundredThousandCandidatesGoInAtOnce)
{
    ReviewListModel model;
    for (int i = 0; i < 100000; ++i)
        model.add(QStringLiteral("Jan Novák %1, Brno").arg((i * 7919) % 100000));
    EXPECT_EQ(model.count(), 100000);
    EXPECT_EQ(model.text(0), QStringLiteral("Jan Novák 0, Brno"));
    EXPECT_EQ(model.rowCount(), 100000);
}
