// The office's library on a PostgreSQL server of the test's own: what one
// colleague's copy of the program writes, the other's shows; nobody's text
// is overwritten unseen; hostile texts come back as they went in.
#include "support/PostgresServer.h"
#include "support/StoreFixture.h"

#include "common/Error.h"
#include "db/PostgresStore.h"
#include "db/RowSet.h"
#include "db/ServerMirror.h"
#include "db/Sqlite.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <thread>

using namespace vorlin;
using namespace vorlin::test;

namespace {

const QString kNazev = QStringLiteral("nazev");
const QString kObsah = QStringLiteral("obsah");

class ServerLibrary : public StoreFixture {
protected:
    void SetUp() override
    {
        useServer();
        addRows({{"Adresa Brno", "adresa", "brno", "soud"}, {"Podpis", "podpis", "JUDr. Novák", QString()},
                 {"Smlouva o dílo", "petit", "dilo", "stavba"}});
        openStore();
        colleague = std::make_unique<TDM>();
        colleague->library = serverLibrary();
        colleague->DataModuleCreate();
    }

    db::Query& theirs() { return colleague->Vorlin_ADOQuery; }

    // Waits until this copy's list was refreshed by what another wrote.
    void waitForRefresh(QSignalSpy& refreshed) { EXPECT_TRUE(refreshed.count() > 0 || refreshed.wait(5000)); }

    std::unique_ptr<TDM> colleague;
};

}  // namespace

TEST_F(ServerLibrary, AColleaguesWritesShowWithoutAClickKeepingTheSearchOrderAndCurrentRow)
{
    db::Selection searched = query().selection();
    searched.filter = {{{kNazev, QStringLiteral("%o%")}}};
    searched.descending = true;
    query().setSelection(searched);
    query().open();
    ASSERT_TRUE(query().locate(kNazev, QStringLiteral("Podpis")));

    struct Step {
        const char* what;
        std::function<void()> write;
        QStringList listed;
        QList<int> told;  // rows inserted (+) or removed (-) as (sign, first), none: repainted
    };
    const Step steps[] = {
        {"an insertion",
         [&] {
             theirs().insert();
             theirs().setValue(kNazev, QStringLiteral("Odvolání"));
             theirs().post();
         },
         {"Smlouva o dílo", "Podpis", "Odvolání", "Adresa Brno"},
         {+1, 2}},
        {"an edit",
         [&] {
             ASSERT_TRUE(theirs().locate(kNazev, QStringLiteral("Adresa Brno")));
             theirs().edit();
             theirs().setValue(kNazev, QStringLiteral("Adresa Olomouc"));
             theirs().post();
         },
         {"Smlouva o dílo", "Podpis", "Odvolání", "Adresa Olomouc"},
         {}},
        {"a deletion",
         [&] {
             ASSERT_TRUE(theirs().locate(kNazev, QStringLiteral("Smlouva o dílo")));
             theirs().remove();
         },
         {"Podpis", "Odvolání", "Adresa Olomouc"},
         {-1, 0}},
    };
    for (const Step& step : steps) {
        QSignalSpy refreshed(&query(), &db::Query::scrolled);  // where a refresh ends
        // The list is never read anew: one row is told to come or go.
        QSignalSpy readAnew(&query(), &db::Query::dataSetChanged);
        QSignalSpy inserted(&query(), &db::Query::rowsInserted);
        QSignalSpy removed(&query(), &db::Query::rowsRemoved);
        step.write();
        waitForRefresh(refreshed);
        EXPECT_TRUE(readAnew.isEmpty()) << step.what;
        QList<int> told;
        for (const auto& [spy, sign] : {std::pair{&inserted, +1}, std::pair{&removed, -1}})
            for (const QList<QVariant>& arguments : *spy)
                told << sign * arguments[1].toInt() << arguments[0].toInt();
        EXPECT_EQ(told, step.told) << step.what;
        EXPECT_EQ(listedNames(), step.listed) << step.what;
        EXPECT_EQ(query().value(kNazev).toString(), QStringLiteral("Podpis")) << step.what;
    }
}

