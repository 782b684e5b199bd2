#include "data/DM_Unit.h"

#include "common/Error.h"
#include "common/Paths.h"
#include "data/FontText.h"
#include "data/SettingsFile.h"
#include "data/Settings.h"
#include "data/SnippetSearch.h"
#include "db/FirstRows.h"
#include "db/PostgresStore.h"
#include "db/TextOrder.h"

namespace vorlin {

namespace {

// About two screens of the list at the next start.
constexpr int kFirstRowsKept = 100;

QString firstRowsFile()
{
    return paths().dataDir + QStringLiteral("prvni_radky.json");
}

}  // namespace

TDM::TDM(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("DM"));
    Vorlin_ADOQuery.setObjectName(QStringLiteral("Vorlin_ADOQuery"));
    Vorlin_ADOQuery.setConnection(&ADOConnection1);
    Vorlin_ADOQuery.setTableCopy(snippetTable);
    // The quick-insert pop-up passes over rows without a word's letters.
    snippetTable.setLetterColumns({QStringLiteral("nazev"), QStringLiteral("tag")});
    // Every snippet, by name: the list as the program starts.
    Vorlin_ADOQuery.setSelection(search::selectionOf({}));
    Vorlin_ADOQuery.setKeyField(QStringLiteral("ID"));
    Vorlin_ADOQuery.setLargeColumn(QStringLiteral("obsah"));
    Vorlin_ADOQuery.setTextOrder(db::TextOrder::forLocale(QLocale().collation()));
    Vorlin_ADOQuery.beforeInsert = [this] { Vorlin_ADOQueryBeforeInsert(); };
    Vorlin_ADOQuery.afterInsert = [this] { Vorlin_ADOQueryAfterInsert(); };
    Vorlin_DataSource.setDataSet(&Vorlin_ADOQuery);
    ADOCommand1.setConnection(&ADOConnection1);
}

TDM::~TDM()
{
    // The list's first rows, kept for the next start with the state of the
    // file they came from once it is closed: shown at once while the
    // table is read.
    std::optional<db::FirstRows> first;
    QString file;
    if (ADOConnection1.isConnected() && ADOConnection1.isLocalFile()) {
        first = Vorlin_ADOQuery.firstRows(search::selectionOf({}), kFirstRowsKept);
        file = ADOConnection1.fileForReaders();
    }
    Vorlin_ADOQuery.close();
    ADOConnection1.close();
    // Rows kept before stay; they fit only the state of the file they came from.
    if (const std::optional<db::FileStamp> stamp = first ? db::FileStamp::of(file) : std::nullopt)
        db::writeFirstRows(firstRowsFile(), *stamp, *first);
}

QString TDM::connectionStringFor(const QString& dataDir)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=")
        + db::Connection::quotedValue(libraryFileIn(dataDir));
}

QString TDM::connectionStringFor(const LibraryAddress& server)
{
    return QStringLiteral("Provider=PostgreSQL;Data Source=") + db::Connection::quotedValue(server.server)
        + QStringLiteral(";User ID=") + db::Connection::quotedValue(server.user) + QStringLiteral(";Mirror=")
        + db::Connection::quotedValue(paths().dataDir + QStringLiteral("knihovna_serveru.mdb"));
}

void TDM::DataModuleCreate()
{
    ADOConnection1.close();
    ADOConnection1.setConnectionString(library.isServer() ? connectionStringFor(library)
                                                          : connectionStringFor(paths().dataDir));
    for (;;) {
        try {
            ADOConnection1.open();
            break;
        } catch (const db::PostgresStore::NeedsPassword& e) {
            const QString password = askPassword ? askPassword(e.message()) : QString();
            // A refused password is not tried again by the next opening.
            ADOConnection1.setPassword(password);
            if (password.isEmpty())
                throw;
        }
    }
    ensureSearchIndex();
    if (ADOConnection1.isLocalFile()) {
        const QString file = ADOConnection1.fileForReaders();
        if (const std::optional<db::FileStamp> stamp = db::FileStamp::of(file))
            if (std::optional<db::FirstRows> first = db::readFirstRows(firstRowsFile(), *stamp))
                Vorlin_ADOQuery.showFirstWhileReading(std::move(*first), file);
    }
    Vorlin_ADOQuery.open();
}

void TDM::switchLibrary(const LibraryAddress& to)
{
    if (Vorlin_ADOQuery.isActive())
        Vorlin_ADOQuery.checkBrowseMode();
    const LibraryAddress was = library;
    library = to;
    try {
        DataModuleCreate();
    } catch (const Error&) {
        library = was;
        DataModuleCreate();
        throw;
    }
}

QString TDM::bodyOf(qint64 id)
{
    db::Store& store = ADOConnection1.store();
    const QString table = QStringLiteral("vorlin");
    const QString key = QStringLiteral("ID");
    const QVariant body = store.valueOf(table, QStringLiteral("obsah"), key, id);
    if (!body.isNull())
        return body.toString();
    // No body, or no snippet.
    return store.valueOf(table, key, key, id).isNull() ? QString() : QStringLiteral("");
}

bool TDM::libraryIsAway()
{
    return ADOConnection1.isConnected() && ADOConnection1.store().isAway();
}

QString TDM::libraryRestriction()
{
    if (!ADOConnection1.isConnected() || !ADOConnection1.store().isReadOnly())
        return {};
    if (libraryIsAway())
        return QString::fromUtf8(db::PostgresStore::kAway);
    return QStringLiteral("Server kanceláře vám dovoluje knihovnu jen číst: přidávat, mazat a upravovat vorliny "
                          "smějí jen uživatelé, kterým to správce serveru povolil.");
}

void TDM::ensureSearchIndex()
{
    if (!ADOConnection1.isLocalFile())
        return;
    // Searches read names, kinds and keywords from this index instead of
    // every body. A file that cannot take it (read-only) works without it.
    try {
        ADOConnection1.database().execute(
            QStringLiteral("CREATE INDEX IF NOT EXISTS vorlin_hledani ON vorlin (nazev, druh, tag)"));
    } catch (const db::DatabaseError&) {
    }
}

void TDM::Vorlin_ADOQueryBeforeInsert()
{
    if (bodyEditor_)
        bodyEditor_->focusBodyEditor();
}

Font TDM::defaultFont()
{
    const SettingsFile& ini = programSettings();
    Font font = Font::platformDefault();
    try {
        readFontSpec(ini.readString(settings::kSection, settings::kFontKey, settings::kFontDefault.toString()), font);
    } catch (const Error&) {
        // An unreadable default font keeps what was read before the error.
    }
    return font;
}

void TDM::Vorlin_ADOQueryAfterInsert()
{
    if (bodyEditor_)
        bodyEditor_->setBodyEditorFont(defaultFont());
}

}  // namespace vorlin
