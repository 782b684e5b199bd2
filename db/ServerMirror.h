#pragma once

#include "db/SqliteStore.h"

#include <QString>

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

    // The server's rows as they are now (ID, name, kind, body, keywords)
    // and the keys of those that went, taken in one transaction: nothing
    // of it counts until the horizon they reach is noted. A whole copy
    // replaces the rows before.
    class Intake {
    public:
        Intake(ServerMirror& mirror, bool whole);
        void put(const QVariantList& row);
        void drop(qint64 key);
        void commit(qint64 horizon);

    private:
        Database& database_;
        Transaction transaction_;
        Statement put_;
        Statement drop_;
    };

    SqliteStore& store() { return store_; }

private:
    SqliteStore store_;
};

}  // namespace vorlin::db
