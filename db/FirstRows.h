#pragma once

#include "db/RowSet.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace vorlin::db {

// Tells one state of a database file from another without reading it: its
// size, the time of its last change, the change counter the engine writes
// into its header at every commit (the file keeps a rollback journal), and
// its inode (another file put in its place).
struct FileStamp {
    qint64 size = -1;
    qint64 changedNs = 0;
    quint32 counter = 0;
    quint64 inode = 0;

    // Nothing for a file that cannot be read, or that a journal or a
    // write-ahead log beside it may still change.
    static std::optional<FileStamp> of(const QString& file);
    bool operator==(const FileStamp&) const = default;
};

// The first rows the list showed as the program ended, for the next start
// to show while it reads the table: what they were ordered by (table,
// columns, order column and direction, text order) and the rows themselves;
// and the whole table in that order, for the start to take instead of
// sorting it again: its rows' keys in the order, which of them hold the
// same value as the one before, and the bytes its texts took.
struct FirstRows {
    QString order;
    RowSet rows;
    std::vector<qint64> keys;
    std::vector<bool> ties;
    std::size_t textBytes = 0;
    // Rows read back: reads the whole order kept with them into keys, ties
    // and textBytes (on any thread; it takes a moment at a million rows),
    // leaving them empty where it is missing or does not fit them.
    std::function<void(FirstRows& into)> readWholeOrder;
};

// Kept for the file in that state: the rows' integers, texts and empty
// values in the file at the path, the whole order in one beside it. False
// when the rows hold any other value or a file cannot be written.
bool writeFirstRows(const QString& path, const FileStamp& stamp, const FirstRows& first);
// The rows kept for the file in this state; nothing when they are kept for
// another state, or are missing, damaged or odd. The whole order is read
// later, by readWholeOrder.
std::optional<FirstRows> readFirstRows(const QString& path, const FileStamp& stamp);

}  // namespace vorlin::db
