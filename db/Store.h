#pragma once

#include "db/Selection.h"
#include "db/Sqlite.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace vorlin::db {

class RowSet;

// A write found its row changed by somebody else since it was read, or gone.
class RowChangedError : public DatabaseError {
public:
    RowChangedError(bool gone)
        : DatabaseError(QStringLiteral("Row cannot be located for updating. Some values may have been changed "
                                       "since it was last read.")),
          gone_(gone)
    {
    }
    bool rowIsGone() const { return gone_; }

private:
    bool gone_;
};

// Where a query's rows live: a database file of this computer or a server
// shared by an office. The query and the commands speak to the rows through
// this, never to an engine. Raises DatabaseError with the engine's text.
class Store {
public:
    virtual ~Store() = default;

    // The columns of a table, in their order; a table the store keeps
    // columns of its own in (versions, times) shows only the user's.
    virtual QStringList columns(const QString& table) = 0;

    // Reads the columns of the selection's rows into the set (cleared for
    // them); sorted by the database only when asked.
    virtual void read(const Selection& selection, const QStringList& columns, bool ordered, RowSet& rows) = 0;

    // A mark that differs whenever the table may have changed since it was
    // last taken, through this store or any other client.
    virtual qint64 changeMark() = 0;

    // One row's value of a column, found by its key; null when the row is gone.
    virtual QVariant valueOf(const QString& table, const QString& column, const QString& keyColumn,
                             const QVariant& key) = 0;

    struct Change {
        QString column;
        QVariant value;
        QVariant was;  // as it was read
    };
    // Updates the row with the key only while nobody changed it since it was
    // read: another client's change is never overwritten. Raises
    // DatabaseError when the row is gone or was changed meanwhile.
    virtual void update(const QString& table, const QString& keyColumn, const QVariant& key,
                        const QList<Change>& changes) = 0;
    // Writes the changes over whatever the row holds now.
    virtual void overwrite(const QString& table, const QString& keyColumn, const QVariant& key,
                           const QList<Change>& changes) = 0;
    // Inserts a row with the given columns (the others take their defaults)
    // and returns the stored row's values of the columns asked for.
    virtual QVariantList insert(const QString& table, const QList<std::pair<QString, QVariant>>& values,
                                const QStringList& returning) = 0;
    // Deletes the row with the key; a row already gone is no error.
    virtual void remove(const QString& table, const QString& keyColumn, const QVariant& key) = 0;

    // Runs a statement without result (in the program's SQL) in one
    // transaction; the number of rows it changed.
    virtual int execute(const QString& sql) = 0;

    // What other clients changed in the table since the rows were read or
    // last caught up: their rows as they are now (the columns asked for)
    // and the keys of rows that went. Nothing when the store cannot tell
    // (the rows must be read again).
    struct Changes {
        std::vector<QVariantList> rows;
        QList<qint64> removed;
    };
    virtual std::optional<Changes> changesSince(const QString& table, const QStringList& columns)
    {
        Q_UNUSED(table);
        Q_UNUSED(columns);
        return std::nullopt;
    }

    // Changes whenever the database file that readers of their own open
    // (Connection::fileForReaders) changed.
    virtual qint64 readersMark() { return changeMark(); }

    // Whether this client may only read (the server's permissions, a copy
    // shown while the server is away).
    virtual bool isReadOnly() const { return false; }

    // Whether snippets from elsewhere can be added in one go (upload).
    virtual bool takesUploads() const { return false; }
    // Snippets from elsewhere (name, kind, body, keywords) added in one
    // transaction, those the table holds already (same name, kind and body)
    // skipped: how many went in and how many were skipped.
    struct Upload {
        int sent = 0;
        int skipped = 0;
    };
    virtual Upload upload(const std::vector<QVariantList>& snippets)
    {
        (void)snippets;
        throw DatabaseError(QStringLiteral("This library takes no snippets from elsewhere"));
    }

    // A socket that becomes readable when other clients announce changes;
    // -1 when the store announces nothing.
    virtual int announcementSocket() const { return -1; }
    // Takes the announcements waiting; true when another client changed
    // the table (changeMark then differs).
    virtual bool takeAnnouncements() { return false; }
    // Called when one of this client's statements read announcements along
    // with its answer: the socket says nothing more of them, so whoever
    // takes them is told this way.
    std::function<void()> announcementsWaiting;
    // Whether the way to the rows was lost (a server gone away).
    virtual bool isBroken() const { return false; }
    // Whether the rows come from the last copy seen here while their home
    // is away.
    virtual bool isAway() const { return false; }
    // Tries to find the way to the rows again without making the caller
    // wait for an unreachable server: Pending while the answer is awaited
    // (to be asked again soon).
    enum class Reconnection { Done, Failed, Pending };
    virtual Reconnection reconnect() { return Reconnection::Done; }
};

}  // namespace vorlin::db
