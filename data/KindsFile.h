#pragma once

#include <QString>
#include <QStringList>

namespace vorlin::db {
class RowSet;
}

namespace vorlin::kinds {

inline constexpr QStringView kFileName = u"vorlin_druh.txt";

inline QString filePath(const QString& dataDir)
{
    return dataDir + kFileName.toString();
}

// What the kind choosers show before the file is first loaded.
QStringList initialKinds();

// One kind a line, verbatim (nothing trimmed, empty lines are kinds too);
// Windows-1250, lines end in CR LF, LF or CR, a zero byte ends the text.
// A missing or unreadable file raises FileError "Cannot open file ...".
QStringList load(const QString& path);

// Every line followed by CR LF, Windows-1250, replacing the file atomically.
// A refused write raises FileError "Cannot create file ...".
void save(const QString& path, const QStringList& kinds);

// The items of the kind box and of the kind filter list: an empty entry, then
// the kinds.
QStringList choicesWithEmptyFirst(const QStringList& kinds);

// The kinds this computer lists, then every other kind the rows carry in
// the column (a shared library's, uploaded by colleagues), in Czech order;
// a kind differing from a listed one only in letter case is that one.
QStringList withKindsOfRows(const QStringList& listed, const db::RowSet& rows, int column);

}  // namespace vorlin::kinds
