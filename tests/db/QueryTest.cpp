#include "support/StoreFixture.h"
#include "db/UnicodeLike.h"

#include "common/Error.h"
#include "db/TextOrder.h"

#include <QSignalSpy>

using namespace vorlin;
using namespace vorlin::test;
using State = db::Query::State;

namespace {

const QString kNazev = QStringLiteral("nazev");
const QString kObsah = QStringLiteral("obsah");
const QString kId = QStringLiteral("ID");

// Every case on both stores: the file of this computer and the office's server.
class Query : public StoreFixture, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        if (GetParam())
            useServer();
        addRows({
            {"Kupní SMLOUVA", "petit", "{\\rtf1 kupni}", "prodej byt"},
            {"Adresa Brno", "adresa", "Brno body", "soud"},
            {"Žádost a prohlášení", "petit", "cestne", "prohlaseni"},
            {"Smlouva o dílo", "petit", "dilo", "stavba"},
            {"O'Neil s.r.o.", "adresa", "oneil", "firma"},
            {"Podpis", "podpis", "JUDr. Novák", QString()},
        });
        openStore();
    }

    qint64 currentId() { return query().value(kId).toLongLong(); }

    // Selects the rows that meet the filter and reopens, as the search box does.
    void search(const db::RowFilter& filter)
    {
        db::Selection selection = query().selection();
        selection.filter = filter;
        query().setSelection(selection);
        query().open();
    }

    void sortBy(const QString& column, bool descending)
    {
        db::Selection selection = query().selection();
        selection.orderColumn = column;
        selection.descending = descending;
        query().setSelection(selection);
        query().open();
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Stores, Query, ::testing::Bool(),
                         [](const auto& store) { return store.param ? "Server" : "File"; });

TEST_P(Query, FreshOpenListsAllRowsByNameAscending)
{
    EXPECT_TRUE(query().isActive());
    EXPECT_EQ(query().recordCount(), 6);
    EXPECT_EQ(listedNames(), (QStringList{"Adresa Brno", "Kupní SMLOUVA", "O'Neil s.r.o.", "Podpis",
                                          "Smlouva o dílo", "Žádost a prohlášení"}));
    EXPECT_EQ(query().recNo(), 1);
    EXPECT_TRUE(query().bof());
    EXPECT_EQ(query().fieldNames(), (QStringList{"ID", "nazev", "druh", "obsah", "tag"}));
}

TEST_P(Query, ANewSelectionClosesTheQuery)
{
    QSignalSpy closed(&query(), &db::Query::activeChanged);
    db::Selection selection = query().selection();
    selection.descending = true;
    query().setSelection(selection);
    EXPECT_FALSE(query().isActive());
    ASSERT_EQ(closed.size(), 1);
    query().open();
    EXPECT_EQ(listedNames().first(), QStringLiteral("Žádost a prohlášení"));
}

TEST_P(Query, ConditionsFindRowsWithoutRegardToCase)
{
    // Any of the words in the name or the keywords, as the search box asks.
    const auto words = [](std::initializer_list<const char*> patterns) {
        QList<db::LikeTerm> group;
        for (const char* pattern : patterns)
            group << db::LikeTerm{QStringLiteral("nazev"), QString::fromUtf8(pattern)}
                  << db::LikeTerm{QStringLiteral("tag"), QString::fromUtf8(pattern)};
        return group;
    };
    const QList<db::LikeTerm> address{{QStringLiteral("druh"), QStringLiteral("%adresa%")}};
    struct Case {
        const char* what;
        db::RowFilter filter;
        QStringList found;
    };
    const Case cases[] = {
        {"a word", {words({"%smlouva%"})}, {"Kupní SMLOUVA", "Smlouva o dílo"}},
        {"Czech letters", {words({"%žád%"})}, {"Žádost a prohlášení"}},
        {"two words", {words({"%smlouva%", "%brno%"})}, {"Adresa Brno", "Kupní SMLOUVA", "Smlouva o dílo"}},
        {"a kind", {address}, {"Adresa Brno", "O'Neil s.r.o."}},
        {"a word and a kind", {words({"%smlouva%"}), address}, {}},
        {"a quote", {words({"%o'neil%"})}, {"O'Neil s.r.o."}},
        {"one character open", {words({"%sml_uva%"})}, {"Kupní SMLOUVA", "Smlouva o dílo"}},
        {"capitals", {words({"%BYT%"})}, {"Kupní SMLOUVA"}},
        // an empty word matches every row whose name or keywords hold a value
        {"an empty word", {words({"%%"})}, {"Adresa Brno", "Kupní SMLOUVA", "O'Neil s.r.o.", "Podpis",
                                            "Smlouva o dílo", "Žádost a prohlášení"}},
    };
    for (const Case& c : cases) {
        search(c.filter);
        EXPECT_EQ(listedNames(), c.found) << c.what;
        EXPECT_EQ(query().recNo(), c.found.isEmpty() ? 0 : 1);
    }
}

