#include "data/SettingsFile.h"

#include "common/Paths.h"
#include "data/Settings.h"

#include <QFile>

#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace vorlin {

namespace {

// A default no value read from a Windows-1250 file can equal: a key that is
// missing is kept as missing.
const QString kMissing = QString(QChar(0xFFFF));

QString keyOf(QChar kind, QStringView section, QStringView key)
{
    return QString(kind) + section.toString().toLower() + QChar(u'\n') + key.toString().toLower();
}

}  // namespace

bool SettingsFile::Stamp::operator==(const Stamp& other) const
{
    return exists == other.exists && inode == other.inode && size == other.size
        && modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec
        && changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
}

bool SettingsFile::Stamp::isFresh() const
{
    if (!exists)
        return false;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const auto ms = [](const timespec& t) { return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000; };
    return ms(now) - std::max(ms(modified), ms(changed)) < 100;
}

SettingsFile::Stamp SettingsFile::stampNow() const
{
    struct stat info {};
    if (::stat(QFile::encodeName(fileName()).constData(), &info) != 0)
        return {};
    return {true, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

QHash<QString, QString>& SettingsFile::keptValues() const
{
    const Stamp now = stampNow();
    if (!stamped_ || !(now == stamp_) || now.isFresh()) {
        kept_.clear();
        stamp_ = now;
        stamped_ = true;
    }
    return kept_;
}

QString SettingsFile::readString(QStringView section, QStringView key, const QString& defaultValue) const
{
    QHash<QString, QString>& kept = keptValues();
    const QString name = keyOf(u's', section, key);
    auto found = kept.find(name);
    if (found == kept.end())
        found = kept.insert(name, file_.readString(section, key, kMissing));
    return *found == kMissing ? defaultValue : *found;
}

bool SettingsFile::readBool(QStringView section, QStringView key, bool defaultValue) const
{
    // Whether a value counts as a number is IniFile's to say: asked with
    // both defaults, a value that is one answers the same to each.
    QHash<QString, QString>& kept = keptValues();
    const QString name = keyOf(u'b', section, key);
    auto found = kept.find(name);
    if (found == kept.end()) {
        const bool whenFalse = file_.readBool(section, key, false);
        const bool whenTrue = file_.readBool(section, key, true);
        found = kept.insert(name, whenFalse == whenTrue ? QString::number(whenTrue) : kMissing);
    }
    return *found == kMissing ? defaultValue : *found == u"1";
}

void SettingsFile::writeString(QStringView section, QStringView key, QStringView value)
{
    file_.writeString(section, key, value);
    stamped_ = false;
}

void SettingsFile::writeBool(QStringView section, QStringView key, bool value)
{
    file_.writeBool(section, key, value);
    stamped_ = false;
}

SettingsFile& programSettings()
{
    // Made again when the data folder is another (a test's own).
    static std::unique_ptr<SettingsFile> file;
    const QString name = settings::filePath(paths().dataDir);
    if (!file || file->fileName() != name)
        file = std::make_unique<SettingsFile>(name);
    return *file;
}

}  // namespace vorlin
