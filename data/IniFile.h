#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

namespace vorlin {

// An INI file read and written the way the Windows profile functions do it.
// Nothing is cached: every call reads the file by name, and every write
// replaces it whole. Windows-1250 on disk; section and key names match without
// regard to letter case; values are trimmed of blanks and of one pair of
// enclosing quotes, and at most 2047 characters of a value are returned. A
// missing file, section or key gives the default.
class IniFile {
public:
    static constexpr qsizetype kMaxValueLength = 2047;

    explicit IniFile(QString fileName) : fileName_(std::move(fileName)) {}

    const QString& fileName() const { return fileName_; }

    QString readString(QStringView section, QStringView key, const QString& defaultValue) const;

    // The value as a whole number ("0x" for hexadecimal); a value that
    // is not one gives the default.
    std::int32_t readInteger(QStringView section, QStringView key, std::int32_t defaultValue) const;

    // Nonzero is true; a value that is not an integer gives the default.
    bool readBool(QStringView section, QStringView key, bool defaultValue) const;

    // Creates the file or the section when missing, replaces the key's line or
    // adds one at the end of its section, and keeps every other line. Raises
    // FileError "Unable to write to <file>" when the write is refused.
    void writeString(QStringView section, QStringView key, QStringView value);

    // Written as "1" or "0".
    void writeBool(QStringView section, QStringView key, bool value);

private:
    QString fileName_;
};

}  // namespace vorlin