TEST_P(Query, ASearchShowsTheTableAsItIsAfterTheQuerysOwnWritesAndAnotherProgramsWrites)
{
    const db::RowFilter contract{{{kNazev, QStringLiteral("%smlouv%")}, {QStringLiteral("tag"), QStringLiteral("%smlouv%")}}};
    const auto rename = [&](const char* from, const char* to) {
        search({});
        ASSERT_TRUE(query().locate(kNazev, QString::fromUtf8(from)));
        query().edit();
        query().setValue(kNazev, QString::fromUtf8(to));
        query().post();
    };
    struct Step {
        const char* what;
        std::function<void()> write;
        QStringList found;
    };
    const Step steps[] = {
        {"before", [] {}, {"Kupní SMLOUVA", "Smlouva o dílo"}},
        {"an edit", [&] { rename("Podpis", "Podpis smlouvy"); }, {"Kupní SMLOUVA", "Podpis smlouvy", "Smlouva o dílo"}},
        {"an insertion",
         [&] {
             query().insert();
             query().setValue(kNazev, QStringLiteral("Nová smlouva"));
             query().post();
         },
         {"Kupní SMLOUVA", "Nová smlouva", "Podpis smlouvy", "Smlouva o dílo"}},
        {"a deletion",
         [&] {
             search({});
             ASSERT_TRUE(query().locate(kNazev, QStringLiteral("Kupní SMLOUVA")));
             query().remove();
         },
         {"Nová smlouva", "Podpis smlouvy", "Smlouva o dílo"}},
        {"another program's insertion", [&] { addRows({{"Další smlouva", "petit", "x", QString()}}); },
         {"Další smlouva", "Nová smlouva", "Podpis smlouvy", "Smlouva o dílo"}},
        {"another program's edit", [&] { runInFile(QStringLiteral("UPDATE vorlin SET nazev = 'Dílo' WHERE nazev = 'Smlouva o dílo'")); },
         {"Další smlouva", "Nová smlouva", "Podpis smlouvy"}},
    };
    // Both directions sorted once before the writes: the orders kept follow them.
    sortBy(kNazev, true);
    sortBy(kNazev, false);
    // A reader holding the table as it was (the quick insertion's pop-up)
    // keeps it so through every write.
    const auto namesHeld = [](const db::Query::TableSnapshot& table) {
        QStringList names;
        for (const std::uint32_t row : *table.order)
            names << table.rows->value(int(row), 1).toString();
        return names;
    };
    // The letters the pop-up passes rows over by follow every change too.
    const auto lettersFollow = [](const db::Query::TableSnapshot& table) {
        bool follow = table.letters && table.letters->size() == std::size_t(table.rows->rowCount());
        for (int row = 0; follow && row < table.rows->rowCount(); ++row)
            follow = (*table.letters)[std::size_t(row)]
                     == (db::lettersOfUtf8(table.rows->value(row, 1).toString().toStdString())
                         | std::uint64_t(db::lettersOfUtf8(
                               table.rows->value(row, table.columns.indexOf(QStringLiteral("tag"))).toString().toStdString()))
                               << 32);
        return follow;
    };
    for (const Step& step : steps) {
        const std::optional<db::Query::TableSnapshot> held = query().tableSnapshot(kNazev);
        ASSERT_TRUE(held && held->current) << step.what;
        const QStringList before = namesHeld(*held);
        step.write();
        EXPECT_EQ(namesHeld(*held), before) << step.what;
        EXPECT_TRUE(lettersFollow(*query().tableSnapshot(kNazev))) << step.what;
        search(contract);
        EXPECT_EQ(listedNames(), step.found) << step.what;
        sortBy(kNazev, true);
        QStringList backwards = step.found;
        std::reverse(backwards.begin(), backwards.end());
        EXPECT_EQ(listedNames(), backwards) << step.what;
        sortBy(kNazev, false);
    }
}

