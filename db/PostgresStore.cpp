#include "db/PostgresStore.h"

#include "common/Error.h"
#include "common/ProgramThreads.h"
#include "db/InMemoryFilter.h"
#include "db/ServerMirror.h"
#include "db/RowSet.h"
#include "db/StatementText.h"
#include "db/StorageClass.h"

#include <libpq-fe.h>

#include <QUrl>
#include <QUrlQuery>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

namespace vorlin::db {
namespace {

// Takes the announcements libpq holds; whether one came from another client.
bool othersAnnounced(pg_conn* connection)
{
    const int self = PQbackendPID(connection);
    bool others = false;
    while (PGnotify* notice = PQnotifies(connection)) {
        others = others || notice->be_pid != self;
        PQfreemem(notice);
    }
    return others;
}


// The server's type numbers of the values read as integers.
constexpr Oid kInt8 = 20;
constexpr Oid kInt2 = 21;
constexpr Oid kInt4 = 23;

const QString kVersionColumn = QStringLiteral("verze");
const QString kChangedColumn = QStringLiteral("zmeneno");
const QString kKeyColumn = QStringLiteral("ID");
const QStringList kUserColumns = {kKeyColumn, QStringLiteral("nazev"), QStringLiteral("druh"),
                                  QStringLiteral("obsah"), QStringLiteral("tag")};

// The table, its version kept by the server, the announcements and the
// notes of deleted rows. Made in one transaction, under a lock, so that two
// colleagues starting at once do not both make it.
const char* const kMakeTable = R"sql(
CREATE TABLE vorlin (
  "ID" bigserial PRIMARY KEY,
  nazev text,
  druh text,
  obsah text,
  tag text,
  verze bigint NOT NULL DEFAULT 0,
  zmeneno timestamptz NOT NULL DEFAULT now()
);
CREATE INDEX vorlin_verze ON vorlin (verze);
CREATE TABLE vorlin_smazane (
  "ID" bigint NOT NULL,
  verze bigint NOT NULL
);
CREATE INDEX vorlin_smazane_verze ON vorlin_smazane (verze);
CREATE FUNCTION vorlin_verze() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  NEW.verze := pg_current_xact_id()::text::bigint;
  NEW.zmeneno := now();
  RETURN NEW;
END $$;
CREATE TRIGGER vorlin_verze BEFORE INSERT OR UPDATE ON vorlin
  FOR EACH ROW EXECUTE FUNCTION vorlin_verze();
CREATE FUNCTION vorlin_ohlas() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
  klice text;
BEGIN
  IF TG_OP = 'DELETE' THEN
    INSERT INTO vorlin_smazane SELECT "ID", pg_current_xact_id()::text::bigint FROM stare;
    FOR klice IN SELECT string_agg("ID"::text, ',') FROM (SELECT "ID", row_number() OVER () / 350 AS davka FROM stare) k
                 GROUP BY davka LOOP
      PERFORM pg_notify('vorlin', klice);
    END LOOP;
  ELSE
    FOR klice IN SELECT string_agg("ID"::text, ',') FROM (SELECT "ID", row_number() OVER () / 350 AS davka FROM nove) k
                 GROUP BY davka LOOP
      PERFORM pg_notify('vorlin', klice);
    END LOOP;
  END IF;
  RETURN NULL;
END $$;
CREATE TRIGGER vorlin_ohlas_vlozeni AFTER INSERT ON vorlin
  REFERENCING NEW TABLE AS nove FOR EACH STATEMENT EXECUTE FUNCTION vorlin_ohlas();
CREATE TRIGGER vorlin_ohlas_zmeny AFTER UPDATE ON vorlin
  REFERENCING NEW TABLE AS nove FOR EACH STATEMENT EXECUTE FUNCTION vorlin_ohlas();
CREATE TRIGGER vorlin_ohlas_smazani AFTER DELETE ON vorlin
  REFERENCING OLD TABLE AS stare FOR EACH STATEMENT EXECUTE FUNCTION vorlin_ohlas();
)sql";

// The keys of rows deleted from a horizon on and not there again.
const QString kDeletedSince = QStringLiteral(
    "SELECT DISTINCT s.\"ID\" FROM vorlin_smazane s WHERE s.verze >= $1 "
    "AND NOT EXISTS (SELECT 1 FROM vorlin t WHERE t.\"ID\" = s.\"ID\")");

QString firstLine(const char* text)
{
    return QString::fromUtf8(text).trimmed().section(u'\n', 0, 0).trimmed();
}

QVariant valueAt(const PGresult* result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return QVariant();
    const char* text = PQgetvalue(result, row, column);
    switch (PQftype(result, column)) {
    case kInt2:
    case kInt4:
    case kInt8:
        return QString::fromLatin1(text).toLongLong();
    default:
        return QString::fromUtf8(text, PQgetlength(result, row, column));
    }
}

// The first values of a row of a result.
QVariantList valuesAt(const PGresult* result, int row, int count)
{
    QVariantList values;
    for (int column = 0; column < count; ++column)
        values << valueAt(result, row, column);
    return values;
}

QString columnList(const QStringList& columns)
{
    QStringList quoted;
    for (const QString& column : columns)
        quoted << quotedIdentifier(column);
    return quoted.join(QStringLiteral(", "));
}

}  // namespace

