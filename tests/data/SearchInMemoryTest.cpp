// The search tried on rows held in memory keeps exactly the rows the
// database keeps for the same search, on a generated table: words and
// kinds, wildcards typed and stored, Czech letters in either case, quotes,
// empty names and keywords, and a pasted page of words.
#include "data/SnippetSearch.h"
#include "db/RowSearch.h"
#include "db/UnicodeLike.h"
#include "support/StoreFixture.h"

#include <QRandomGenerator>

#include <algorithm>
#include <set>

using namespace vorlin;
using namespace vorlin::test;

namespace {

class SearchInMemory : public StoreFixture {
protected:
    void SetUp() override
    {
        const QStringList pieces = {"Novák", "NOVÁK", "novak", "Čížek", "čížek", "CIZEK", "Brno", "brňo", "Žďár",
                                    "o'Neil", "50%", "a_b", "ab", "Smlouva", "SMLOUVA", "ß", "Straße", "İstanbul",
                                    "řeka", "Řeka", " ", "ch", "CH"};
        const QStringList kinds = {"adresa", "ADRESA", "adresa soudu", "podpis", "petit", "a_dresa", "druh 100%"};
        QRandomGenerator random(7);
        QList<Snippet> rows;
        const auto text = [&](int words) {
            QStringList picked;
            for (int i = 0; i < words; ++i)
                picked << pieces[random.bounded(pieces.size())];
            return picked.join(random.bounded(2) ? u' ' : u',');
        };
        for (int i = 0; i < 1500; ++i)
            rows.append({random.bounded(20) == 0 ? QString() : text(1 + random.bounded(3)),
                         random.bounded(15) == 0 ? QString() : kinds[random.bounded(kinds.size())], QStringLiteral("x"),
                         random.bounded(4) == 0 ? QString() : text(random.bounded(3))});
        addRows(rows);
    }

    // The ids the database gives for the search.
    std::set<qint64> fromDatabase(const db::Selection& selection)
    {
        db::Database database(databaseFile());
        db::registerUnicodeLike(database.handle());
        db::Statement statement(database, db::selectStatement(selection, {"ID"}, false));
        const QVariantList parameters = db::parametersOf(selection.filter);
        for (qsizetype i = 0; i < parameters.size(); ++i)
            statement.bind(int(i + 1), parameters[i]);
        std::set<qint64> ids;
        while (statement.step())
            ids.insert(statement.column(0).toLongLong());
        return ids;
    }

    // The ids the same search keeps of the rows held in memory, passing over
    // rows without a word's letters; narrowed from the search before when
    // that one is given.
    std::set<qint64> inMemory(const db::Selection& selection, db::RowSearch::Found* last = nullptr)
    {
        if (!held_) {
            db::Database database(databaseFile());
            db::Statement statement(database, QStringLiteral("SELECT ID, nazev, druh, tag FROM vorlin"));
            held.clear(4);
            while (statement.step())
                held.appendFrom(statement.handle());
            auto letters = std::make_shared<std::vector<db::RowLetters>>();
            auto order = std::make_shared<std::vector<std::uint32_t>>();
            for (std::uint32_t row = 0; row < std::uint32_t(held.rowCount()); ++row) {
                letters->push_back(db::lettersOfRow(held, row, {1, 3}));
                order->push_back(row);
            }
            held_ = std::make_unique<db::RowSearch>(db::RowSearch::Rows{.set = &held,
                                                                         .columns = {"ID", "nazev", "druh", "tag"},
                                                                         .order = std::move(order),
                                                                         .version = db::newRowsVersion(),
                                                                         .letters = std::move(letters),
                                                                         .letterColumns = {"nazev", "tag"}});
        }
        db::RowSearch::Found found = held_->find(selection.filter, db::RowSearch::Folding::Case, last);
        std::set<qint64> ids;
        for (const std::uint32_t row : *found.rows)
            ids.insert(held.value(int(row), 0).toLongLong());
        if (last)
            *last = std::move(found);
        return ids;
    }

    db::RowSet held;
    std::unique_ptr<db::RowSearch> held_;
};

}  // namespace

TEST_F(SearchInMemory, KeepsTheRowsTheDatabaseKeeps)
{
    QStringList pastedPage;
    for (int i = 0; i < 45; ++i)
        pastedPage << QStringLiteral("slovo%1").arg(i % 30);
    pastedPage << QStringLiteral("brno");
    struct Case {
        QString box;
        QString kind;
        // Whether the search with the last letter not yet typed is known to
        // keep every row this one keeps (so that only its rows are tried).
        bool narrowsShorter = true;
    };
    const Case cases[] = {
        {"novák", ""}, {"NOVAK", ""}, {"čížek", ""}, {"ČÍŽEK", ""}, {"cizek", ""}, {"řeka%brno", ""},
        {"c_zek", "", false}, {"50%", ""}, {"%", ""}, {"a_b", "", false}, {"_", ""}, {"o'neil", ""},
        {"STRASSE", ""}, {"straße", ""}, {"istanbul", ""}, {"ch", ""}, {" ", ""}, {"", "adresa"}, {"", "ADR"},
        {"", "a_d", false}, {"", "100%", false}, {"brno", "adresa"}, {"novák%žďár", "podpis"},
        {pastedPage.join(u'%'), ""},
    };
    const auto selectionFor = [](const QString& box, const QString& kind) {
        search::SnippetSearch snippetSearch;
        snippetSearch.words = search::searchWords(box);
        snippetSearch.kind = kind;
        return search::selectionOf(snippetSearch);
    };
    int kept = 0;
    for (const Case& c : cases) {
        const db::Selection selection = selectionFor(c.box, c.kind);
        const std::set<qint64> expected = fromDatabase(selection);
        EXPECT_EQ(inMemory(selection), expected) << c.box.toStdString() << " / " << c.kind.toStdString();
        kept += int(expected.size());
        // The search before the last letter, as it was typed.
        const db::Selection shorter = c.kind.isEmpty() ? selectionFor(c.box.chopped(1), c.kind)
                                                       : selectionFor(c.box, c.kind.chopped(1));
        const bool narrows = db::narrows(selection.filter, shorter.filter);
        EXPECT_EQ(narrows, c.narrowsShorter) << c.box.toStdString() << " / " << c.kind.toStdString();
        if (narrows) {
            const std::set<qint64> before = fromDatabase(shorter);
            EXPECT_TRUE(std::includes(before.begin(), before.end(), expected.begin(), expected.end()))
                << c.box.toStdString() << " / " << c.kind.toStdString();
        }
        // Typed on from the search before, whether it narrows it or not.
        db::RowSearch::Found last;
        (void)inMemory(shorter, &last);
        EXPECT_EQ(inMemory(selection, &last), expected) << c.box.toStdString() << " / " << c.kind.toStdString();
    }
    EXPECT_GT(kept, 1500) << "the cases find too little to say anything";
}