TEST_P(Query, BodiesAreReadRowByRowNotAtOpen)
{
    const QString big(200000, QChar(u'x'));
    addRows({{"Velký", "petit", big, QString()}});
    query().close();
    query().open();
    EXPECT_LT(query().memoryBytes(), std::size_t(20000));
    ASSERT_TRUE(query().locate(kNazev, QStringLiteral("Velký")));
    EXPECT_EQ(query().value(kObsah).toString().size(), big.size());
    query().first();
    EXPECT_EQ(query().value(kObsah).toString(), QStringLiteral("Brno body"));
}

TEST_P(Query, EditPostWritesOnlyTheChangedValuesAndReadsBack)
{
    query().moveTo(3);  // Podpis
    const qint64 id = currentId();
    query().edit();
    EXPECT_EQ(query().state(), State::Edit);
    query().setValue(kNazev, QStringLiteral("Podpis advokáta"));
    EXPECT_TRUE(query().isModified());
    query().post();
    EXPECT_EQ(query().state(), State::Browse);
    EXPECT_EQ(query().value(kNazev).toString(), QStringLiteral("Podpis advokáta"));
    EXPECT_EQ(query().recNo(), 4);  // the row keeps its place until the query is opened again

    // The plain-text body stays as it was: only the name was written.
    EXPECT_EQ(valueInFile(id, QStringLiteral("obsah")).toString(), QStringLiteral("JUDr. Novák"));
    openStore();
    ASSERT_TRUE(query().locate(kId, id));
    EXPECT_EQ(query().value(kNazev).toString(), QStringLiteral("Podpis advokáta"));
    EXPECT_TRUE(query().value(QStringLiteral("tag")).isNull());
}

TEST_P(Query, InsertStandsAtTheCurrentPositionAndGetsItsIdFromTheDatabase)
{
    query().moveTo(2);
    query().insert();
    EXPECT_EQ(query().state(), State::Insert);
    EXPECT_EQ(query().recordCount(), 7);
    EXPECT_EQ(query().recNo(), 3);
    EXPECT_TRUE(query().value(kNazev).isNull());
    query().setValue(kNazev, QStringLiteral("Nový"));
    query().setValue(kObsah, QStringLiteral("{\\rtf1 nov\\'fd}"));
    query().post();
    EXPECT_EQ(query().state(), State::Browse);
    EXPECT_EQ(listedNames()[2], QStringLiteral("Nový"));
    const qint64 id = currentId();
    EXPECT_GT(id, 6);
    EXPECT_EQ(valueInFile(id, QStringLiteral("obsah")).toString(), QStringLiteral("{\\rtf1 nov\\'fd}"));
    EXPECT_EQ(query().value(kObsah).toString(), QStringLiteral("{\\rtf1 nov\\'fd}"));
    EXPECT_EQ(rowsInFile(), 7);
}

