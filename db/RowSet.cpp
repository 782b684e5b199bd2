#include "db/RowSet.h"

#include "db/StorageClass.h"

#include <sqlite3.h>

#include <cstring>

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

bool RowSet::textAt(int row, int column, std::string_view* text) const
{
    const Cell& cell = cells_[std::size_t(row) * std::size_t(columns_) + std::size_t(column)];
    if (cell.type != Type::Text)
        return false;
    *text = std::string_view(bytes_.data() + cell.data, cell.size);
    return true;
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

}  // namespace vorlin::db