QString PostgresStore::withoutPassword(const QString& uri)
{
    // libpq takes a password in the user part and as a parameter.
    QUrl url(uri);
    if (!url.isValid() || url.scheme().isEmpty())
        return uri;
    QUrlQuery parameters(url);
    parameters.removeAllQueryItems(QStringLiteral("password"));
    url.setQuery(parameters);
    return url.toString(QUrl::RemovePassword);
}

void PostgresStore::ResultDeleter::operator()(pg_result* result) const
{
    PQclear(result);
}

PostgresStore::Transaction::Transaction(PostgresStore& store, const char* begin) : store_(store)
{
    store_.run(QString::fromLatin1(begin));
}

PostgresStore::Transaction::~Transaction()
{
    if (!done_ && store_.isConnected())
        PQclear(PQexec(store_.connection_, "ROLLBACK"));
}

void PostgresStore::Transaction::commit()
{
    done_ = true;
    store_.run(QStringLiteral("COMMIT"));
}

PostgresStore::PostgresStore(const Address& address) : address_(address)
{
    shownAddress_ = withoutPassword(address.uri);
    // With a copy here to show, a server that does not answer soon is not
    // waited for: the copy is shown and the server reached later.
    const bool copyHere = !address.mirrorFile.isEmpty() && ServerMirror::holdsCopyOf(address.mirrorFile, address.uri);
    try {
        if (copyHere && !answersSoon())
            throw DatabaseError(QString::fromUtf8(kAway));
        connectNow();
    } catch (const NeedsPassword&) {
        throw;
    } catch (const DatabaseError&) {
        // Away: the last copy seen here, read only, when there is one.
        if (!copyHere)
            throw;
        mirror_ = std::make_unique<ServerMirror>(address.mirrorFile, address.uri);
        offline_ = true;
        return;
    }
    if (!address.mirrorFile.isEmpty()) {
        mirror_ = std::make_unique<ServerMirror>(address.mirrorFile, address.uri);
        keepMirror();
    }
}

namespace {

// libpq's keywords and values for an address, null-ended.
class ConnectionParameters {
public:
    explicit ConnectionParameters(const PostgresStore::Address& address)
        : uri_(address.uri.toUtf8()), user_(address.user.toUtf8()), password_(address.password.toUtf8())
    {
        add("dbname", uri_);
        add("application_name", "Vorlin");
        add("client_encoding", "UTF8");
        add("connect_timeout", "5");
        if (!user_.isEmpty())
            add("user", user_);
        if (!password_.isEmpty())
            add("password", password_);
        keys_.push_back(nullptr);
        values_.push_back(nullptr);
    }
    ConnectionParameters(const ConnectionParameters&) = delete;
    ConnectionParameters& operator=(const ConnectionParameters&) = delete;

    const char* const* keys() const { return keys_.data(); }
    const char* const* values() const { return values_.data(); }
    bool hasPassword() const { return !password_.isEmpty(); }

private:
    void add(const char* key, const char* value)
    {
        keys_.push_back(key);
        values_.push_back(value);
    }

    QByteArray uri_, user_, password_;
    std::vector<const char*> keys_, values_;
};

}  // namespace

