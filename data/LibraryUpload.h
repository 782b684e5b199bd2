#pragma once

#include "db/Store.h"

#include <QString>

namespace vorlin {

// Every snippet of this computer's database file copied to the office
// server in one transaction, those it holds already skipped. Raises
// DatabaseError (the file unreadable, the server's refusal): then nothing
// went in.
db::Store::Upload uploadLocalLibrary(const QString& localFile, db::Store& server);

}  // namespace vorlin
