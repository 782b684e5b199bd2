#include "db/Command.h"

#include "db/Connection.h"
#include "db/StatementText.h"

namespace vorlin::db {

int Command::execute()
{
    if (!connection_)
        throw DatabaseError(QStringLiteral("Missing Connection or ConnectionString"));
    connection_->open();
    Database& database = connection_->database();
    Transaction transaction(database);
    Statement statement(database, translateJetSql(commandText_));
    while (statement.step()) {
    }
    const int changed = database.changes();
    transaction.commit();
    return changed;
}

}  // namespace vorlin::db