void PostgresStore::connectNow()
{
    const ConnectionParameters parameters(address_);
    if (connection_)
        PQfinish(connection_);
    connection_ = PQconnectdbParams(parameters.keys(), parameters.values(), 1);
    if (PQstatus(connection_) != CONNECTION_OK) {
        const QString serverWords = firstLine(PQerrorMessage(connection_));
        const QString user = QString::fromUtf8(PQuser(connection_));
        // A password the server asked for and refused is asked again, with
        // the server's words (whatever else they may say).
        const bool refused = parameters.hasPassword() && PQconnectionUsedPassword(connection_);
        const bool asked = !parameters.hasPassword() && PQconnectionNeedsPassword(connection_);
        PQfinish(connection_);
        connection_ = nullptr;
        if (asked)
            throw NeedsPassword(QStringLiteral("Server kanceláře „%1“ žádá heslo uživatele „%2“.").arg(shownAddress_, user));
        if (refused)
            throw NeedsPassword(QStringLiteral("Server kanceláře „%1“ heslo uživatele „%2“ nepřijal: %3")
                                    .arg(shownAddress_, user, serverWords));
        throw DatabaseError(QStringLiteral("Server kanceláře „%1“ není dostupný: %2").arg(shownAddress_, serverWords));
    }
    run(QStringLiteral("SET search_path = \"$user\", public"));
    makeTableWhenMissing();
    checkPermissions();
    run(QStringLiteral("LISTEN %1").arg(QString::fromLatin1(kChannel)));
}

bool PostgresStore::isConnected() const
{
    return connection_ && PQstatus(connection_) == CONNECTION_OK;
}

Store::Reconnection PostgresStore::reconnect()
{
    if (isConnected() && !offline_)
        return Reconnection::Done;
    goneAway();
    if (!knock_.valid()) {
        knock();
        return Reconnection::Pending;
    }
    if (knock_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return Reconnection::Pending;
    const bool answered = knock_.get();
    if (answered && connectAgain())
        return Reconnection::Done;
    goneAway();
    return Reconnection::Failed;
}

void PostgresStore::knock()
{
    // The server is knocked at in the background first: an unreachable
    // host takes the whole connection timeout, which the window must not
    // wait for. The thread owns all it uses and is left behind at the end.
    std::packaged_task<bool()> knocking([address = address_] {
        const ConnectionParameters parameters(address);
        return PQpingParams(parameters.keys(), parameters.values(), 1) != PQPING_NO_RESPONSE;
    });
    knock_ = knocking.get_future();
    leaveRunning([task = std::make_shared<std::packaged_task<bool()>>(std::move(knocking))] { (*task)(); });
}

bool PostgresStore::answersSoon()
{
    constexpr auto kStartWait = std::chrono::milliseconds(1000);
    knock();
    if (knock_.wait_for(kStartWait) != std::future_status::ready)
        return false;  // the answer, when it comes, is taken by the next reconnection
    return knock_.get();
}

bool PostgresStore::connectAgain()
{
    if (isConnected() && !offline_)
        return true;
    try {
        connectNow();
    } catch (const DatabaseError&) {
        goneAway();
        return false;
    }
    offline_ = false;
    // What was announced meanwhile is lost: the rows are caught up by version.
    ++mark_;
    keepMirror();
    return true;
}

// Keeps the copy here current on a connection and a thread of its own: the
// window never waits for it, not for the first copy of the whole library
// nor after a change of every row. Rows come in batches through a cursor,
// so that a large library is never held whole in memory. Requests that
// come while it works are done together afterwards; one still waiting at
// the end is done before the end, unless it is long.
class PostgresStore::MirrorKeeper {
public:
    explicit MirrorKeeper(const Address& address) : address_(address), thread_([this] { work(); }) {}

    ~MirrorKeeper()
    {
        ending_ = true;
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

    void catchUp()
    {
        {
            const std::lock_guard lock(mutex_);
            wanted_ = true;
        }
        wake_.notify_one();
    }

private:
    void work()
    {
        std::unique_ptr<PostgresStore> server;
        std::unique_ptr<ServerMirror> mirror;
        for (;;) {
            bool stopping = false;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return wanted_ || stop_; });
                if (!wanted_)
                    return;
                wanted_ = false;
                stopping = stop_;
            }
            try {
                if (!server || !server->isConnected()) {
                    Address own = address_;
                    own.mirrorFile.clear();
                    server = std::make_unique<PostgresStore>(own);
                    // Announcements nobody reads would hold up the server's queue.
                    server->run(QStringLiteral("UNLISTEN *"));
                }
                if (!mirror)
                    mirror = std::make_unique<ServerMirror>(address_.mirrorFile, address_.uri);
                copyChanges(*server, *mirror);
            } catch (const Error&) {
                // The copy stays as it was; the next write or change tries again.
                server.reset();
            }
            if (stopping)
                return;  // the copy as current as the list the user saw last
            // Connected only while there is work: a copy of the program
            // holds one connection of the server's, not two.
            bool more = false;
            {
                const std::lock_guard lock(mutex_);
                more = wanted_;
            }
            if (!more)
                server.reset();
        }
    }

    void copyChanges(PostgresStore& server, ServerMirror& mirror)
    {
        constexpr int kBatch = 1000;
        const qint64 reach = mirror.horizon();
        ServerMirror::Intake intake(mirror, reach < 0);
        Transaction transaction(server, "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
        const qint64 horizon = server.snapshotHorizon();
        server.run(QStringLiteral("DECLARE kopie NO SCROLL CURSOR FOR SELECT %1 FROM vorlin WHERE verze >= %2")
                       .arg(columnList(kUserColumns))
                       .arg(reach));
        const QString fetch = QStringLiteral("FETCH %1 FROM kopie").arg(kBatch);
        for (int fetched = kBatch; fetched == kBatch;) {
            const Result rows = server.run(fetch);
            fetched = PQntuples(rows.get());
            for (int row = 0; row < fetched; ++row)
                intake.put(valuesAt(rows.get(), row, int(kUserColumns.size())));
            // A long copy (the first one) at the end of the program is left
            // for the next start rather than waited for; a short one is done.
            if (ending_ && fetched == kBatch)
                return;
        }
        if (reach >= 0) {
            const Result deleted = server.run(kDeletedSince, {reach});
            for (int row = 0; row < PQntuples(deleted.get()); ++row)
                intake.drop(std::strtoll(PQgetvalue(deleted.get(), row, 0), nullptr, 10));
        }
        transaction.commit();
        intake.commit(horizon);
    }

    const Address address_;
    std::mutex mutex_;
    std::condition_variable wake_;
    // Set and read under the mutex; atomic as well, because
    // ThreadSanitizer loses the mutex's hand-over inside libstdc++'s wait
    // (measured: it reports these two with the mutex held on both sides).
    std::atomic<bool> wanted_ = false;
    std::atomic<bool> stop_ = false;
    std::atomic<bool> ending_ = false;
    OwnThread thread_;  // last: started when the rest is ready
};

