#pragma once

#include <QString>

namespace vorlin {

class SettingsFile;

// Where the snippets live: the database file in the data folder, or the
// office's PostgreSQL server at an address in libpq's form
// ("postgresql://server/vorlin"), as a user (empty: libpq's own choice).
struct LibraryAddress {
    QString server;  // empty: this computer's file
    QString user;

    bool isServer() const { return !server.isEmpty(); }
    // The server's address as shown to the user and kept in the settings:
    // without a password.
    QString shownServer() const;
    bool operator==(const LibraryAddress&) const = default;
};

// The library named in the settings file, unless a run names another: the
// command line's "--library" first, then the environment's VORLIN_LIBRARY;
// the word "local" names this computer's file.
LibraryAddress chosenLibrary(const SettingsFile& settings, const QString& commandLine, const QString& environment);

// Written into the settings file; a password never is, not even one
// inside the address.
void writeLibrary(SettingsFile& settings, const LibraryAddress& library);

}  // namespace vorlin
