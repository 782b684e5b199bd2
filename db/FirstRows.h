#pragma once

#include "db/RowSet.h"

#include <QString>

#include <optional>

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
// columns, order column and direction, text order) and the rows themselves.
struct FirstRows {
    QString order;
    RowSet rows;
};

// Kept for the file in that state: the rows' integers, texts and empty
// values. False when they hold any other value or the file cannot be written.
bool writeFirstRows(const QString& path, const FileStamp& stamp, const FirstRows& first);
// The rows kept for the file in this state; nothing when the file is kept
// for another state, or is missing, damaged or odd.
std::optional<FirstRows> readFirstRows(const QString& path, const FileStamp& stamp);

}  // namespace vorlin::db