void PostgresStore::keepMirror()
{
    if (!mirror_ || !isConnected())
        return;
    if (!keeper_)
        keeper_ = std::make_unique<MirrorKeeper>(address_);
    keeper_->catchUp();
}

void PostgresStore::wrote()
{
    // Readers that hold rows of their own see that the library changed.
    ++mark_;
    keepMirror();
}

bool PostgresStore::holdsCopy()
{
    return mirror_ && mirror_->horizon() >= 0;
}

void PostgresStore::goneAway()
{
    if (!isConnected() && holdsCopy())
        offline_ = true;
}

PostgresStore::~PostgresStore()
{
    if (connection_)
        PQfinish(connection_);
}

void PostgresStore::fail(const pg_result* result) const
{
    const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const QString engineText = primary ? QString::fromUtf8(primary) : firstLine(PQerrorMessage(connection_));
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    if (PQstatus(connection_) != CONNECTION_OK)
        throw DatabaseError(QStringLiteral("Server kanceláře „%1“ není dostupný: %2").arg(shownAddress_, engineText));
    if (state && qstrcmp(state, "42501") == 0)
        throw DatabaseError(QStringLiteral("Knihovnu na serveru „%1“ smíte jen číst: %2").arg(shownAddress_, engineText));
    throw DatabaseError(QStringLiteral("Chyba v databázi „%1“: %2").arg(shownAddress_, engineText));
}

