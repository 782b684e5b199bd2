#include "support/StoreFixture.h"

#include "ui/shell/ErrorBox.h"
#include "common/Error.h"
#include "common/Paths.h"
#include "data/FontText.h"
#include "data/IniFile.h"
#include "data/Settings.h"
#include "data/SnippetSearch.h"
#include "db/FirstRows.h"
#include "support/ModalAnswerer.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

using namespace vorlin;
using namespace vorlin::test;
using State = db::Query::State;

namespace {

// Stands in for the main window's body editor.
class FakeBodyEditor : public BodyEditorAccess {
public:
    bool hidden = false;
    int focused = 0;
    std::optional<Font> font;

    void focusBodyEditor() override
    {
        if (hidden)
            throw Error(QStringLiteral("Cannot focus a disabled or invisible window"));
        ++focused;
    }
    void setBodyEditorFont(const Font& f) override { font = f; }
};

class DataModule : public StoreFixture {
protected:
    void writeDefaultFont(const QString& fontText)
    {
        IniFile(settings::filePath(dataDir)).writeString(settings::kSection, settings::kFontKey, fontText);
    }

    FakeBodyEditor editor;
};

}  // namespace

TEST_F(DataModule, ConnectionStringNamesTheFileAsItStands)
{
    openStore();
    EXPECT_EQ(dm->ADOConnection1.connectionString(),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=") + dataDir
                  + QStringLiteral("vorlin.mdb"));
    EXPECT_TRUE(dataDir.contains(QStringLiteral("Novák/Data (účetní)")));
    EXPECT_TRUE(dm->ADOConnection1.isConnected());
    EXPECT_TRUE(query().isActive());
}

TEST_F(DataModule, AFileThatCannotBeOpenedIsNamedWithWhatIsWrongAndTheQueryStaysClosed)
{
    struct Case {
        const char* what;
        std::function<void()> spoil;
        const char* message;  // %1: the file
    };
    db::Database* holder = nullptr;
    std::unique_ptr<db::Database> locker;
    const Case cases[] = {
        {"missing", [&] { QFile::remove(databaseFile()); },
         "Soubor „%1“ nebyl nalezen: unable to open database file"},
        {"dangling link",
         [&] {
             QFile::remove(databaseFile());
             QFile::link(dataDir + QStringLiteral("jinde.mdb"), databaseFile());
         },
         "Soubor „%1“ je odkaz na soubor, který neexistuje: unable to open database file"},
        {"a folder",
         [&] {
             QFile::remove(databaseFile());
             QDir().mkpath(databaseFile());
         },
         "„%1“ je složka, ne databáze programu Vorlin: unable to open database file"},
        {"not a database",
         [&] {
             QFile::remove(databaseFile());
             dir.write(QStringLiteral("Jan Novák/Data (účetní)/vorlin.mdb"), QByteArray(4096, 'x'));
         },
         "Soubor „%1“ není databáze programu Vorlin: file is not a database"},
        {"another database", [&] { runInFile(QStringLiteral("DROP TABLE vorlin")); },
         "Soubor „%1“ není databáze programu Vorlin: no such table: vorlin"},
        {"locked by another program",
         [&] {
             locker = std::make_unique<db::Database>(databaseFile());
             locker->execute(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE"));
             holder = locker.get();
         },
         "Soubor „%1“ má zamčený jiný program: database is locked"},
    };
    for (const Case& c : cases) {
        locker.reset();
        QDir(databaseFile()).removeRecursively();
        QFile::remove(databaseFile());
        QFile::copy(QStringLiteral(VORLIN_EXE_DIR "vorlin.mdb"), databaseFile());
        QFile::setPermissions(databaseFile(), QFile::ReadOwner | QFile::WriteOwner);
        c.spoil();
        dm = std::make_unique<TDM>();
        try {
            dm->DataModuleCreate();
            ADD_FAILURE() << c.what << ": no error";
        } catch (const db::DatabaseError& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message).arg(databaseFile())) << c.what;
        }
        EXPECT_FALSE(dm->Vorlin_ADOQuery.isActive()) << c.what;
        EXPECT_EQ(dm->Vorlin_ADOQuery.recordCount(), 0);
    }
    (void)holder;
}

TEST_F(DataModule, StartUpShowsTheErrorAndGoesOn)
{
    QFile::remove(databaseFile());
    dm = std::make_unique<TDM>();
    ModalAnswerer answerer;
    EXPECT_FALSE(runShowingErrors([this] { dm->DataModuleCreate(); }));
    ASSERT_EQ(answerer.seen().size(), 1);
    EXPECT_EQ(answerer.seen()[0].text,
              QStringLiteral("Soubor „%1“ nebyl nalezen: unable to open database file.").arg(databaseFile()));
    // The file comes back: the next open of the query connects.
    QFile::copy(QStringLiteral(VORLIN_EXE_DIR "vorlin.mdb"), databaseFile());
    QFile::setPermissions(databaseFile(), QFile::ReadOwner | QFile::WriteOwner);
    dm->Vorlin_ADOQuery.open();
    EXPECT_TRUE(dm->Vorlin_ADOQuery.isActive());
}

