#include "db/FirstRows.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <sys/stat.h>

namespace vorlin::db {

namespace {

constexpr int kFormat = 1;
constexpr qint64 kLargestFile = 4 << 20;
constexpr qint64 kLargestExactInteger = qint64(1) << 53;
constexpr qint64 kHeaderCounterAt = 24;

QString stampText(const FileStamp& stamp)
{
    return QStringLiteral("%1:%2:%3:%4").arg(stamp.size).arg(stamp.changedNs).arg(stamp.counter).arg(stamp.inode);
}

}  // namespace

std::optional<FileStamp> FileStamp::of(const QString& file)
{
    // A journal left by a write that did not end, or a log not yet taken
    // into the file, changes the rows without changing the file.
    for (const char* beside : {"-journal", "-wal"})
        if (QFileInfo::exists(file + QLatin1String(beside)))
            return std::nullopt;
    struct stat status {};
    if (::stat(QFile::encodeName(file).constData(), &status) != 0)
        return std::nullopt;
    QFile database(file);
    if (!database.open(QIODevice::ReadOnly) || !database.seek(kHeaderCounterAt))
        return std::nullopt;
    const QByteArray counter = database.read(4);
    if (counter.size() != 4)
        return std::nullopt;
    FileStamp stamp;
    stamp.size = qint64(status.st_size);
    stamp.changedNs = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    stamp.counter = quint32(quint8(counter[0])) << 24 | quint32(quint8(counter[1])) << 16
                    | quint32(quint8(counter[2])) << 8 | quint32(quint8(counter[3]));
    stamp.inode = quint64(status.st_ino);
    return stamp;
}

bool writeFirstRows(const QString& path, const FileStamp& stamp, const FirstRows& first)
{
    QJsonArray rows;
    for (int row = 0; row < first.rows.rowCount(); ++row) {
        QJsonArray values;
        for (const QVariant& value : first.rows.row(row)) {
            if (value.isNull())
                values.append(QJsonValue::Null);
            else if (value.typeId() == QMetaType::QString)
                values.append(value.toString());
            else if (value.typeId() == QMetaType::LongLong && qAbs(value.toLongLong()) < kLargestExactInteger)
                values.append(value.toLongLong());
            else
                return false;
        }
        rows.append(values);
    }
    const QJsonObject kept{{QStringLiteral("format"), kFormat},
                           {QStringLiteral("soubor"), stampText(stamp)},
                           {QStringLiteral("poradi"), first.order},
                           {QStringLiteral("sloupcu"), first.rows.columnCount()},
                           {QStringLiteral("radky"), rows}};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QJsonDocument(kept).toJson(QJsonDocument::Compact));
    return file.commit();
}

std::optional<FirstRows> readFirstRows(const QString& path, const FileStamp& stamp)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestFile)
        return std::nullopt;
    const QJsonObject kept = QJsonDocument::fromJson(file.readAll()).object();
    const int columns = kept.value(QStringLiteral("sloupcu")).toInt();
    if (kept.value(QStringLiteral("format")).toInt() != kFormat
        || kept.value(QStringLiteral("soubor")).toString() != stampText(stamp) || columns <= 0)
        return std::nullopt;
    FirstRows first;
    first.order = kept.value(QStringLiteral("poradi")).toString();
    first.rows.clear(columns);
    for (const QJsonValue& row : kept.value(QStringLiteral("radky")).toArray()) {
        const QJsonArray values = row.toArray();
        if (values.size() != columns)
            return std::nullopt;
        for (const QJsonValue& value : values) {
            if (value.isNull()) {
                first.rows.appendNull();
            } else if (value.isString()) {
                const QByteArray text = value.toString().toUtf8();
                first.rows.appendText(text.constData(), std::size_t(text.size()));
            } else if (value.isDouble() && value.toDouble() == double(value.toInteger())
                       && qAbs(value.toInteger()) < kLargestExactInteger) {
                first.rows.appendInteger(value.toInteger());
            } else {
                return std::nullopt;
            }
        }
    }
    first.rows.fitMemory();
    return first;
}

}  // namespace vorlin::db