PostgresStore::Result PostgresStore::run(const QString& sql, const QVariantList& parameters)
{
    std::vector<QByteArray> texts;
    texts.reserve(std::size_t(parameters.size()));
    std::vector<const char*> pointers;
    for (const QVariant& parameter : parameters) {
        if (parameter.isNull()) {
            pointers.push_back(nullptr);
            continue;
        }
        switch (storageClassOf(parameter)) {
        case StorageClass::Integer:
            texts.push_back(QByteArray::number(parameter.toLongLong()));
            break;
        case StorageClass::Real:
            texts.push_back(QByteArray::number(parameter.toDouble(), 'g', 17));
            break;
        default: {
            const QString text = parameter.toString();
            // The server's texts cannot hold the character 0: refused, not cut.
            if (text.contains(QChar(u'\0')))
                throw DatabaseError(QStringLiteral("Server kanceláře neuloží text se znakem s kódem 0"));
            texts.push_back(text.toUtf8());
        }
        }
        pointers.push_back(texts.back().constData());
    }
    // A save while the server is away waits a moment for it, not the
    // connection's whole timeout.
    if (!isConnected() && !(answersSoon() && connectAgain()))
        throw DatabaseError(QString::fromUtf8(kAway));
    const QByteArray statement = sql.toUtf8();
    Result result(PQexecParams(connection_, statement.constData(), int(pointers.size()), nullptr, pointers.data(),
                               nullptr, nullptr, 0));
    const ExecStatusType status = PQresultStatus(result.get());
    keepAnnouncementsTakenAlong();
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        goneAway();
        fail(result.get());
    }
    return result;
}

void PostgresStore::keepAnnouncementsTakenAlong()
{
    if (!othersAnnounced(connection_))
        return;
    othersAnnounced_ = true;
    if (announcementsWaiting)
        announcementsWaiting();
}

void PostgresStore::makeTableWhenMissing()
{
    const QString columnsOfTable = QStringLiteral(
        "SELECT column_name FROM information_schema.columns "
        "WHERE table_schema = current_schema() AND table_name = 'vorlin' ORDER BY ordinal_position");
    QStringList found;
    for (int attempt = 0; attempt < 2 && found.isEmpty(); ++attempt) {
        Result existing = run(columnsOfTable);
        for (int row = 0; row < PQntuples(existing.get()); ++row)
            found << QString::fromUtf8(PQgetvalue(existing.get(), row, 0));
        if (!found.isEmpty() || attempt > 0)
            break;
        Transaction transaction(*this, "BEGIN");
        run(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext('vorlin'))"));
        if (PQntuples(run(columnsOfTable).get()) == 0) {
            Result made(PQexec(connection_, kMakeTable));
            if (PQresultStatus(made.get()) != PGRES_COMMAND_OK)
                fail(made.get());
        }
        transaction.commit();
    }
    for (const QString& column : kUserColumns + QStringList{kVersionColumn, kChangedColumn})
        if (!found.contains(column))
            throw DatabaseError(QStringLiteral("Databáze „%1“ obsahuje tabulku „vorlin“, kterou nevytvořil tento "
                                               "program (sloupce: %2); zvolte jinou databázi")
                                    .arg(shownAddress_, found.join(QStringLiteral(", "))));
}

void PostgresStore::checkPermissions()
{
    Result may = run(QStringLiteral("SELECT has_table_privilege('vorlin', 'INSERT') "
                                    "AND has_table_privilege('vorlin', 'UPDATE') "
                                    "AND has_table_privilege('vorlin', 'DELETE')"));
    readOnly_ = QByteArray(PQgetvalue(may.get(), 0, 0)) != "t";
}

QStringList PostgresStore::columns(const QString& table)
{
    if (offline_)
        return mirror_->store().columns(table);
    Result result = run(QStringLiteral("SELECT column_name FROM information_schema.columns "
                                       "WHERE table_schema = current_schema() AND table_name = $1 "
                                       "ORDER BY ordinal_position"),
                        {table});
    QStringList names;
    for (int row = 0; row < PQntuples(result.get()); ++row) {
        const QString name = QString::fromUtf8(PQgetvalue(result.get(), row, 0));
        if (name != kVersionColumn && name != kChangedColumn)
            names << name;
    }
    return names;
}

