#pragma once

#include <QByteArray>
#include <QMimeData>
#include <QString>

#include <memory>

namespace vorlin {

// On X11 the clipboard lives in the program that copied: a snippet copied
// just before the program ends would end with it. A clipboard manager takes
// it over where one runs; elsewhere a small detached process of the program
// (the keeper) serves the copy until another program takes the clipboard.

// Every format of the data as one block of bytes, and back.
QByteArray packClipboard(const QMimeData& data);
std::unique_ptr<QMimeData> unpackClipboard(const QByteArray& bytes);

// As the program ends: when it owns the clipboard and no clipboard manager
// takes it over, starts the keeper (the executable with the option below).
// Returns the keeper's process id, 0 when none was needed or it could not start.
qint64 keepClipboardAfterExit(const QString& executable);

inline constexpr char kKeepClipboardOption[] = "--keep-clipboard";

// The keeper's whole run: serves what the file holds (the file is removed
// once read) until another program takes the clipboard over.
int runClipboardKeeper(int& argc, char** argv, const QString& file);

}  // namespace vorlin
