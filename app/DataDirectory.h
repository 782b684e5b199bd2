#pragma once

#include "common/Paths.h"

#include <QList>
#include <QString>

namespace vorlin {

// The data folder the Windows program derives from the roaming
// application-data folder: the text before the first "Roaming" (letter case
// counts) followed by "Local\Vorlin\"; the executable's folder when the folder
// is unknown or holds no "Roaming".
QString dataDirFromAppData(const QString& appDataFolder, const QString& exeDir);

// The data folder on Linux: $XDG_DATA_HOME/Vorlin/ (an absolute
// XDG_DATA_HOME only), else $HOME/.local/share/Vorlin/, else the executable's
// folder.
QString dataDirFromEnvironment(const QString& xdgDataHome, const QString& home, const QString& exeDir);

// A folder name as the program can use it: its text when the bytes are
// UTF-8, else a name under /proc/self/fd that leads to the folder itself
// (created first when missing).
QString usableFolderName(const QByteArray& native);

// The folder of the running executable (symbolic links resolved), with "/".
QString processExeDir();

// ExeDir, DataDir and FilterDir of this process.
Paths startupPaths();

// FilterDir of a data folder.
inline QString filterDirOf(const QString& dataDir)
{
    return dataDir + QStringLiteral("hledani/");
}

struct SeedFile {
    QString source;
    QString target;
};

// The files delivered beside the executable and where they go.
QList<SeedFile> seedFiles(const Paths& paths);

// Creates DataDir and FilterDir and copies each seed file that is missing
// there. Each step is independent of the others and nothing is reported: a
// file that could not be put in place shows up when it is first used. A copy
// goes through a temporary file, so an interrupted start never leaves half a
// database behind. Then the data folder and its files, made by an earlier
// version or under a looser mask, are closed to other users (the program's
// own folder, when it serves as the data folder, is left as installed).
void seedDataDir(const Paths& paths);

}  // namespace vorlin
