#pragma once

#include "db/SqliteStore.h"

#include <QString>

#include <vector>

namespace vorlin::db {

// The last copy of the office server's snippets seen here, bodies
// included: a database file of this computer, kept current while the
// server is reachable and read (only) while it is not. It notes the server
// it copies and how far its copy reaches.
class ServerMirror {
public:
    // Opens the file, making it when missing; a copy of another server is
    // emptied.
    ServerMirror(const QString& file, const QString& server);
    // Whether the file holds a whole copy of that server.
    static bool holdsCopyOf(const QString& file, const QString& server);

    // How far the copy reaches (the server's horizon); -1 for nothing yet.
    qint64 horizon();

    // Takes the server's rows (ID, name, kind, body, keywords) as they are
    // now and the keys of those that went, up to the horizon; all at once,
    // a whole copy replacing the rows before.
    void take(const std::vector<QVariantList>& rows, const QList<qint64>& removed, qint64 horizon, bool whole);

    SqliteStore& store() { return store_; }

private:
    SqliteStore store_;
};

}  // namespace vorlin::db
