#include "db/RowSet.h"

#include "common/Error.h"
#include "db/StorageClass.h"

#include <sqlite3.h>

#include <cstring>
#include <limits>

namespace vorlin::db {

void RowSet::clear(int columnCount)
{
    columns_ = columnCount;
    words_.clear();
    bytes_.clear();
    lately_.clear();
    sharing_.clear();
}

void RowSet::fitMemory()
{
    // A little room left is not worth a copy of everything held.
    const auto fit = [](auto& values) {
        if (values.capacity() - values.size() > values.size() / 8)
            values.shrink_to_fit();
    };
    fit(words_);
    fit(bytes_);
    std::vector<std::uint32_t>().swap(lately_);
    sharing_.clear();
}

std::uint32_t RowSet::storeText(int column, const char* data, std::size_t size)
{
    if (size > kLongestShared)
        return storeBytes(Type::Text, data, size);
    if (lately_.empty()) {
        lately_.assign(kLatelySlots, kNullWord);
        sharing_.assign(std::size_t(columns_), {});
    }
    // A column whose texts do not come again (the names) is not looked up
    // beyond its first rows.
    Sharing& sharing = sharing_[std::size_t(column)];
    if (sharing.tried >= kTriedBeforeGivingUp && sharing.shared * 10 < sharing.tried)
        return storeBytes(Type::Text, data, size);
    ++sharing.tried;
    const std::string_view text(data, size);
    std::uint32_t& slot = lately_[std::hash<std::string_view>{}(text) % kLatelySlots];
    if (slot != kNullWord && bytesOf(cellOf(slot)) == text) {
        ++sharing.shared;
        return slot;
    }
    slot = storeBytes(Type::Text, data, size);
    return slot;
}

std::uint32_t RowSet::storeBytes(Type type, const char* data, std::size_t size)
{
    // The words hold places in 4 GB of store, and a value may take 512 MB:
    // beyond them the list is refused rather than held wrongly.
    if (bytes_.empty())
        bytes_.assign(2, '\0');  // no value's place is 0, the empty value's word
    const std::size_t header = 2 + (size >= 0x80 ? 4 : 0);
    const std::size_t at = bytes_.size() + (bytes_.size() & 1);
    if (size >= (std::size_t(1) << 29) || at + header + size > std::numeric_limits<std::uint32_t>::max())
        throw Error(QStringLiteral("The rows are too large to be held in memory"));
    bytes_.resize(at);
    // The type, then the size in a byte below 128, else in four after it.
    bytes_.push_back(char(type));
    if (size < 0x80) {
        bytes_.push_back(char(size));
    } else {
        bytes_.push_back(char(0x80));
        const auto bytes = std::uint32_t(size);
        bytes_.insert(bytes_.end(), reinterpret_cast<const char*>(&bytes), reinterpret_cast<const char*>(&bytes) + 4);
    }
    bytes_.insert(bytes_.end(), data, data + size);
    return std::uint32_t(at);
}

RowSet::Cell RowSet::cellOf(std::uint32_t word) const
{
    Cell cell;
    if (word == kNullWord)
        return cell;
    if (word & 1u) {
        cell.data = std::uint32_t(std::int32_t(word) >> 1);
        cell.packed = std::uint32_t(Type::Integer);
        return cell;
    }
    const auto* header = reinterpret_cast<const unsigned char*>(bytes_.data() + word);
    std::uint32_t size = header[1];
    std::uint32_t start = word + 2;
    if (size == 0x80) {
        std::memcpy(&size, header + 2, sizeof size);
        start += 4;
    }
    cell.data = start;
    cell.packed = size << 3 | std::uint32_t(header[0]);
    return cell;
}

std::uint32_t RowSet::storeInteger(qint64 value)
{
    constexpr qint64 kSmallest = -(qint64(1) << 30);
    constexpr qint64 kLargest = (qint64(1) << 30) - 1;
    if (value >= kSmallest && value <= kLargest)
        return std::uint32_t(value) << 1 | 1u;
    return storeBytes(Type::WideInteger, reinterpret_cast<const char*>(&value), sizeof value);
}

qint64 RowSet::integerOf(const Cell& cell) const
{
    if (cell.type() == Type::Integer)
        return std::int32_t(cell.data);
    qint64 value;
    std::memcpy(&value, bytes_.data() + cell.offset(), sizeof value);
    return value;
}

double RowSet::realOf(const Cell& cell) const
{
    double value;
    std::memcpy(&value, bytes_.data() + cell.offset(), sizeof value);
    return value;
}

void RowSet::appendFrom(sqlite3_stmt* statement)
{
    for (int column = 0; column < columns_; ++column) {
        std::uint32_t word = kNullWord;
        switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER:
            word = storeInteger(sqlite3_column_int64(statement, column));
            break;
        case SQLITE_FLOAT: {
            const double real = sqlite3_column_double(statement, column);
            word = storeBytes(Type::Real, reinterpret_cast<const char*>(&real), sizeof real);
            break;
        }
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            word = storeText(column, text, std::size_t(sqlite3_column_bytes(statement, column)));
            break;
        }
        case SQLITE_BLOB: {
            const auto* blob = static_cast<const char*>(sqlite3_column_blob(statement, column));
            word = storeBytes(Type::Blob, blob, std::size_t(sqlite3_column_bytes(statement, column)));
            break;
        }
        default:
            break;
        }
        words_.push_back(word);
    }
}

