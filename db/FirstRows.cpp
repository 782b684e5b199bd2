#include "db/FirstRows.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <sys/stat.h>

#include <cstring>

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

// The whole order, a million keys and more, in bytes as this computer holds
// numbers: the mark, the stamp and the order it was kept for (each its
// length and UTF-8), the bytes of the texts, the number of rows, whether
// ties are known, the rows' keys, then (when known) a bit a row for a value
// the same as the one before.
constexpr char kOrderMark[8] = {'V', 'O', 'R', 'P', 'O', 'R', '0', '1'};

QString orderFileOf(const QString& path)
{
    const QFileInfo rows(path);
    return rows.path() + u'/' + rows.completeBaseName() + QStringLiteral("_poradi.bin");
}

template <class Number>
void appendNumber(QByteArray& bytes, Number number)
{
    bytes.append(reinterpret_cast<const char*>(&number), sizeof number);
}

void appendText(QByteArray& bytes, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    appendNumber(bytes, quint32(utf8.size()));
    bytes.append(utf8);
}

bool writeWholeOrder(const QString& path, const QString& stamp, const FirstRows& first)
{
    QByteArray bytes(kOrderMark, sizeof kOrderMark);
    appendText(bytes, stamp);
    appendText(bytes, first.order);
    appendNumber(bytes, quint64(first.textBytes));
    appendNumber(bytes, quint32(first.keys.size()));
    const bool tiesKnown = first.ties.size() == first.keys.size();
    appendNumber(bytes, quint8(tiesKnown));
    bytes.append(reinterpret_cast<const char*>(first.keys.data()), qsizetype(first.keys.size() * sizeof(qint64)));
    QByteArray ties(tiesKnown ? qsizetype((first.ties.size() + 7) / 8) : 0, '\0');
    for (std::size_t row = 0; row < first.ties.size(); ++row)
        if (first.ties[row])
            ties[qsizetype(row / 8)] = char(ties[qsizetype(row / 8)] | (1 << (row % 8)));
    bytes.append(ties);
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// Reads what `bytes` holds from `at` on; false when it ends first.
class Reading {
public:
    explicit Reading(const QByteArray& bytes) : bytes_(bytes) {}

    template <class Number>
    bool number(Number& number)
    {
        return take(&number, sizeof number);
    }
    bool text(QString& text)
    {
        quint32 size = 0;
        if (!number(size) || size > quint64(bytes_.size() - at_))
            return false;
        text = QString::fromUtf8(bytes_.constData() + at_, qsizetype(size));
        at_ += qsizetype(size);
        return true;
    }
    bool take(void* into, std::size_t size)
    {
        if (size > quint64(bytes_.size() - at_))
            return false;
        std::memcpy(into, bytes_.constData() + at_, size);
        at_ += qsizetype(size);
        return true;
    }
    qsizetype left() const { return bytes_.size() - at_; }

private:
    const QByteArray& bytes_;
    qsizetype at_ = 0;
};

// The whole order kept with the rows, when it fits them.
void readWholeOrder(const QString& path, const QString& stamp, const QString& rowsOrder, int shown, FirstRows& first)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    Reading reading(bytes);
    char mark[sizeof kOrderMark] = {};
    QString keptStamp;
    QString order;
    quint64 textBytes = 0;
    quint32 count = 0;
    quint8 tiesKnown = 0;
    if (!reading.take(mark, sizeof mark) || std::memcmp(mark, kOrderMark, sizeof mark) != 0
        || !reading.text(keptStamp) || keptStamp != stamp || !reading.text(order) || order != rowsOrder
        || !reading.number(textBytes) || !reading.number(count) || !reading.number(tiesKnown) || tiesKnown > 1
        || reading.left() != qsizetype(count) * qsizetype(sizeof(qint64)) + (tiesKnown ? qsizetype((count + 7) / 8) : 0)
        || count < quint32(shown))
        return;
    std::vector<qint64> keys(count);
    reading.take(keys.data(), count * sizeof(qint64));
    std::vector<bool> ties;
    if (tiesKnown) {
        std::vector<char> tieBits((count + 7) / 8);
        reading.take(tieBits.data(), tieBits.size());
        ties.resize(count);
        for (std::size_t row = 0; row < count; ++row)
            ties[row] = (tieBits[row / 8] >> (row % 8)) & 1;
    }
    first.keys = std::move(keys);
    first.ties = std::move(ties);
    first.textBytes = std::size_t(textBytes);
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
    // The rows alone are of use; an order that cannot be written goes, so
    // that none of another state stays beside them.
    if (first.keys.empty() || !writeWholeOrder(orderFileOf(path), stampText(stamp), first))
        QFile::remove(orderFileOf(path));
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
    first.readWholeOrder = [file = orderFileOf(path), stamp = stampText(stamp), order = first.order,
                            shown = first.rows.rowCount()](FirstRows& into) {
        readWholeOrder(file, stamp, order, shown, into);
    };
    return first;
}

}  // namespace vorlin::db
