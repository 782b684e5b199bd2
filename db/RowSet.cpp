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
    cells_.clear();
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
    fit(cells_);
    fit(bytes_);
    std::vector<Cell>().swap(lately_);
    sharing_.clear();
}

RowSet::Cell RowSet::storeText(int column, const char* data, std::size_t size)
{
    if (size > kLongestShared)
        return storeBytes(Type::Text, data, size);
    if (lately_.empty()) {
        lately_.assign(kLatelySlots, Cell{});
        sharing_.assign(std::size_t(columns_), {});
    }
    // A column whose texts do not come again (the names) is not looked up
    // beyond its first rows.
    Sharing& sharing = sharing_[std::size_t(column)];
    if (sharing.tried >= kTriedBeforeGivingUp && sharing.shared * 10 < sharing.tried)
        return storeBytes(Type::Text, data, size);
    ++sharing.tried;
    const std::string_view text(data, size);
    Cell& slot = lately_[std::hash<std::string_view>{}(text) % kLatelySlots];
    if (slot.type() == Type::Text && bytesOf(slot) == text) {
        ++sharing.shared;
        return slot;
    }
    slot = storeBytes(Type::Text, data, size);
    return slot;
}

RowSet::Cell RowSet::storeBytes(Type type, const char* data, std::size_t size)
{
    // The cell's fields hold 4 GB of store and 512 MB a value: beyond them
    // the list is refused rather than held wrongly.
    if (size >= (std::size_t(1) << 29) || bytes_.size() + size > std::numeric_limits<std::uint32_t>::max())
        throw Error(QStringLiteral("The rows are too large to be held in memory"));
    Cell cell;
    cell.data = std::uint32_t(bytes_.size());
    cell.packed = std::uint32_t(size) << 3 | std::uint32_t(type);
    bytes_.insert(bytes_.end(), data, data + size);
    return cell;
}

RowSet::Cell RowSet::storeInteger(qint64 value)
{
    if (value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max()) {
        Cell cell;
        cell.data = std::uint32_t(std::int32_t(value));
        cell.packed = std::uint32_t(Type::Integer);
        return cell;
    }
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
        Cell cell;
        switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER:
            cell = storeInteger(sqlite3_column_int64(statement, column));
            break;
        case SQLITE_FLOAT: {
            const double real = sqlite3_column_double(statement, column);
            cell = storeBytes(Type::Real, reinterpret_cast<const char*>(&real), sizeof real);
            break;
        }
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            cell = storeText(column, text, std::size_t(sqlite3_column_bytes(statement, column)));
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

qint64 RowSet::integerAt(int row, int column) const
{
    const Cell& cell = cellAt(row, column);
    return cell.type() == Type::Integer || cell.type() == Type::WideInteger ? integerOf(cell) : 0;
}

QVariant RowSet::value(int row, int column) const
{
    const Cell& cell = cellAt(row, column);
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

RowSet::Cell RowSet::cellOf(const QVariant& value)
{
    Cell cell;
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

}  // namespace vorlin::db
