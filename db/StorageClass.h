#pragma once

#include <QVariant>

#include <cstdint>

namespace vorlin::db {

// How a value is stored in the database: SQLite's storage classes.
enum class StorageClass : std::uint8_t { Null, Integer, Real, Text, Blob };

inline StorageClass storageClassOf(const QVariant& value)
{
    if (value.isNull())
        return StorageClass::Null;
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return StorageClass::Integer;
    case QMetaType::Double:
        return StorageClass::Real;
    case QMetaType::QByteArray:
        return StorageClass::Blob;
    default:
        return StorageClass::Text;
    }
}

}  // namespace vorlin::db
