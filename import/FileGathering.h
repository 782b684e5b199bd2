#pragma once

#include <QString>
#include <QStringList>

namespace vorlin {

// Appends the full paths of the files in the folder tree whose names match
// the mask ("*.doc"), letter case ignored: the files of a folder first, in
// the order the file system gives them, then each subfolder in turn, depth
// first. Hidden files are found; folders whose names begin with "." are not
// entered, nor folders reached through a symbolic link (a link back up the
// tree would never end). Only regular files count. Once stopRequested is
// set, no further folder is entered. Matching files and folders whose names
// are not in the system's encoding (UTF-8) cannot be opened: they are left
// out and appended to unnamable, when given.
void gatherFiles(QStringList& list, const QString& folder, const QString& mask, const bool& stopRequested,
                 QStringList* unnamable = nullptr);

}  // namespace vorlin
