#include "support/StoreFixture.h"

#include "app/ErrorBox.h"
#include "common/Error.h"
#include "data/FontText.h"
#include "data/IniFile.h"
#include "data/Settings.h"
#include "support/ModalAnswerer.h"

#include <QFile>

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

TEST_F(DataModule, AFileThatCannotBeOpenedReportsTheEnginesErrorAndTheQueryStaysClosed)
{
    struct Case {
        const char* what;
        std::function<void()> spoil;
        const char* message;
    };
    db::Database* holder = nullptr;
    std::unique_ptr<db::Database> locker;
    const Case cases[] = {
        {"missing", [&] { QFile::remove(databaseFile()); }, "unable to open database file"},
        {"not a database",
         [&] {
             QFile::remove(databaseFile());
             dir.write(QStringLiteral("Jan Novák/Data (účetní)/vorlin.mdb"), QByteArray(4096, 'x'));
         },
         "file is not a database"},
        {"locked by another program",
         [&] {
             locker = std::make_unique<db::Database>(databaseFile());
             locker->execute(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE"));
             holder = locker.get();
         },
         "database is locked"},
    };
    for (const Case& c : cases) {
        QFile::remove(databaseFile());
        QFile::copy(QStringLiteral(VORLIN_EXE_DIR "vorlin.mdb"), databaseFile());
        QFile::setPermissions(databaseFile(), QFile::ReadOwner | QFile::WriteOwner);
        c.spoil();
        dm = std::make_unique<TDM>();
        try {
            dm->DataModuleCreate();
            ADD_FAILURE() << c.what << ": no error";
        } catch (const db::DatabaseError& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message)) << c.what;
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
    EXPECT_EQ(answerer.seen()[0].text, QStringLiteral("unable to open database file."));
    // The file comes back: the next open of the query connects.
    QFile::copy(QStringLiteral(VORLIN_EXE_DIR "vorlin.mdb"), databaseFile());
    QFile::setPermissions(databaseFile(), QFile::ReadOwner | QFile::WriteOwner);
    dm->Vorlin_ADOQuery.open();
    EXPECT_TRUE(dm->Vorlin_ADOQuery.isActive());
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