// A start shows the first rows kept at the last end while it reads the
// table behind them; whatever became of the file or of the rows kept, and
// whatever the user did before the rest arrived, the list ends whole, in
// its order, as a start without them shows it.
TEST_F(DataModule, FirstRowsKeptAtTheEndShowAtOnceAndTheListEndsWhole)
{
    QList<Snippet> many;
    for (int i = 0; i < 150; ++i)
        many << Snippet{(i % 3 ? QStringLiteral("Smlouva %1") : QStringLiteral("Čestné prohlášení %1")).arg(i, 3, 10, QLatin1Char('0')),
                        {}, QStringLiteral("text"), QStringLiteral("klíč%1").arg(i)};
    addRows(many);
    const QString kept = dataDir + QStringLiteral("prvni_radky.json");
    const auto searchFor = [this](const QString& word) {
        query().reselect(search::selectionOf({.words = {word}}));
    };
    struct Case {
        const char* what;
        std::function<void()> meanwhile;  // after the last end
        bool shownFirst;
        int shownAtOnce;  // of the 150 or 151 in the file
        QString search;  // typed before the rest arrived
        QString added;   // a snippet added before the rest arrived
        QString renamed;  // the first snippet's new name, edited before the rest arrived
    } cases[] = {
        {"the file as it was left", [] {}, true, 100, {}, {}},
        {"another program added a row", [this] { addRows({{QStringLiteral("Plná moc"), {}, {}, {}}}); }, false, 151, {}, {}},
        {"the rows kept do not fit the file",
         [this, &kept] {
             db::FirstRows wrong{.order = {}, .rows = {}};
             wrong.order = db::readFirstRows(kept, *db::FileStamp::of(databaseFile()))->order;
             wrong.rows.clear(4);
             wrong.rows.appendInteger(999999);
             for (const char* text : {"Aaa, který tu není", "", ""})
                 wrong.rows.appendText(text, std::strlen(text));
             db::writeFirstRows(kept, *db::FileStamp::of(databaseFile()), wrong);
         },
         true, 1, {}, {}},
        {"the rows kept are damaged", [&kept] {
             QFile damaged(kept);
             ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
             damaged.write("{\"format\": 1, \"radky\": [[1,");
         }, false, 151, {}, {}},
        {"the order kept is damaged",
         [this] { QFile(dataDir + QStringLiteral("prvni_radky_poradi.bin")).resize(100); }, true, 100, {}, {}},
        {"a search typed at once", [] {}, true, 100, QStringLiteral("klíč149"), {}},
        {"a snippet added at once", [] {}, true, 100, {}, QStringLiteral("Advokátní plná moc")},
        {"a snippet renamed at once", [] {}, true, 100, {}, {}, QStringLiteral("Advokátní plná moc, opravená")},
    };
    for (const Case& c : cases) {
        openStore();
        dm.reset();  // the end before: the first rows kept
        c.meanwhile();
        openStore();
        EXPECT_EQ(query().isReadingBehind(), c.shownFirst) << c.what;
        const QStringList atOnce = listedNames();
        EXPECT_EQ(atOnce.size(), c.shownAtOnce) << c.what;
        if (!c.search.isEmpty())
            searchFor(c.search);
        if (!c.added.isEmpty()) {
            query().insert();
            query().setValue(QStringLiteral("nazev"), c.added);
            query().post();
        }
        if (!c.renamed.isEmpty()) {
            query().edit();
            EXPECT_TRUE(query().isReadingBehind()) << c.what;  // the edit waited for nothing
            query().setValue(QStringLiteral("nazev"), c.renamed);
            query().post();
        }
        query().awaitTable();
        const QStringList shown = listedNames();
        dm.reset();
        QFile::remove(kept);
        openStore();
        if (!c.search.isEmpty())
            searchFor(c.search);
        EXPECT_EQ(shown, listedNames()) << c.what;
        if (c.search.isEmpty() && c.added.isEmpty() && c.renamed.isEmpty() && c.shownAtOnce == 100)
            EXPECT_EQ(atOnce, shown.mid(0, 100)) << c.what;
        EXPECT_TRUE(c.added.isEmpty() || shown.contains(c.added)) << c.what;
        EXPECT_TRUE(c.renamed.isEmpty() || shown.contains(c.renamed)) << c.what;
    }
}

