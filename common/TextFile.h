#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace vorlin {

// The whole content of a file. A file that cannot be opened or read raises
// FileError "Cannot open file "<path>". <system's reason>".
QByteArray readWholeFile(const QString& path);

// Replaces the file's content atomically: the bytes go to a temporary file in
// the same folder, which is flushed to disk and renamed over the target, so a
// crash leaves either the old or the new file, never a mix. A file without any
// write permission counts as read-only and is refused even for root. On
// failure returns false and sets reason to the system's text.
bool replaceFileContent(const QString& path, QByteArrayView bytes, QString* reason = nullptr);

// The same, but a symbolic link at the path is replaced by the file, never
// written through: for the program's own files, which a link planted in
// their place must not send elsewhere.
bool replaceFileNotFollowing(const QString& path, QByteArrayView bytes, QString* reason = nullptr);

// The lines of a text: lines end in CR LF, LF or CR, a line end after the last
// line does not add an empty line, and a zero character ends the text.
QStringList splitLines(QStringView text);

// The text of a text file from elsewhere: UTF-8 when it begins with the UTF-8
// byte-order mark (which is left off) or is valid UTF-8 throughout, else
// Windows-1250, the program's own code page.
QString decodeForeignText(QByteArrayView bytes);

// The same text as Windows-1250 bytes; what the code page lacks becomes "?".
// Windows-1250 bytes come back unchanged.
QByteArray foreignTextAsWin1250(QByteArrayView bytes);

// The bytes with every line break (CR LF, LF or CR) made CR LF.
QByteArray withCrLfLineEnds(QByteArrayView bytes);
QString withCrLfLineEnds(QStringView text);

// The lines, each followed by CR LF.
QString joinLinesCrLf(const QStringList& lines);

}  // namespace vorlin
