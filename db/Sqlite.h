#pragma once

#include "common/Error.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <cstdint>

struct sqlite3;
struct sqlite3_stmt;

namespace vorlin::db {

// An error of the database engine. Its text names the file and says in plain
// words what is wrong, the engine's own text at the end.
class DatabaseError : public Error {
public:
    using Error::Error;
};

// The text of a database error: what the engine's result code means for the
// file, then the engine's text ("The file "…/vorlin.mdb" is read-only:
// attempt to write a readonly database").
QString databaseErrorText(const QString& file, int resultCode, const QString& engineText);

// One open SQLite database file, used from one thread. Opening never creates
// a file; the first read checks that the file is a database, so a damaged or
// foreign file fails here and not at the first query.
class Database {
public:
    static constexpr int kBusyTimeoutMs = 2000;

    enum class Opening { Existing, CreateWhenMissing };

    Database() = default;
    explicit Database(const QString& path, Opening opening = Opening::Existing);
    ~Database();
    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    bool isOpen() const { return handle_ != nullptr; }
    sqlite3* handle() const { return handle_; }

    // Runs statements without results; raises DatabaseError.
    void execute(const QString& sql);

    // Rows changed by the last statement.
    int changes() const;

    // A mark that differs whenever the database changed since it was last
    // taken: through this connection or through any other.
    qint64 changeMark() const;

    // A whole, consistent copy of the database into a new file. With a
    // rollback journal the file's bytes are copied while a read lock keeps
    // writers out (as fast as a plain copy); otherwise the engine's online
    // backup copies it page by page. Raises DatabaseError.
    void copyTo(const QString& file);

    // Raises DatabaseError for the last failed call.
    [[noreturn]] void fail() const;
    [[noreturn]] void fail(int resultCode, const QString& engineText) const;

    const QString& path() const { return path_; }

private:
    void close() noexcept;

    sqlite3* handle_ = nullptr;
    QString path_;
};

// A prepared statement. Values are bound and read as QVariant: null, integer
// (qint64), real (double), text (QString, stored as UTF-8), blob (QByteArray).
class Statement {
public:
    Statement(const Database& database, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const QVariant& value);  // 1-based, as SQLite counts

    // Steps once: true when a row is there to read, false when done.
    bool step();

    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    QVariant column(int column) const;
    sqlite3_stmt* handle() const { return handle_; }

private:
    const Database& database_;
    sqlite3_stmt* handle_ = nullptr;
};

// One write transaction: BEGIN IMMEDIATE, COMMIT on commit(), ROLLBACK when
// left without one (also when an error leaves the scope).
class Transaction {
public:
    explicit Transaction(Database& database);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& database_;
    bool done_ = false;
};

}  // namespace vorlin::db
