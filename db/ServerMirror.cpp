#include "db/ServerMirror.h"

#include "db/UnicodeLike.h"

#include <QFile>

namespace vorlin::db {
namespace {

const QString kSchema = QStringLiteral(
    "CREATE TABLE IF NOT EXISTS vorlin (ID INTEGER PRIMARY KEY, nazev TEXT, druh TEXT, obsah TEXT, tag TEXT);"
    "CREATE TABLE IF NOT EXISTS zrcadlo (server TEXT, horizont INTEGER)");

QString copiedServer(Database& database)
{
    Statement statement(database, QStringLiteral("SELECT server FROM zrcadlo"));
    return statement.step() ? statement.column(0).toString() : QString();
}

qint64 reachOf(Database& database)
{
    Statement statement(database, QStringLiteral("SELECT horizont FROM zrcadlo"));
    return statement.step() ? statement.column(0).toLongLong() : -1;
}

Database opened(const QString& file, const QString& server)
{
    Database database(file, Database::Opening::CreateWhenMissing);
    registerUnicodeLike(database.handle());
    // A copy: what a crash loses is read from the server again.
    database.execute(QStringLiteral("PRAGMA synchronous = OFF"));
    database.execute(kSchema);
    if (copiedServer(database) != server) {
        Transaction transaction(database);
        database.execute(QStringLiteral("DELETE FROM vorlin; DELETE FROM zrcadlo"));
        Statement note(database, QStringLiteral("INSERT INTO zrcadlo VALUES (?, -1)"));
        note.bind(1, server);
        note.step();
        transaction.commit();
    }
    return database;
}

}  // namespace

ServerMirror::ServerMirror(const QString& file, const QString& server) : store_(opened(file, server)) {}

bool ServerMirror::holdsCopyOf(const QString& file, const QString& server)
{
    if (!QFile::exists(file))
        return false;
    try {
        // A first copy cut short (the program ended, the server went) holds
        // nothing to show.
        Database database(file);
        return copiedServer(database) == server && reachOf(database) >= 0;
    } catch (const DatabaseError&) {
        return false;
    }
}

qint64 ServerMirror::horizon()
{
    return reachOf(store_.database());
}

ServerMirror::Intake::Intake(ServerMirror& mirror, bool whole)
    : database_(mirror.store_.database()),
      transaction_(database_),
      put_(database_, QStringLiteral("INSERT OR REPLACE INTO vorlin (ID, nazev, druh, obsah, tag) VALUES (?, ?, ?, ?, ?)")),
      drop_(database_, QStringLiteral("DELETE FROM vorlin WHERE ID = ?"))
{
    if (whole)
        database_.execute(QStringLiteral("DELETE FROM vorlin"));
}

void ServerMirror::Intake::put(const QVariantList& row)
{
    put_.reset();
    for (int column = 0; column < 5; ++column)
        put_.bind(column + 1, row.value(column));
    put_.step();
}

void ServerMirror::Intake::drop(qint64 key)
{
    drop_.reset();
    drop_.bind(1, key);
    drop_.step();
}

void ServerMirror::Intake::commit(qint64 horizon)
{
    put_.reset();
    drop_.reset();
    Statement reach(database_, QStringLiteral("UPDATE zrcadlo SET horizont = ?"));
    reach.bind(1, horizon);
    reach.step();
    reach.reset();
    transaction_.commit();
}

}  // namespace vorlin::db