TEST_P(Query, CancelRestoresTheRowOrRemovesTheNewOne)
{
    query().moveTo(1);
    query().edit();
    query().setValue(kNazev, QStringLiteral("změněno"));
    query().cancel();
    EXPECT_EQ(query().value(kNazev).toString(), QStringLiteral("Kupní SMLOUVA"));

    query().insert();
    query().setValue(kNazev, QStringLiteral("zahozeno"));
    query().cancel();
    EXPECT_EQ(query().recordCount(), 6);
    EXPECT_EQ(query().value(kNazev).toString(), QStringLiteral("Kupní SMLOUVA"));
    EXPECT_EQ(rowsInFile(), 6);
}

TEST_P(Query, DeleteRemovesTheRowAndTheNextBecomesCurrent)
{
    query().moveTo(1);
    const qint64 id = currentId();
    query().remove();
    EXPECT_EQ(query().recordCount(), 5);
    EXPECT_EQ(query().value(kNazev).toString(), QStringLiteral("O'Neil s.r.o."));
    EXPECT_FALSE(valueInFile(id, QStringLiteral("ID")).isValid());

    query().last();
    query().remove();
    EXPECT_EQ(query().value(kNazev).toString(), QStringLiteral("Smlouva o dílo"));
    EXPECT_EQ(rowsInFile(), 4);

    while (!query().isEmpty())
        query().remove();
    EXPECT_TRUE(query().bof());
    EXPECT_TRUE(query().eof());
    EXPECT_THROW(query().remove(), Error);
}

TEST_P(Query, MovingWhileEditingPostsWhenChangedAndDropsOtherwise)
{
    query().edit();
    query().setValue(kNazev, QStringLiteral("Adresa Brno 2"));
    query().next();
    EXPECT_EQ(query().state(), State::Browse);
    EXPECT_EQ(query().valueAt(0, kNazev).toString(), QStringLiteral("Adresa Brno 2"));

    query().insert();
    query().next();  // nothing typed: the new row is dropped, then the move happens
    EXPECT_EQ(query().recordCount(), 6);
    EXPECT_EQ(rowsInFile(), 6);

    query().insert();
    query().setValue(kNazev, QStringLiteral("Vložený"));
    query().first();
    EXPECT_EQ(rowsInFile(), 7);
}

TEST_P(Query, EditOfAnEmptyListInserts)
{
    search({{{QStringLiteral("nazev"), QStringLiteral("%nic takoveho%")}}});
    ASSERT_TRUE(query().isEmpty());
    query().edit();
    EXPECT_EQ(query().state(), State::Insert);
    EXPECT_EQ(query().recordCount(), 1);
}

TEST_P(Query, ClosingDropsAnUnsavedEdit)
{
    const qint64 id = currentId();
    query().edit();
    query().setValue(kNazev, QStringLiteral("neuloženo"));
    query().close();
    EXPECT_EQ(valueInFile(id, QStringLiteral("nazev")).toString(), QStringLiteral("Adresa Brno"));
    query().open();
    EXPECT_EQ(query().state(), State::Browse);
    EXPECT_EQ(query().value(kNazev).toString(), QStringLiteral("Adresa Brno"));
}

TEST_P(Query, NavigationAndBofEof)
{
    query().last();
    EXPECT_EQ(query().recNo(), 6);
    EXPECT_TRUE(query().eof());
    query().prior();
    EXPECT_FALSE(query().eof());
    EXPECT_EQ(query().recNo(), 5);
    query().moveBy(-10);
    EXPECT_EQ(query().recNo(), 1);
    EXPECT_TRUE(query().bof());
    query().moveBy(3);
    EXPECT_EQ(query().recNo(), 4);
    int visited = 0;
    for (query().first(); !query().eof(); query().next())
        ++visited;
    EXPECT_EQ(visited, 6);
}

