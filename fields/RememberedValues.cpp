#include "fields/RememberedValues.h"

#include "common/TextFile.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorlin::fields {

RememberedValues::RememberedValues(QString file) : file_(std::move(file))
{
    const int fd = ::open(QFile::encodeName(file_).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    QFile in;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kLargestFile
        || !in.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return;
    }
    const QJsonObject stored = QJsonDocument::fromJson(in.read(kLargestFile)).object();
    for (auto it = stored.begin(); it != stored.end(); ++it)
        if (it.value().isString())
            values_.insert(it.key(), it.value().toString());
}

std::optional<QString> RememberedValues::value(const QString& key) const
{
    const auto found = values_.constFind(key);
    return found == values_.constEnd() ? std::nullopt : std::optional(*found);
}

bool RememberedValues::keep(const QString& key, const QString& value, QString* reason)
{
    return keep({{key, value}}, reason);
}

bool RememberedValues::keep(const QList<std::pair<QString, QString>>& values, QString* reason)
{
    bool changed = false;
    for (const auto& [key, value] : values) {
        const auto found = values_.constFind(key);
        if (found != values_.constEnd() && *found == value)
            continue;
        values_.insert(key, value);
        changed = true;
    }
    if (!changed)
        return true;
    QJsonObject stored;
    for (auto it = values_.constBegin(); it != values_.constEnd(); ++it)
        stored.insert(it.key(), it.value());
    return replaceFileNotFollowing(file_, QJsonDocument(stored).toJson(QJsonDocument::Indented), reason);
}

QString RememberedValues::fieldKey(const QString& fieldName)
{
    return fieldName.trimmed().toCaseFolded();
}

QString RememberedValues::salutationKey(const QString& name)
{
    return QStringLiteral("oslovení:") + name.simplified().toCaseFolded();
}

}  // namespace vorlin::fields