TEST_F(ServerLibrary, AnEditInProgressIsNotTouchedAndTheRefreshFollowsItsSave)
{
    ASSERT_TRUE(query().locate(kNazev, QStringLiteral("Podpis")));
    query().edit();
    query().setValue(kObsah, QStringLiteral("rozepsaný podpis"));
    QSignalSpy heard(&dm->ADOConnection1, &db::Connection::changedElsewhere);
    ASSERT_TRUE(theirs().locate(kNazev, QStringLiteral("Adresa Brno")));
    theirs().edit();
    theirs().setValue(kNazev, QStringLiteral("Adresa Zlín"));
    theirs().post();
    ASSERT_TRUE(heard.wait(5000));
    EXPECT_EQ(query().state(), db::Query::State::Edit);
    EXPECT_EQ(query().value(kObsah).toString(), QStringLiteral("rozepsaný podpis"));

    QSignalSpy refreshed(&query(), &db::Query::scrolled);
    query().post();
    waitForRefresh(refreshed);
    EXPECT_EQ(listedNames(), (QStringList{"Adresa Zlín", "Podpis", "Smlouva o dílo"}));
    EXPECT_EQ(query().value(kObsah).toString(), QStringLiteral("rozepsaný podpis"));
}

TEST_F(ServerLibrary, TheSecondSaveOfOneSnippetFindsItChangedOrGoneWhicheverCopySavesFirst)
{
    struct Case {
        const char* what;
        bool oursFirst;
        bool deleted;
    };
    for (const Case c : {Case{"they save first", false, false}, Case{"we save first", true, false},
                         Case{"they delete it", false, true}}) {
        SCOPED_TRACE(c.what);
        query().close();
        query().open();
        theirs().close();
        theirs().open();
        ASSERT_TRUE(query().locate(kNazev, QStringLiteral("Podpis")));
        ASSERT_TRUE(theirs().locate(kNazev, QStringLiteral("Podpis")));
        db::Query& first = c.oursFirst ? query() : theirs();
        db::Query& second = c.oursFirst ? theirs() : query();
        second.edit();
        const QString firstText = QStringLiteral("text prvního, ") + QString::fromUtf8(c.what);
        const QString secondText = QStringLiteral("text druhého, ") + QString::fromUtf8(c.what);
        second.setValue(kObsah, secondText);
        QSignalSpy heard(&(c.oursFirst ? *colleague : *dm).ADOConnection1, &db::Connection::changedElsewhere);
        if (c.deleted) {
            first.remove();
        } else {
            first.edit();
            first.setValue(kObsah, firstText);
            first.post();
        }
        EXPECT_TRUE(heard.wait(5000));
        const db::SaveOutcome conflict = second.saveEdit();
        EXPECT_EQ(conflict.what, c.deleted ? db::SaveOutcome::What::RowGone : db::SaveOutcome::What::RowChanged);
        EXPECT_EQ(second.state(), db::Query::State::Edit);
        EXPECT_EQ(second.value(kObsah).toString(), secondText);
        second.cancel();
        if (!c.deleted) {
            EXPECT_EQ(valueInFile(first.value(QStringLiteral("ID")).toLongLong(), kObsah).toString(), firstText);
        }
    }
}

TEST_F(ServerLibrary, HostileTextsComeBackAsTheyWentIn)
{
    const QString megabyte = QString(QStringLiteral("{\\rtf1 Příliš žluťoučký kůň \\'e8 ")).repeated(30000);
    const QStringList texts{QStringLiteral("O'Neil \"uvozovky\" ''"), QStringLiteral("C:\\cesta\\n\\\\"),
                            QStringLiteral("$1 $$ %_ ; DROP TABLE vorlin; --"), QStringLiteral("𝄞 emoji 😀 ß İ"),
                            megabyte};
    for (const QString& text : texts) {
        query().insert();
        query().setValue(kNazev, text.left(200));
        query().setValue(kObsah, text);
        query().post();
        const qint64 id = query().value(QStringLiteral("ID")).toLongLong();
        EXPECT_EQ(valueInFile(id, kObsah).toString(), text) << text.left(40).toStdString();
        QSignalSpy refreshed(&theirs(), &db::Query::dataSetChanged);
        refreshed.wait(5000);
        ASSERT_TRUE(theirs().locate(QStringLiteral("ID"), id));
        EXPECT_EQ(theirs().value(kObsah).toString(), text);
        EXPECT_EQ(theirs().value(kNazev).toString(), text.left(200));
    }
    // The server's texts cannot hold the character 0: the save is refused
    // with a clear word and the text stays in the editor.
    query().insert();
    query().setValue(kObsah, QStringLiteral("před") + QChar(u'\0') + QStringLiteral("po"));
    EXPECT_THROW(query().post(), db::DatabaseError);
    EXPECT_EQ(query().state(), db::Query::State::Insert);
    EXPECT_EQ(query().value(kObsah).toString().size(), 7);
}