TEST_P(Query, LocateByIdMovesOnlyWhenFound)
{
    query().first();
    const qint64 firstId = currentId();
    query().last();
    const qint64 lastId = currentId();
    EXPECT_TRUE(query().locate(kId, firstId));
    EXPECT_EQ(query().recNo(), 1);
    EXPECT_TRUE(query().locate(kId, lastId));
    EXPECT_EQ(query().recNo(), 6);
    EXPECT_FALSE(query().locate(kId, qint64(999)));
    EXPECT_EQ(query().recNo(), 6);
    EXPECT_TRUE(query().locate(kNazev, QStringLiteral("Podpis")));
    EXPECT_EQ(query().recNo(), 4);
}

TEST_P(Query, FieldAccessRules)
{
    EXPECT_THROW(query().value(QStringLiteral("chybi")), Error);
    EXPECT_EQ(query().value(QStringLiteral("NAZEV")).toString(), QStringLiteral("Adresa Brno"));
    EXPECT_THROW(query().setValue(kNazev, QStringLiteral("x")), Error);  // not editing
    query().edit();
    EXPECT_THROW(query().setValue(kId, 5), Error);
}

TEST_P(Query, ARefusedPostKeepsTheRowInEditingWithItsText)
{
    if (onServer())
        runInFile(QStringLiteral("CREATE FUNCTION odmitnout() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                                 "IF NEW.nazev = 'odmítnuto' THEN RAISE 'database or disk is full'; END IF; "
                                 "RETURN NEW; END $$; CREATE TRIGGER odmitnout BEFORE UPDATE ON vorlin "
                                 "FOR EACH ROW EXECUTE FUNCTION odmitnout()"));
    else
        runInFile(QStringLiteral("CREATE TRIGGER odmitnout BEFORE UPDATE ON vorlin WHEN NEW.nazev = 'odmítnuto' "
                                 "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END"));
    openStore();
    const QString where = onServer() ? serverLibrary().server : databaseFile();
    query().edit();
    query().setValue(kNazev, QStringLiteral("odmítnuto"));
    query().setValue(kObsah, QStringLiteral("dlouhý text, který uživatel psal"));
    try {
        query().post();
        FAIL() << "no error";
    } catch (const db::DatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Chyba v databázi „%1“: database or disk is full").arg(where));
    }
    EXPECT_EQ(query().state(), State::Edit);
    EXPECT_EQ(query().value(kObsah).toString(), QStringLiteral("dlouhý text, který uživatel psal"));
    // A move cannot lose the text either: it tries to post and fails.
    EXPECT_THROW(query().next(), db::DatabaseError);
    EXPECT_EQ(query().recNo(), 1);
    EXPECT_EQ(query().value(kNazev).toString(), QStringLiteral("odmítnuto"));
    query().setValue(kNazev, QStringLiteral("přijato"));
    query().post();
    EXPECT_EQ(valueInFile(currentId(), QStringLiteral("obsah")).toString(),
              QStringLiteral("dlouhý text, který uživatel psal"));
}

TEST_P(Query, ARowChangedOrDeletedByAnotherProgramIsNotOverwritten)
{
    const qint64 id = currentId();
    query().edit();
    query().setValue(kNazev, QStringLiteral("moje změna"));
    runInFile(QStringLiteral("UPDATE vorlin SET nazev = 'cizí změna' WHERE \"ID\" = %1").arg(id));
    EXPECT_THROW(query().post(), db::RowChangedError);
    EXPECT_EQ(query().state(), State::Edit);
    EXPECT_EQ(valueInFile(id, QStringLiteral("nazev")).toString(), QStringLiteral("cizí změna"));

    query().cancel();
    query().next();
    const qint64 other = currentId();
    query().edit();
    query().setValue(QStringLiteral("tag"), QStringLiteral("nový"));
    runInFile(QStringLiteral("DELETE FROM vorlin WHERE \"ID\" = %1").arg(other));
    const db::SaveOutcome conflict = query().saveEdit();
    EXPECT_TRUE(conflict.rowIsGone());
    query().saveAfterConflict(conflict, db::ConflictChoice::Overwrite);  // the user's answer: saved anew
    EXPECT_EQ(query().state(), State::Browse);
    EXPECT_EQ(query().value(QStringLiteral("tag")).toString(), QStringLiteral("nový"));
    EXPECT_NE(currentId(), other);
    EXPECT_EQ(valueInFile(currentId(), QStringLiteral("tag")).toString(), QStringLiteral("nový"));
}