qint64 RowSet::integerAt(int row, int column) const
{
    const Cell cell = cellAt(row, column);
    return cell.type() == Type::Integer || cell.type() == Type::WideInteger ? integerOf(cell) : 0;
}

QVariant RowSet::value(int row, int column) const
{
    const Cell cell = cellAt(row, column);
    switch (cell.type()) {
    case Type::Integer:
    case Type::WideInteger:
        return QVariant(integerOf(cell));
    case Type::Real:
        return QVariant(realOf(cell));
    case Type::Text:
        return QVariant(QString::fromUtf8(bytes_.data() + cell.offset(), qsizetype(cell.size())));
    case Type::Blob:
        return QVariant(QByteArray(bytes_.data() + cell.offset(), qsizetype(cell.size())));
    case Type::Null:
        break;
    }
    return QVariant();
}

QVariantList RowSet::row(int row) const
{
    QVariantList values;
    values.reserve(columns_);
    for (int column = 0; column < columns_; ++column)
        values << value(row, column);
    return values;
}

std::uint32_t RowSet::wordOf(const QVariant& value)
{
    switch (storageClassOf(value)) {
    case StorageClass::Null:
        break;
    case StorageClass::Integer:
        return storeInteger(value.toLongLong());
    case StorageClass::Real: {
        const double real = value.toDouble();
        return storeBytes(Type::Real, reinterpret_cast<const char*>(&real), sizeof real);
    }
    case StorageClass::Blob: {
        const QByteArray blob = value.toByteArray();
        return storeBytes(Type::Blob, blob.constData(), std::size_t(blob.size()));
    }
    case StorageClass::Text: {
        const QByteArray text = value.toString().toUtf8();
        return storeBytes(Type::Text, text.constData(), std::size_t(text.size()));
    }
    }
    return kNullWord;
}

void RowSet::insertRow(int row, const QVariantList& values)
{
    std::vector<std::uint32_t> words;
    for (int column = 0; column < columns_; ++column)
        words.push_back(wordOf(values.value(column)));
    words_.insert(words_.begin() + std::ptrdiff_t(row) * columns_, words.begin(), words.end());
}

void RowSet::replaceRow(int row, const QVariantList& values)
{
    for (int column = 0; column < columns_; ++column)
        words_[std::size_t(row) * std::size_t(columns_) + std::size_t(column)] = wordOf(values.value(column));
}

void RowSet::removeRow(int row)
{
    const auto start = words_.begin() + std::ptrdiff_t(row) * columns_;
    words_.erase(start, start + columns_);
}

}  // namespace vorlin::db