void PostgresStore::appendRows(const pg_result* result, int columns, RowSet& rows) const
{
    const int count = PQntuples(result);
    for (int row = 0; row < count; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (PQgetisnull(result, row, column)) {
                rows.appendNull();
                continue;
            }
            const char* text = PQgetvalue(result, row, column);
            const Oid type = PQftype(result, column);
            if (type == kInt2 || type == kInt4 || type == kInt8)
                rows.appendInteger(std::strtoll(text, nullptr, 10));
            else
                rows.appendText(text, std::size_t(PQgetlength(result, row, column)));
        }
    }
}

void PostgresStore::noteVersions(const pg_result* result, int keyColumn, int versionColumn)
{
    for (int row = 0; row < PQntuples(result); ++row)
        versions_.insert(std::strtoll(PQgetvalue(result, row, keyColumn), nullptr, 10),
                         std::strtoll(PQgetvalue(result, row, versionColumn), nullptr, 10));
}

void PostgresStore::read(const Selection& selection, const QStringList& columns, bool ordered, RowSet& rows)
{
    if (offline_) {
        mirror_->store().read(selection, columns, ordered, rows);
        return;
    }
    try {
        readFromServer(selection, columns, ordered, rows);
    } catch (const DatabaseError&) {
        if (!offline_)
            throw;
        mirror_->store().read(selection, columns, ordered, rows);
    }
}