TEST_P(Query, NotificationsFollowTheQuery)
{
    QSignalSpy scrolled(&dm->Vorlin_DataSource, &db::DataSource::scrolled);
    QSignalSpy state(&dm->Vorlin_DataSource, &db::DataSource::stateChanged);
    QSignalSpy changed(&dm->Vorlin_DataSource, &db::DataSource::recordChanged);
    QSignalSpy dataSet(&dm->Vorlin_DataSource, &db::DataSource::dataSetChanged);
    QSignalSpy inserted(&dm->Vorlin_DataSource, &db::DataSource::rowsInserted);

    query().next();
    EXPECT_EQ(scrolled.size(), 1);

    // Auto-edit: a control that is edited puts the query into editing.
    EXPECT_TRUE(dm->Vorlin_DataSource.edit());
    EXPECT_EQ(query().state(), State::Edit);
    EXPECT_EQ(state.size(), 1);

    // Before a post the controls write their pending edits.
    {
        QObject control;
        dm->Vorlin_DataSource.addEditWriter(&control, [this] {
            query().setValue(QStringLiteral("tag"), QStringLiteral("z ovládacího prvku"));
        });
        query().post();
    }
    EXPECT_EQ(query().value(QStringLiteral("tag")).toString(), QStringLiteral("z ovládacího prvku"));
    EXPECT_GE(changed.size(), 2);
    EXPECT_EQ(changed.last().first().toString(), QString());

    dm->Vorlin_DataSource.setAutoEdit(false);
    EXPECT_FALSE(dm->Vorlin_DataSource.edit());
    const int at = query().currentRow();
    query().insert();
    EXPECT_EQ(dataSet.size(), 0);  // the new row comes in where it is typed
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0], (QList<QVariant>{at, 1}));
}

TEST_P(Query, AControlThatCannotWriteItsEditStopsThePost)
{
    const qint64 id = currentId();
    query().edit();
    query().setValue(kNazev, QStringLiteral("změněno"));
    QObject control;
    dm->Vorlin_DataSource.addEditWriter(&control, [] { throw Error(QStringLiteral("Field 'x' not found")); });
    EXPECT_THROW(query().post(), Error);
    EXPECT_EQ(query().state(), State::Edit);
    EXPECT_EQ(valueInFile(id, kNazev).toString(), QStringLiteral("Adresa Brno"));
}

TEST_P(Query, CommandDeletesEveryRowInTheJetForm)
{
    dm->ADOCommand1.setCommandText(QStringLiteral("DELETE * FROM vorlin"));
    EXPECT_EQ(dm->ADOCommand1.execute(), 6);
    query().close();
    query().open();
    EXPECT_TRUE(query().isEmpty());
    EXPECT_EQ(rowsInFile(), 0);
}

