#include "db/LargeColumn.h"

#include "db/Store.h"

namespace vorlin::db {

namespace {

// The key last read, when there is one and it is this key.
bool sameKey(const QVariant& last, const QVariant& key)
{
    if (!last.isValid())
        return false;
    if (last.isNull() || key.isNull())
        return last.isNull() == key.isNull();
    return last == key;
}

}  // namespace

QVariant LargeColumn::valueFor(const QVariant& key)
{
    if (sameKey(key_, key))
        return value_;
    QVariant value = store_.valueOf(table_, column_, keyColumn_, key);
    remember(key, value);
    return value;
}

void LargeColumn::remember(const QVariant& key, const QVariant& value)
{
    key_ = key;
    value_ = value;
}

}  // namespace vorlin::db