TEST_F(ServerLibrary, ARoleThatMayOnlyReadGetsTheRowsButCannotWrite)
{
    PostgresServer& server = PostgresServer::shared();
    server.run(serverDatabase, QStringLiteral("CREATE ROLE ctenar LOGIN; GRANT SELECT ON vorlin, vorlin_smazane TO ctenar"));
    TDM reader;
    reader.library = {server.uri(serverDatabase), QStringLiteral("ctenar")};
    reader.DataModuleCreate();
    db::Query& rows = reader.Vorlin_ADOQuery;
    EXPECT_EQ(rows.recordCount(), 3);
    EXPECT_TRUE(reader.ADOConnection1.store().isReadOnly());
    EXPECT_FALSE(rows.canModify());
    EXPECT_THROW(rows.insert(), Error);
    EXPECT_THROW(rows.edit(), Error);
    EXPECT_EQ(rowsInFile(), 3);
}

TEST_F(ServerLibrary, TwentyWritersAtOnceLoseNothingAndDoubleNothing)
{
    constexpr int kWriters = 20;
    constexpr int kSaves = 1000;
    constexpr int kIncrements = 10;
    runInFile(QStringLiteral("INSERT INTO vorlin (nazev, tag) VALUES ('počítadlo', '0')"));
    const qint64 counter = PostgresServer::shared().run(serverDatabase, QStringLiteral("SELECT \"ID\" FROM vorlin WHERE nazev = 'počítadlo'")).toLongLong();
    const db::PostgresStore::Address address{serverLibrary().server, serverLibrary().user, QString(), QString()};
    std::vector<std::thread> writers;
    std::atomic<int> failures{0};
    for (int writer = 0; writer < kWriters; ++writer) {
        writers.emplace_back([&, writer] {
            try {
                db::PostgresStore store(address);
                // A shared row raised by everybody: a save on an old version
                // is refused, read again and tried again.
                db::Selection one;
                one.table = QStringLiteral("vorlin");
                one.filter = {{{kNazev, QStringLiteral("počítadlo")}}};
                const QStringList columns{QStringLiteral("ID"), kNazev, QStringLiteral("tag")};
                for (int done = 0; done < kIncrements;) {
                    db::RowSet rows;
                    store.read(one, columns, false, rows);
                    if (rows.rowCount() != 1)
                        throw Error(QStringLiteral("the shared row is not read"));
                    const int value = rows.value(0, 2).toInt();
                    try {
                        store.update(one.table, QStringLiteral("ID"), counter,
                                     {{QStringLiteral("tag"), QString::number(value + 1), QString::number(value)}});
                        ++done;
                    } catch (const db::RowChangedError&) {
                    }
                }
                for (int save = 0; save < kSaves; ++save)
                    store.insert(QStringLiteral("vorlin"),
                                 {{kNazev, QStringLiteral("%1/%2").arg(writer).arg(save)}}, {QStringLiteral("ID")});
            } catch (const Error& e) {
                ++failures;
                ADD_FAILURE() << e.message().toStdString();
            }
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    EXPECT_EQ(failures, 0);
    PostgresServer& server = PostgresServer::shared();
    EXPECT_EQ(server.run(serverDatabase, QStringLiteral("SELECT count(DISTINCT nazev) FROM vorlin WHERE nazev LIKE '%/%'")).toInt(),
              kWriters * kSaves);
    EXPECT_EQ(rowsInFile(), 3 + 1 + kWriters * kSaves);
    EXPECT_EQ(valueInFile(counter, QStringLiteral("tag")).toString(), QString::number(kWriters * kIncrements));
}

TEST_F(ServerLibrary, ASaveWhileTheServerIsGoneKeepsTheTextAndTheSaveAfterItsReturnStoresIt)
{
    ASSERT_TRUE(query().locate(kNazev, QStringLiteral("Podpis")));
    const qint64 id = query().value(QStringLiteral("ID")).toLongLong();
    query().edit();
    query().setValue(kObsah, QStringLiteral("psáno během výpadku"));
    PostgresServer::shared().kill();
    EXPECT_THROW(query().post(), db::DatabaseError);
    EXPECT_EQ(query().state(), db::Query::State::Edit);
    EXPECT_EQ(query().value(kObsah).toString(), QStringLiteral("psáno během výpadku"));
    EXPECT_TRUE(dm->libraryIsAway());  // the copy here is read meanwhile

    PostgresServer::shared().start();
    query().post();
    EXPECT_EQ(valueInFile(id, kObsah).toString(), QStringLiteral("psáno během výpadku"));
    EXPECT_FALSE(dm->libraryIsAway());
}

TEST_F(ServerLibrary, AServerAwayAtStartShowsTheLastCopyReadOnlyAndComesBackByItself)
{
    colleague.reset();
    dm.reset();
    PostgresServer& server = PostgresServer::shared();
    server.kill();
    openStore();
    EXPECT_EQ(listedNames(), (QStringList{"Adresa Brno", "Podpis", "Smlouva o dílo"}));
    ASSERT_TRUE(query().locate(kNazev, QStringLiteral("Podpis")));
    EXPECT_EQ(query().value(kObsah).toString(), QStringLiteral("JUDr. Novák"));
    EXPECT_EQ(dm->libraryRestriction(), QStringLiteral("Server kanceláře není dostupný — knihovna je jen ke čtení"));
    EXPECT_FALSE(query().canModify());
    EXPECT_THROW(query().insert(), Error);

    server.start();
    server.run(serverDatabase, QStringLiteral("INSERT INTO vorlin (nazev) VALUES ('Přidáno během výpadku')"));
    QSignalSpy back(&dm->ADOConnection1, &db::Connection::awayChanged);
    ASSERT_TRUE(back.wait(10000));
    for (int tries = 0; tries < 50 && query().recordCount() != 4; ++tries)
        QTest::qWait(100);
    EXPECT_EQ(query().recordCount(), 4);
    EXPECT_TRUE(query().canModify());
    EXPECT_TRUE(dm->libraryRestriction().isEmpty());
}

TEST_F(ServerLibrary, AFirstCopyCutShortIsNotShownForTheLibraryWhileTheServerIsAway)
{
    colleague.reset();
    dm.reset();
    const QString mirror = dataDir + QStringLiteral("knihovna_serveru.mdb");
    QFile::remove(mirror);
    db::ServerMirror noted(mirror, serverLibrary().server);  // the server noted, no rows taken yet
    PostgresServer& server = PostgresServer::shared();
    server.kill();
    EXPECT_THROW(db::PostgresStore({serverLibrary().server, serverLibrary().user, QString(), mirror}), db::DatabaseError);
    server.start();
}

TEST_F(ServerLibrary, AServerThatDoesNotAnswerLeavesTheWindowServingWhileTheProgramWaitsForIt)
{
    PostgresServer& server = PostgresServer::shared();
    server.kill();
    // Something takes the server's port and never answers: libpq waits for
    // it up to the connection timeout.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, quint16(server.port())));
    QElapsedTimer watched;
    watched.start();
    qint64 longestGapMs = 0;
    for (qint64 last = 0; watched.elapsed() < 4000;) {
        QTest::qWait(20);
        longestGapMs = std::max(longestGapMs, watched.elapsed() - last);
        last = watched.elapsed();
    }
    EXPECT_LT(longestGapMs, 1000);
    EXPECT_TRUE(dm->libraryIsAway());
    // A start meanwhile shows the copy kept here.
    colleague.reset();
    openStore();
    EXPECT_TRUE(dm->libraryIsAway());
    EXPECT_EQ(listedNames(), (QStringList{"Adresa Brno", "Podpis", "Smlouva o dílo"}));

    silent.close();
    server.start();
    QSignalSpy back(&dm->ADOConnection1, &db::Connection::awayChanged);
    EXPECT_TRUE(back.wait(20000));
    EXPECT_FALSE(dm->libraryIsAway());
}

TEST_F(ServerLibrary, TheCopyKeptHereFollowsEveryChangeAndIsShownWhenTheServerIsAway)
{
    const qint64 podpis = idInFile(QStringLiteral("Podpis"));
    runInFile(QStringLiteral("UPDATE vorlin SET obsah = 'změněno kolegou' WHERE \"ID\" = %1").arg(podpis));
    runInFile(QStringLiteral("DELETE FROM vorlin WHERE nazev = 'Smlouva o dílo'"));
    runInFile(QStringLiteral("INSERT INTO vorlin (nazev, obsah) VALUES ('Nový', 'přidáno kolegou')"));
    // The server goes away once the program showed the changes and the copy
    // kept here took them (a moment later, on a thread of its own).
    const auto copyHoldsTheNewRow = [&] {
        try {
            db::Database copy(dataDir + QStringLiteral("knihovna_serveru.mdb"));
            db::Statement found(copy, QStringLiteral("SELECT count(*) FROM vorlin WHERE nazev = 'Nový'"));
            return found.step() && found.column(0).toInt() == 1;
        } catch (const Error&) {
            return false;  // being written
        }
    };
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return listedNames() == QStringList{"Adresa Brno", "Nový", "Podpis"} && copyHoldsTheNewRow(); }, 10000));
    colleague.reset();
    PostgresServer& server = PostgresServer::shared();
    server.kill();
    openStore();
    EXPECT_EQ(listedNames(), (QStringList{"Adresa Brno", "Nový", "Podpis"}));
    EXPECT_EQ(dm->bodyOf(podpis), QStringLiteral("změněno kolegou"));
    EXPECT_TRUE(dm->libraryIsAway());
    server.start();
}