void PostgresStore::readFromServer(const Selection& selection, const QStringList& columns, bool ordered, RowSet& rows)
{
    // The rows and the oldest transaction not seen whole, from one snapshot:
    // a catch-up from there misses nothing committed after it.
    Transaction transaction(*this, "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
    const qint64 horizon = snapshotHorizon();
    QString sql = QStringLiteral("SELECT %1, %2, %3 FROM %4")
                      .arg(columnList(columns), quotedIdentifier(kKeyColumn), kVersionColumn,
                           quotedIdentifier(selection.table));
    if (ordered && !selection.orderColumn.isEmpty())
        sql += QStringLiteral(" ORDER BY %1 COLLATE \"C\" %2")
                   .arg(quotedIdentifier(selection.orderColumn),
                        selection.descending ? QStringLiteral("DESC NULLS LAST") : QStringLiteral("ASC NULLS FIRST"));
    Result result = run(sql);
    transaction.commit();

    const int columnCount = int(columns.size());
    noteVersions(result.get(), columnCount, columnCount + 1);
    if (selection.filter.isEmpty()) {
        horizon_ = horizon;
        rows.clear(columnCount);
        appendRows(result.get(), columnCount, rows);
    } else {
        // The filter is the program's own, the same as on rows in memory.
        RowSet all;
        all.clear(columnCount);
        appendRows(result.get(), columnCount, all);
        const InMemoryFilter filter(selection.filter, columns);
        rows.clear(columnCount);
        for (int row = 0; row < all.rowCount(); ++row)
            if (filter.meets(all, row))
                rows.insertRow(rows.rowCount(), all.row(row));
    }
    rows.fitMemory();
}

qint64 PostgresStore::changeMark()
{
    return mark_;
}

qint64 PostgresStore::readersMark()
{
    // The copy here, written by its keeper's connection.
    return mirror_ ? mirror_->store().changeMark() : mark_;
}

bool PostgresStore::takeAnnouncements()
{
    bool others = std::exchange(othersAnnounced_, false);
    if (PQconsumeInput(connection_))
        others = othersAnnounced(connection_) || others;
    if (others) {
        ++mark_;
        // The copy here follows the server even while the list waits (an
        // edit in progress): the pop-up may read it meanwhile.
        keepMirror();
    }
    return others;
}

int PostgresStore::announcementSocket() const
{
    return PQsocket(connection_);
}

bool PostgresStore::isBroken() const
{
    return PQstatus(connection_) != CONNECTION_OK;
}

QVariant PostgresStore::valueOf(const QString& table, const QString& column, const QString& keyColumn,
                                const QVariant& key)
{
    if (offline_)
        return mirror_->store().valueOf(table, column, keyColumn, key);
    Result result = run(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = $1")
                            .arg(quotedIdentifier(column), quotedIdentifier(table), quotedIdentifier(keyColumn)),
                        {key});
    return PQntuples(result.get()) > 0 ? valueAt(result.get(), 0, 0) : QVariant();
}

void PostgresStore::overwrite(const QString& table, const QString& keyColumn, const QVariant& key,
                              const QList<Change>& changes)
{
    QList<Change> blind = changes;
    versions_.remove(key.toLongLong());
    for (Change& change : blind)
        change.was = QVariant();
    write(table, keyColumn, key, blind, false);
}

void PostgresStore::update(const QString& table, const QString& keyColumn, const QVariant& key,
                           const QList<Change>& changes)
{
    write(table, keyColumn, key, changes, true);
}

void PostgresStore::write(const QString& table, const QString& keyColumn, const QVariant& key,
                          const QList<Change>& changes, bool checked)
{
    if (changes.isEmpty())
        return;
    QStringList assignments;
    QVariantList parameters;
    for (const Change& change : changes) {
        parameters << change.value;
        assignments << QStringLiteral("%1 = $%2").arg(quotedIdentifier(change.column)).arg(parameters.size());
    }
    parameters << key;
    QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = $%4")
                      .arg(quotedIdentifier(table), assignments.join(QStringLiteral(", ")),
                           quotedIdentifier(keyColumn))
                      .arg(parameters.size());
    const auto known = versions_.constFind(key.toLongLong());
    if (checked && known != versions_.cend()) {
        parameters << *known;
        sql += QStringLiteral(" AND verze = $%1").arg(parameters.size());
    } else if (checked) {
        for (const Change& change : changes) {
            parameters << change.was;
            sql += QStringLiteral(" AND %1 IS NOT DISTINCT FROM $%2").arg(quotedIdentifier(change.column)).arg(parameters.size());
        }
    }
    sql += QStringLiteral(" RETURNING verze");
    Result result = run(sql, parameters);
    if (PQntuples(result.get()) != 1) {
        Result exists = run(QStringLiteral("SELECT verze FROM %1 WHERE %2 = $1")
                                .arg(quotedIdentifier(table), quotedIdentifier(keyColumn)),
                            {key});
        throw RowChangedError(PQntuples(exists.get()) == 0);
    }
    versions_.insert(key.toLongLong(), QByteArray(PQgetvalue(result.get(), 0, 0)).toLongLong());
    wrote();
}

QVariantList PostgresStore::insert(const QString& table, const QList<std::pair<QString, QVariant>>& values,
                                   const QStringList& returning)
{
    QStringList columns;
    QStringList placeholders;
    QVariantList parameters;
    for (const auto& [column, value] : values) {
        columns << column;
        parameters << value;
        placeholders << QStringLiteral("$%1").arg(parameters.size());
    }
    const QString returned = QStringLiteral("%1, %2, verze").arg(columnList(returning), quotedIdentifier(kKeyColumn));
    const QString sql = columns.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING %2").arg(quotedIdentifier(table), returned)
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING %4")
              .arg(quotedIdentifier(table), columnList(columns), placeholders.join(QStringLiteral(", ")), returned);
    Result result = run(sql, parameters);
    if (PQntuples(result.get()) != 1)
        throw DatabaseError(QStringLiteral("The new row was not stored"));
    noteVersions(result.get(), int(returning.size()), int(returning.size()) + 1);
    wrote();
    return valuesAt(result.get(), 0, int(returning.size()));
}

void PostgresStore::remove(const QString& table, const QString& keyColumn, const QVariant& key)
{
    run(QStringLiteral("DELETE FROM %1 WHERE %2 = $1").arg(quotedIdentifier(table), quotedIdentifier(keyColumn)),
        {key});
    versions_.remove(key.toLongLong());
    wrote();
}

int PostgresStore::execute(const QString& sql)
{
    Result result = run(translateJetSql(sql));
    wrote();
    return QByteArray(PQcmdTuples(result.get())).toInt();
}

PostgresStore::Upload PostgresStore::upload(const std::vector<QVariantList>& snippets)
{
    // The snippets go to a table of the transaction in batches, then into
    // the library at once: those it holds already (same name, kind and body,
    // empty values alike) and repeats among them are left out.
    constexpr std::size_t kBatch = 500;
    Transaction transaction(*this, "BEGIN");
    // Two uploads at once would both find a snippet missing.
    run(QStringLiteral("LOCK TABLE vorlin IN SHARE ROW EXCLUSIVE MODE"));
    run(QStringLiteral("CREATE TEMPORARY TABLE nahrani (poradi integer, nazev text, druh text, obsah text, tag text) "
                       "ON COMMIT DROP"));
    for (std::size_t first = 0; first < snippets.size(); first += kBatch) {
        QStringList rows;
        QVariantList parameters;
        for (std::size_t row = first; row < std::min(snippets.size(), first + kBatch); ++row) {
            QStringList placeholders{QString::number(row)};
            for (int column = 0; column < 4; ++column) {
                parameters << snippets[row].value(column);
                placeholders << QStringLiteral("$%1").arg(parameters.size());
            }
            rows << u'(' + placeholders.join(QStringLiteral(", ")) + u')';
        }
        run(QStringLiteral("INSERT INTO nahrani VALUES ") + rows.join(QStringLiteral(", ")), parameters);
    }
    const QString same = QStringLiteral(
        "md5(format('%1$s:%2$s:%3$s:%4$s:%5$s:%6$s', length(%7.nazev), %7.nazev, length(%7.druh), %7.druh, "
        "length(%7.obsah), %7.obsah))");
    Result added = run(QStringLiteral(
        "INSERT INTO vorlin (nazev, druh, obsah, tag) "
        "SELECT n.nazev, n.druh, n.obsah, n.tag FROM ("
        "  SELECT DISTINCT ON (klic) * FROM (SELECT %1 AS klic, * FROM nahrani n) k ORDER BY klic, poradi) n "
        "LEFT JOIN vorlin v ON %2 = n.klic AND v.nazev IS NOT DISTINCT FROM n.nazev "
        "  AND v.druh IS NOT DISTINCT FROM n.druh AND v.obsah IS NOT DISTINCT FROM n.obsah "
        "WHERE v.\"ID\" IS NULL ORDER BY n.poradi")
                           .arg(QString(same).replace(QStringLiteral("%7"), QStringLiteral("n")),
                                QString(same).replace(QStringLiteral("%7"), QStringLiteral("v"))));
    transaction.commit();
    Upload done;
    done.sent = QByteArray(PQcmdTuples(added.get())).toInt();
    done.skipped = int(snippets.size()) - done.sent;
    wrote();
    return done;
}

qint64 PostgresStore::snapshotHorizon()
{
    const Result horizon = run(QStringLiteral("SELECT pg_snapshot_xmin(pg_current_snapshot())::text::bigint"));
    return QByteArray(PQgetvalue(horizon.get(), 0, 0)).toLongLong();
}

PostgresStore::Delta PostgresStore::rowsSince(qint64 horizon, const QStringList& columns)
{
    Transaction transaction(*this, "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
    Delta delta;
    delta.horizon = snapshotHorizon();
    Result written = run(QStringLiteral("SELECT %1, %2, verze FROM vorlin WHERE verze >= $1")
                             .arg(columnList(columns), quotedIdentifier(kKeyColumn)),
                         {horizon});
    Result deleted = run(kDeletedSince, {horizon});
    transaction.commit();

    const int keyColumn = int(columns.size());
    for (int row = 0; row < PQntuples(written.get()); ++row) {
        delta.rows.push_back(valuesAt(written.get(), row, keyColumn));
        delta.keys.push_back(std::strtoll(PQgetvalue(written.get(), row, keyColumn), nullptr, 10));
        delta.versions.push_back(std::strtoll(PQgetvalue(written.get(), row, keyColumn + 1), nullptr, 10));
    }
    for (int row = 0; row < PQntuples(deleted.get()); ++row)
        delta.removed << std::strtoll(PQgetvalue(deleted.get(), row, 0), nullptr, 10);
    return delta;
}

std::optional<Store::Changes> PostgresStore::changesSince(const QString& table, const QStringList& columns)
{
    if (horizon_ < 0 || offline_ || table != QStringLiteral("vorlin"))
        return std::nullopt;
    Delta delta = rowsSince(horizon_, columns);
    Changes changes;
    for (std::size_t row = 0; row < delta.rows.size(); ++row) {
        const auto known = versions_.constFind(delta.keys[row]);
        if (known != versions_.cend() && *known == delta.versions[row])
            continue;  // as read or written here
        versions_.insert(delta.keys[row], delta.versions[row]);
        changes.rows.push_back(std::move(delta.rows[row]));
    }
    for (const qint64 key : delta.removed)
        if (versions_.remove(key))
            changes.removed << key;
    horizon_ = delta.horizon;
    keepMirror();
    return changes;
}

}  // namespace vorlin::db