TEST_P(Query, TheOrderByLineSortsInTheTextOrderOfTheUsersLanguage)
{
    runInFile(QStringLiteral("DELETE FROM vorlin"));
    addRows({{"Zeman", "b", "", ""}, {"šance", "a", "", ""}, {"chata", "b", "", ""}, {"Brno", "a", "", ""},
             {"Čestné", "b", "", ""}, {"ahoj", "a", "", ""}, {"Hrad", "b", "", ""}, {"Dům", "a", "", ""},
             {"Cena", "b", "", ""}, {QString(), "a", "", ""}});
    query().setTextOrder(db::czechTextOrder());
    query().close();
    query().open();
    EXPECT_EQ(listedNames(),
              (QStringList{"", "ahoj", "Brno", "Cena", "Čestné", "Dům", "Hrad", "chata", "šance", "Zeman"}));

    sortBy(kNazev, true);
    EXPECT_EQ(listedNames(),
              (QStringList{"Zeman", "šance", "chata", "Hrad", "Dům", "Čestné", "Cena", "Brno", "ahoj", ""}));

    // Rows of equal kinds come in the database's own order, whichever way.
    const auto kindsAndNames = [this] {
        QStringList kinds;
        QStringList names;
        for (int row = 0; row < query().recordCount(); ++row) {
            kinds << query().valueAt(row, QStringLiteral("druh")).toString();
            names << query().valueAt(row, kNazev).toString();
        }
        return std::pair(kinds.join(QString()), names);
    };
    sortBy(QStringLiteral("druh"), false);
    const auto ascending = kindsAndNames();
    EXPECT_EQ(ascending.first, QStringLiteral("aaaaabbbbb"));
    sortBy(QStringLiteral("druh"), true);
    const auto descending = kindsAndNames();
    EXPECT_EQ(descending.first, QStringLiteral("bbbbbaaaaa"));
    EXPECT_EQ(descending.second.mid(0, 5), ascending.second.mid(5, 5));

    // The key, a number, in the order of numbers.
    sortBy(kId, true);
    EXPECT_EQ(listedNames().first(), QString());
}

TEST_P(Query, NamesAlikeInTheirLettersAreOrderedByAccentsThenCase)
{
    runInFile(QStringLiteral("DELETE FROM vorlin"));
    addRows({{"ádresa", "1", "", ""}, {"Adresa", "2", "", ""}, {"adresa", "3", "", ""}, {"adresa", "4", "", ""},
             {"adres", "5", "", ""}, {"adresy", "6", "", ""}});
    query().setTextOrder(db::czechTextOrder());
    query().close();
    query().open();
    QStringList kinds;
    for (int row = 0; row < query().recordCount(); ++row)
        kinds << query().valueAt(row, QStringLiteral("druh")).toString();
    EXPECT_EQ(listedNames(), (QStringList{"adres", "adresa", "adresa", "Adresa", "ádresa", "adresy"}));
    EXPECT_EQ(kinds.mid(1, 2), (QStringList{"3", "4"}));  // equal names in the database's order
}

TEST_P(Query, ALongListIsSortedWholeInBothDirections)
{
    // Enough rows for the sort to work in two halves at once.
    const QStringList names{"Černý", "cerny", "Chata", "hrad", "Hrad", "Žena", "zeď", "Ábel", "abel", "", "10", "9"};
    QList<Snippet> rows;
    for (int i = 0; i < 30000; ++i)
        rows.append({names[(i * 7) % names.size()] + (i % 5 == 0 ? QString() : QString::number(i % 97)), "", "", ""});
    runInFile(QStringLiteral("DELETE FROM vorlin"));
    addRows(rows);
    const auto order = db::czechTextOrder();
    query().setTextOrder(order);
    for (const char* direction : {"asc", "desc"}) {
        sortBy(kNazev, direction[0] == 'd');
        const QStringList listed = listedNames();
        ASSERT_EQ(listed.size(), 30000);
        for (qsizetype i = 1; i < listed.size(); ++i) {
            const int compared = order->compare(listed[i - 1].toStdString(), listed[i].toStdString());
            ASSERT_TRUE(direction[0] == 'a' ? compared <= 0 : compared >= 0)
                << direction << ": " << listed[i - 1].toStdString() << " / " << listed[i].toStdString();
        }
        // A search among them (tried in two halves too) keeps the order.
        search({{db::LikeTerm{kNazev, QStringLiteral("%rn%")}}});
        QStringList found;
        for (const QString& name : listed)
            if (name.contains(QStringLiteral("rn"), Qt::CaseInsensitive))
                found << name;
        EXPECT_EQ(listedNames(), found) << direction;
        search({});
    }
}
