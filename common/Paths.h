#pragma once

#include <QString>

namespace vorlin {

// Where the program's files live. Set once at start-up before any window
// exists; every folder ends in "/".
struct Paths {
    QString exeDir;     // the executable's folder: seed files, version file
    QString dataDir;    // the per-user data folder, or exeDir
    QString filterDir;  // dataDir + "hledani/": the import's filter files
};

// The library's database file in a folder (the data folder, the seed files'
// folder, a backup).
inline QString libraryFileIn(const QString& folder)
{
    return folder + QStringLiteral("vorlin.mdb");
}

const Paths& paths();
void setPaths(Paths paths);

}  // namespace vorlin
