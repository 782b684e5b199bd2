#include "db/RowSet.h"

#include "db/StorageClass.h"
#include "db/TextOrder.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>

namespace vorlin::db {

void RowSet::clear(int columnCount)
{
    columns_ = columnCount;
    cells_.clear();
    bytes_.clear();
}

RowSet::Cell RowSet::storeBytes(Type type, const char* data, std::size_t size)
{
    Cell cell;
    cell.type = type;
    cell.data = std::int64_t(bytes_.size());
    cell.size = std::uint32_t(size);
    bytes_.insert(bytes_.end(), data, data + size);
    return cell;
}

void RowSet::appendFrom(sqlite3_stmt* statement)
{
    for (int column = 0; column < columns_; ++column) {
        Cell cell;
        switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER:
            cell.type = Type::Integer;
            cell.data = sqlite3_column_int64(statement, column);
            break;
        case SQLITE_FLOAT: {
            cell.type = Type::Real;
            const double real = sqlite3_column_double(statement, column);
            std::memcpy(&cell.data, &real, sizeof real);
            break;
        }
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            cell = storeBytes(Type::Text, text, std::size_t(sqlite3_column_bytes(statement, column)));
            break;
        }
        case SQLITE_BLOB: {
            const auto* blob = static_cast<const char*>(sqlite3_column_blob(statement, column));
            cell = storeBytes(Type::Blob, blob, std::size_t(sqlite3_column_bytes(statement, column)));
            break;
        }
        default:
            break;
        }
        cells_.push_back(cell);
    }
}

QVariant RowSet::value(int row, int column) const
{
    const Cell& cell = cells_[std::size_t(row) * std::size_t(columns_) + std::size_t(column)];
    switch (cell.type) {
    case Type::Integer:
        return QVariant(qint64(cell.data));
    case Type::Real: {
        double real;
        std::memcpy(&real, &cell.data, sizeof real);
        return QVariant(real);
    }
    case Type::Text:
        return QVariant(QString::fromUtf8(bytes_.data() + cell.data, qsizetype(cell.size)));
    case Type::Blob:
        return QVariant(QByteArray(bytes_.data() + cell.data, qsizetype(cell.size)));
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

RowSet::Cell RowSet::cellOf(const QVariant& value)
{
    Cell cell;
    switch (storageClassOf(value)) {
    case StorageClass::Null:
        break;
    case StorageClass::Integer:
        cell.type = Type::Integer;
        cell.data = value.toLongLong();
        break;
    case StorageClass::Real: {
        cell.type = Type::Real;
        const double real = value.toDouble();
        std::memcpy(&cell.data, &real, sizeof real);
        break;
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
    return cell;
}

void RowSet::insertRow(int row, const QVariantList& values)
{
    std::vector<Cell> cells;
    for (int column = 0; column < columns_; ++column)
        cells.push_back(cellOf(values.value(column)));
    cells_.insert(cells_.begin() + std::ptrdiff_t(row) * columns_, cells.begin(), cells.end());
}

void RowSet::replaceRow(int row, const QVariantList& values)
{
    for (int column = 0; column < columns_; ++column)
        cells_[std::size_t(row) * std::size_t(columns_) + std::size_t(column)] = cellOf(values.value(column));
}

void RowSet::removeRow(int row)
{
    const auto start = cells_.begin() + std::ptrdiff_t(row) * columns_;
    cells_.erase(start, start + columns_);
}

void RowSet::sortBy(int column, bool descending, const TextOrder& order)
{
    const int rows = rowCount();
    // Every value's key in one store; its first eight bytes, read as one
    // number, decide most comparisons.
    struct Key {
        std::uint64_t head;
        std::uint32_t offset;  // of the rest, after the head's bytes
        std::uint32_t size;    // of the rest
        std::uint8_t headSize;
    };
    std::string store;
    store.reserve(std::size_t(rows) * 48);
    std::vector<Key> keys(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        const Cell& cell = cells_[std::size_t(row) * std::size_t(columns_) + std::size_t(column)];
        const std::size_t start = store.size();
        switch (cell.type) {
        case Type::Null:
            store.push_back('\1');
            break;
        case Type::Integer:
        case Type::Real: {
            double number;
            if (cell.type == Type::Integer)
                number = double(cell.data);
            else
                std::memcpy(&number, &cell.data, sizeof number);
            std::uint64_t bits;
            std::memcpy(&bits, &number, sizeof bits);
            bits = (bits & 0x8000000000000000ull) ? ~bits : bits | 0x8000000000000000ull;
            store.push_back('\2');
            for (int shift = 56; shift >= 0; shift -= 8)
                store.push_back(char(bits >> shift));
            break;
        }
        case Type::Text:
            store.push_back('\3');
            order.appendKey(std::string_view(bytes_.data() + cell.data, cell.size), store);
            break;
        case Type::Blob:
            store.push_back('\4');
            store.append(bytes_.data() + cell.data, cell.size);
            break;
        }
        // Keys compare as bytes, the shorter of two that begin alike first.
        Key& key = keys[std::size_t(row)];
        const std::size_t size = store.size() - start;
        const std::size_t inHead = std::min<std::size_t>(8, size);
        key.head = 0;
        for (std::size_t i = 0; i < 8; ++i)
            key.head = (key.head << 8) | (i < inHead ? static_cast<unsigned char>(store[start + i]) : 0u);
        key.offset = std::uint32_t(start + inHead);
        key.size = std::uint32_t(size - inHead);
        key.headSize = std::uint8_t(inHead);
    }

    const char* base = store.data();
    auto before = [&](const Key& a, const Key& b) {
        if (a.head != b.head)
            return a.head < b.head;
        const std::uint32_t common = std::min(a.size, b.size);
        const int compared = std::memcmp(base + a.offset, base + b.offset, common);
        if (compared != 0)
            return compared < 0;
        return a.size != b.size ? a.size < b.size : a.headSize < b.headSize;
    };
    std::vector<int> sorted(static_cast<std::size_t>(rows));
    std::iota(sorted.begin(), sorted.end(), 0);
    std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) {
        return descending ? before(keys[std::size_t(b)], keys[std::size_t(a)])
                          : before(keys[std::size_t(a)], keys[std::size_t(b)]);
    });

    std::vector<Cell> cells;
    cells.reserve(cells_.size());
    for (const int row : sorted) {
        const auto first = cells_.begin() + std::ptrdiff_t(row) * columns_;
        cells.insert(cells.end(), first, first + columns_);
    }
    cells_.swap(cells);
}

}  // namespace vorlin::db
