#include "db/RowSet.h"

#include "db/StorageClass.h"
#include "db/TextOrder.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
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

namespace {

// A value's place in the order: its kind (empty, number, text, binary), then
// its key's first eight bytes as one number, then the rest of the key.
struct SortKey {
    std::uint64_t head;
    std::uint32_t offset;  // of the rest, after the head's bytes
    std::uint32_t size;    // of the rest
    std::uint32_t row;
    std::uint8_t kind;
    std::uint8_t headSize;
};

std::uint64_t bigEndianWord(const char* bytes)
{
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return __builtin_bswap64(word);
}

// -1, 0 or 1 as the values of two keys compare.
int compareKeys(const SortKey& a, const SortKey& b, const char* store)
{
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    if (a.head != b.head)
        return a.head < b.head ? -1 : 1;
    const char* x = store + a.offset;
    const char* y = store + b.offset;
    std::uint32_t common = std::min(a.size, b.size);
    for (; common >= 8; common -= 8, x += 8, y += 8) {
        const std::uint64_t wx = bigEndianWord(x);
        const std::uint64_t wy = bigEndianWord(y);
        if (wx != wy)
            return wx < wy ? -1 : 1;
    }
    if (const int compared = std::memcmp(x, y, common); compared != 0)
        return compared;
    // Of two keys that begin alike the shorter comes first.
    if (a.size != b.size)
        return a.size < b.size ? -1 : 1;
    return a.headSize == b.headSize ? 0 : (a.headSize < b.headSize ? -1 : 1);
}

}  // namespace

void RowSet::sortBy(int column, bool descending, const TextOrder& order)
{
    const int rows = rowCount();
    // Every value's key in one store, made once.
    std::string store;
    store.reserve(std::size_t(rows) * 40);
    std::vector<SortKey> keys(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        const Cell& cell = cells_[std::size_t(row) * std::size_t(columns_) + std::size_t(column)];
        SortKey& key = keys[std::size_t(row)];
        key.row = std::uint32_t(row);
        key.kind = std::uint8_t(cell.type == Type::Null ? 0 : cell.type == Type::Text ? 2 : cell.type == Type::Blob ? 3 : 1);
        const std::size_t start = store.size();
        switch (cell.type) {
        case Type::Null:
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
            for (int shift = 56; shift >= 0; shift -= 8)
                store.push_back(char(bits >> shift));
            break;
        }
        case Type::Text:
            order.appendPrimaryKey(std::string_view(bytes_.data() + cell.data, cell.size), store);
            break;
        case Type::Blob:
            store.append(bytes_.data() + cell.data, cell.size);
            break;
        }
        const std::size_t size = store.size() - start;
        const std::size_t inHead = std::min<std::size_t>(8, size);
        key.head = 0;
        for (std::size_t i = 0; i < 8; ++i)
            key.head = (key.head << 8) | (i < inHead ? static_cast<unsigned char>(store[start + i]) : 0u);
        key.offset = std::uint32_t(start + inHead);
        key.size = std::uint32_t(size - inHead);
        key.headSize = std::uint8_t(inHead);
    }
    // Room to read whole words past the end of the last key.
    store.append(8, '\0');

    const char* base = store.data();
    const auto text = [&](const SortKey& key) {
        const Cell& cell = cells_[std::size_t(key.row) * std::size_t(columns_) + std::size_t(column)];
        return std::string_view(bytes_.data() + cell.data, cell.size);
    };
    const auto compareValues = [&](const SortKey& a, const SortKey& b) {
        int compared = compareKeys(a, b, base);
        // Texts alike in their letters: the accents and cases decide.
        if (compared == 0 && a.kind == 2 && !order.primaryKeyIsWhole() && text(a) != text(b))
            compared = order.compare(text(a), text(b));
        return compared;
    };
    std::sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
        const int compared = descending ? compareValues(b, a) : compareValues(a, b);
        // Equal values keep the order the database gave, in both directions.
        return compared != 0 ? compared < 0 : a.row < b.row;
    });

    std::vector<Cell> cells;
    cells.reserve(cells_.size());
    for (const SortKey& key : keys) {
        const auto first = cells_.begin() + std::ptrdiff_t(key.row) * columns_;
        cells.insert(cells.end(), first, first + columns_);
    }
    cells_.swap(cells);
}

}  // namespace vorlin::db
