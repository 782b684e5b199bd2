#pragma once

#include "db/Store.h"

#include <QHash>

#include <future>
#include <memory>

struct pg_conn;
struct pg_result;

namespace vorlin::db {

// The library on an office's PostgreSQL server, shared by every colleague.
//
// The program's table carries, besides the user's columns, a version (the
// id of the transaction that wrote the row last) and the time of the last
// change; a trigger announces the keys of the rows every statement wrote
// or deleted on the channel "vorlin" (a comma-separated list, a few hundred
// keys to a notification, within the server's limit of 8,000 bytes),
// whoever wrote them, and notes deleted keys for clients that catch up
// later. A write is done only while the row still has the
// version this client read: nobody's change is overwritten unseen.
class ServerMirror;

class PostgresStore : public Store {
public:
    struct Address {
        QString uri;  // libpq's form: postgresql://server/vorlin
        QString user;  // empty: libpq's own choice
        QString password;  // empty: .pgpass, Kerberos, peer, or none
        QString mirrorFile;  // the last copy seen here; empty: none kept
    };
    // Connects, makes the program's table in a database without one (a
    // table of that name from elsewhere is refused) and listens for the
    // announcements. Raises DatabaseError; NeedsPassword when the server
    // asks for a password none was given for, or refuses the one given.
    explicit PostgresStore(const Address& address);
    ~PostgresStore() override;

    class NeedsPassword : public DatabaseError {
    public:
        using DatabaseError::DatabaseError;
    };

    static constexpr const char* kChannel = "vorlin";
    // Said while the server is away and the copy here is shown.
    static constexpr const char* kAway = "Server kanceláře není dostupný — knihovna je jen ke čtení";

    // An address as shown and kept: without a password, whether in the
    // user part or as a parameter.
    static QString withoutPassword(const QString& uri);

    bool takesUploads() const override { return true; }
    Upload upload(const std::vector<QVariantList>& snippets) override;

    QStringList columns(const QString& table) override;
    void read(const Selection& selection, const QStringList& columns, bool ordered, RowSet& rows) override;
    qint64 changeMark() override;
    qint64 readersMark() override;
    QVariant valueOf(const QString& table, const QString& column, const QString& keyColumn,
                     const QVariant& key) override;
    void update(const QString& table, const QString& keyColumn, const QVariant& key,
                const QList<Change>& changes) override;
    void overwrite(const QString& table, const QString& keyColumn, const QVariant& key,
                   const QList<Change>& changes) override;
    QVariantList insert(const QString& table, const QList<std::pair<QString, QVariant>>& values,
                        const QStringList& returning) override;
    void remove(const QString& table, const QString& keyColumn, const QVariant& key) override;
    int execute(const QString& sql) override;
    std::optional<Changes> changesSince(const QString& table, const QStringList& columns) override;
    bool isReadOnly() const override { return readOnly_ || offline_; }
    int announcementSocket() const override;
    bool takeAnnouncements() override;
    bool isBroken() const override;
    bool isAway() const override { return offline_; }
    Reconnection reconnect() override;

private:
    struct ResultDeleter {
        void operator()(pg_result* result) const;
    };
    using Result = std::unique_ptr<pg_result, ResultDeleter>;

    // One transaction on the server: COMMIT when asked, ROLLBACK when left
    // without.
    class Transaction {
    public:
        Transaction(PostgresStore& store, const char* begin);
        ~Transaction();
        void commit();

    private:
        PostgresStore& store_;
        bool done_ = false;
    };

    // The rows written from the horizon on (the columns asked for, then
    // the key and the version), the keys of those deleted, and the new horizon.
    struct Delta {
        std::vector<QVariantList> rows;
        std::vector<qint64> keys;
        std::vector<qint64> versions;
        QList<qint64> removed;
        qint64 horizon = -1;
    };
    Delta rowsSince(qint64 horizon, const QStringList& columns);

    // The oldest transaction not seen whole by the transaction's snapshot.
    qint64 snapshotHorizon();
    void write(const QString& table, const QString& keyColumn, const QVariant& key, const QList<Change>& changes,
               bool checked);
    void connectNow();
    // Connects again, waiting for the server; true when connected.
    bool connectAgain();
    // Asks in the background whether the server answers at all.
    void knock();
    // Whether the server answers within a moment.
    bool answersSoon();
    bool isConnected() const;
    // The server went away while a copy is kept: it is read from now on.
    void goneAway();
    // Has the copy here brought up to the server's rows, in the background.
    void keepMirror();
    // After a write of this client's own.
    void wrote();
    // Whether a whole copy is kept here, to be shown while the server is away.
    bool holdsCopy();
    class MirrorKeeper;
    void readFromServer(const Selection& selection, const QStringList& columns, bool ordered, RowSet& rows);

    // Runs a statement with text parameters, connecting again first when
    // the server was away; raises DatabaseError unless it succeeded.
    Result run(const QString& sql, const QVariantList& parameters = {});
    // Raises DatabaseError for a failed statement (null: the connection).
    [[noreturn]] void fail(const pg_result* result) const;
    void makeTableWhenMissing();
    // Keeps other clients' announcements a statement read along with its
    // answer, and says so.
    void keepAnnouncementsTakenAlong();
    void checkPermissions();
    // The key of every row read and its version, for the writes' check.
    void noteVersions(const pg_result* result, int keyColumn, int versionColumn);
    void appendRows(const pg_result* result, int columns, RowSet& rows) const;

    Address address_;
    pg_conn* connection_ = nullptr;
    std::unique_ptr<ServerMirror> mirror_;
    bool offline_ = false;  // the server away, the copy here read
    QString shownAddress_;  // the address without a password
    bool readOnly_ = false;
    qint64 horizon_ = -1;  // no transaction from here on was seen whole by the last reading
    qint64 mark_ = 0;  // counts the changes: this client's writes and others' announcements
    bool othersAnnounced_ = false;  // read along with a statement's answer, not taken yet
    QHash<qint64, qint64> versions_;
    std::future<bool> knock_;  // whether the server answered, asked in the background
    std::unique_ptr<MirrorKeeper> keeper_;
};

}  // namespace vorlin::db