TEST_F(ServerLibrary, APasswordTheServerAsksForIsAskedAgainWhenRefused)
{
    PostgresServer& server = PostgresServer::shared();
    server.addRoleWithPassword(QStringLiteral("heslar"), QStringLiteral("tajné heslo"));
    server.run(serverDatabase, QStringLiteral("GRANT SELECT ON vorlin, vorlin_smazane TO heslar"));
    const QString address = serverLibrary().server;
    const QString asks = QStringLiteral("Server kanceláře „%1“ žádá heslo uživatele „heslar“.").arg(address);
    const QString refuses = QStringLiteral("Server kanceláře „%1“ heslo uživatele „heslar“ nepřijal: ").arg(address);
    const struct {
        QStringList answers;
        bool opens;
        QStringList asked;  // the beginnings of the questions
    } cases[] = {
        {{"tajné heslo"}, true, {asks}},
        {{"špatné", "tajné heslo"}, true, {asks, refuses}},
        {{"špatné", ""}, false, {asks, refuses}},
    };
    for (const auto& c : cases) {
        TDM data;
        data.library = {address, QStringLiteral("heslar")};
        QStringList answers = c.answers;
        QStringList asked;
        data.askPassword = [&](const QString& why) {
            asked << why;
            return answers.takeFirst();
        };
        if (c.opens) {
            data.DataModuleCreate();
            EXPECT_EQ(data.Vorlin_ADOQuery.recordCount(), 3);
        } else {
            EXPECT_THROW(data.DataModuleCreate(), db::DatabaseError);
        }
        ASSERT_EQ(asked.size(), c.asked.size()) << c.answers.join(u'|').toStdString();
        for (int i = 0; i < asked.size(); ++i)
            EXPECT_TRUE(asked[i].startsWith(c.asked[i])) << asked[i].toStdString();
    }
}

TEST_F(ServerLibrary, EachRunningCopyHoldsOneConnectionOfTheServersOnceItsCopyIsCurrent)
{
    runInFile(QStringLiteral("UPDATE vorlin SET tag = 'hromadně'"));  // both copies keep their copy current
    const QString connections = QStringLiteral(
        "SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() AND application_name = 'Vorlin'");
    PostgresServer& server = PostgresServer::shared();
    for (int tries = 0; tries < 100 && server.run(serverDatabase, connections) != QStringLiteral("2"); ++tries)
        QTest::qWait(50);
    EXPECT_EQ(server.run(serverDatabase, connections), QStringLiteral("2"));
}