TEST_F(DataModule, OpenAddsTheSearchIndexAndTheRollbackJournal)
{
    runInFile(QStringLiteral("DROP INDEX vorlin_hledani; PRAGMA journal_mode = WAL"));
    openStore();
    dm.reset();
    db::Database database(databaseFile());
    db::Statement index(database, QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE name = 'vorlin_hledani'"));
    ASSERT_TRUE(index.step());
    EXPECT_EQ(index.column(0).toInt(), 1);
    db::Statement journal(database, QStringLiteral("PRAGMA journal_mode"));
    ASSERT_TRUE(journal.step());
    EXPECT_EQ(journal.column(0).toString(), QStringLiteral("delete"));
}

TEST_F(DataModule, InsertGivesTheEditorTheFocusAndTheDefaultFont)
{
    writeDefaultFont(fontSpecText({QStringLiteral("Arial"), 12, FontStyle::Bold, colors::clRed}));
    openStore();
    dm->setBodyEditor(&editor);
    query().insert();
    EXPECT_EQ(editor.focused, 1);
    ASSERT_TRUE(editor.font.has_value());
    EXPECT_EQ(*editor.font, (Font{QStringLiteral("Arial"), 12, FontStyle::Bold, colors::clRed}));
}

TEST_F(DataModule, DefaultFontWhenNoneIsSavedOrItIsBroken)
{
    struct Case {
        const char* stored;  // nullptr: no key
        Font expected;
    };
    Font arialOnly = Font::platformDefault();
    arialOnly.face = QStringLiteral("Arial");
    const Case cases[] = {
        {nullptr, Font::platformDefault()},
        {"\"Arial\", velke, [Bold], [clRed]", arialOnly},
    };
    for (const Case& c : cases) {
        QFile::remove(settings::filePath(dataDir));
        if (c.stored)
            writeDefaultFont(QString::fromUtf8(c.stored));
        openStore();
        dm->setBodyEditor(&editor);
        editor.font.reset();
        query().insert();
        ASSERT_TRUE(editor.font.has_value());
        EXPECT_EQ(*editor.font, c.expected) << (c.stored ? c.stored : "(none)");
    }
}

TEST_F(DataModule, AHiddenMainWindowAbortsTheInsertion)
{
    addRows({{"A", "adresa", "a", "a"}});
    openStore();
    dm->setBodyEditor(&editor);
    editor.hidden = true;
    try {
        query().insert();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Cannot focus a disabled or invisible window"));
    }
    EXPECT_EQ(query().state(), State::Browse);
    EXPECT_EQ(query().recordCount(), 1);
    EXPECT_FALSE(editor.font.has_value());
}

TEST_F(DataModule, EditOfTheEmptyListRunsTheInsertHooks)
{
    openStore();
    dm->setBodyEditor(&editor);
    query().edit();
    EXPECT_EQ(query().state(), State::Insert);
    EXPECT_EQ(editor.focused, 1);
    EXPECT_TRUE(editor.font.has_value());
}

TEST_F(DataModule, AFileTheUserMayNotWriteIsNamedAsReadOnly)
{
    // As a user without the right to write the file; root writes everything.
    openStore();
    const bool asRoot = geteuid() == 0;
    QFile::setPermissions(databaseFile(), QFile::ReadOwner | QFile::ReadOther);
    if (asRoot) {
        const QString top = QDir::cleanPath(dir.path());
        for (QString folder = QDir::cleanPath(dataDir); folder.startsWith(top); folder = QFileInfo(folder).path())
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                              | QFile::ExeOther);
        ASSERT_EQ(setegid(65534), 0);
        ASSERT_EQ(seteuid(65534), 0);
    }
    QString message;
    try {
        dm->DataModuleCreate();
        dm->Vorlin_ADOQuery.edit();
        dm->Vorlin_ADOQuery.setValue(QStringLiteral("nazev"), QStringLiteral("nový"));
        dm->Vorlin_ADOQuery.post();
    } catch (const Error& e) {
        message = e.message();
    }
    dm.reset();
    if (asRoot) {
        ASSERT_EQ(seteuid(0), 0);
        ASSERT_EQ(setegid(0), 0);
    }
    QFile::setPermissions(databaseFile(), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(message, QStringLiteral("Soubor „%1“ je jen pro čtení: attempt to write a readonly database")
                           .arg(databaseFile()));
}

TEST_F(DataModule, ADataFolderWithASemicolonOpens)
{
    const QString folder = dir.path() + QStringLiteral("Klient; spis 12/");
    QDir().mkpath(folder);
    ASSERT_TRUE(QFile::copy(databaseFile(), folder + QStringLiteral("vorlin.mdb")));
    setPaths({QStringLiteral(VORLIN_EXE_DIR), folder, folder + QStringLiteral("hledani/")});
    openStore();
    EXPECT_TRUE(dm->Vorlin_ADOQuery.isActive());
    EXPECT_EQ(db::Connection::dataSourceOf(dm->ADOConnection1.connectionString()), folder + QStringLiteral("vorlin.mdb"));
}
