#include "db/Command.h"

#include "db/Connection.h"

namespace vorlin::db {

int Command::execute()
{
    if (!connection_)
        throw DatabaseError(QStringLiteral("Missing Connection or ConnectionString"));
    connection_->open();
    return connection_->store().execute(commandText_);
}

}  // namespace vorlin::db
