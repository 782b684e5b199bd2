#pragma once

#include "data/IniFile.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <sys/types.h>

#include <ctime>

namespace vorlin {

// The program's settings file, read through one object: a key read once is
// kept, and the file is read again only when it changed on disk (written by
// hand, by another instance, or restored from a backup). Writes go to the
// file at once. The file's rules are IniFile's.
class SettingsFile {
public:
    explicit SettingsFile(QString fileName) : file_(std::move(fileName)) {}

    const QString& fileName() const { return file_.fileName(); }

    QString readString(QStringView section, QStringView key, const QString& defaultValue) const;
    bool readBool(QStringView section, QStringView key, bool defaultValue) const;
    void writeString(QStringView section, QStringView key, QStringView value);
    void writeBool(QStringView section, QStringView key, bool value);

private:
    // What tells that the file changed: its identity, size and times.
    struct Stamp {
        bool exists = false;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        timespec changed{};
        bool operator==(const Stamp& other) const;
        // Written so lately that a change within the clock's last tick
        // would not show in the times: not to be trusted yet.
        bool isFresh() const;
    };
    Stamp stampNow() const;
    // The kept values, forgotten when the file changed since they were read.
    QHash<QString, QString>& keptValues() const;

    IniFile file_;
    mutable Stamp stamp_;
    mutable bool stamped_ = false;
    mutable QHash<QString, QString> kept_;
};

// The settings file of the data folder (paths().dataDir).
SettingsFile& programSettings();

}  // namespace vorlin
