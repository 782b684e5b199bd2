// The rows of a set put in the order of one column: every value gets a key
// once, the keys are sorted with the row they belong to, and the rows follow.
#include "db/RowSet.h"

#include "common/InTwoHalves.h"
#include "db/TextOrder.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace vorlin::db {
namespace {

// A value's place in the order: its kind (empty, number, text, binary), then
// its key's first eight bytes as one number, then the rest of the key.
struct SortKey {
    std::uint64_t head;
    const char* rest;  // the key's bytes after the head's
    std::uint32_t size;  // of the rest
    std::uint32_t row;
    std::uint8_t kind;
    std::uint8_t headSize;
    bool whole;  // the key alone orders the value
};

std::uint64_t bigEndianWord(const char* bytes)
{
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return __builtin_bswap64(word);
}

// -1, 0 or 1 as two keys compare.
int compareKeys(const SortKey& a, const SortKey& b)
{
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    if (a.head != b.head)
        return a.head < b.head ? -1 : 1;
    const char* x = a.rest;
    const char* y = b.rest;
    std::uint32_t common = std::min(a.size, b.size);
    for (; common >= 8; common -= 8, x += 8, y += 8) {
        const std::uint64_t wx = bigEndianWord(x);
        const std::uint64_t wy = bigEndianWord(y);
        if (wx != wy)
            return wx < wy ? -1 : 1;
    }
    if (common > 0)
        if (const int compared = std::memcmp(x, y, common); compared != 0)
            return compared;
    // Of two keys that begin alike the shorter comes first.
    if (a.size != b.size)
        return a.size < b.size ? -1 : 1;
    return a.headSize == b.headSize ? 0 : (a.headSize < b.headSize ? -1 : 1);
}

// Numbers as eight bytes that compare as the numbers do.
void appendNumberKey(double number, std::string& store)
{
    std::uint64_t bits;
    std::memcpy(&bits, &number, sizeof bits);
    bits = (bits & 0x8000000000000000ull) ? ~bits : bits | 0x8000000000000000ull;
    for (int shift = 56; shift >= 0; shift -= 8)
        store.push_back(char(bits >> shift));
}

}  // namespace

std::uint8_t RowSet::kindOf(const Cell& cell)
{
    const Type type = cell.type();
    return std::uint8_t(type == Type::Null ? 0 : type == Type::Text ? 2 : type == Type::Blob ? 3 : 1);
}

bool RowSet::appendValueKey(const Cell& cell, const TextOrder& order, bool primary, std::string& store) const
{
    switch (cell.type()) {
    case Type::Null:
        break;
    case Type::Integer:
    case Type::WideInteger:
        appendNumberKey(double(integerOf(cell)), store);
        break;
    case Type::Real:
        appendNumberKey(realOf(cell), store);
        break;
    case Type::Text:
        if (primary)
            return order.appendPrimaryKey(bytesOf(cell), store);
        order.appendKey(bytesOf(cell), store);
        break;
    case Type::Blob:
        store.append(bytesOf(cell));
        break;
    }
    return true;
}

std::string RowSet::fullKey(std::uint32_t row, int column, const TextOrder& order) const
{
    const Cell cell = cellAt(int(row), column);
    std::string key(1, char(kindOf(cell)));
    appendValueKey(cell, order, false, key);
    return key;
}

void RowSet::placeInOrder(std::vector<std::uint32_t>& rows, std::uint32_t row, int column, bool descending,
                          const TextOrder& order) const
{
    const std::string key = fullKey(row, column, order);
    // The rows that come before it: smaller values (larger when descending),
    // and equal ones the database gave earlier.
    const auto place = std::partition_point(rows.begin(), rows.end(), [&](std::uint32_t other) {
        int compared = fullKey(other, column, order).compare(key);
        if (descending)
            compared = -compared;
        return compared < 0 || (compared == 0 && other < row);
    });
    rows.insert(place, row);
}

void RowSet::sortBy(int column, bool descending, const TextOrder& order)
{
    const std::vector<std::uint32_t> rows = orderBy(column, descending, order);
    std::vector<std::uint32_t> words;
    words.reserve(words_.size());
    for (const std::uint32_t row : rows) {
        const auto first = words_.begin() + std::ptrdiff_t(row) * columns_;
        words.insert(words.end(), first, first + columns_);
    }
    words_.swap(words);
}

std::vector<std::uint32_t> RowSet::orderBy(int column, bool descending, const TextOrder& order,
                                           std::vector<bool>* tiedWithPrevious) const
{
    const auto valueOf = [&](std::uint32_t row) { return cellAt(int(row), column); };
    const auto text = [&](const SortKey& key) { return bytesOf(valueOf(key.row)); };
    const auto compareValues = [&](const SortKey& first, const SortKey& second) {
        int compared = compareKeys(first, second);
        // Texts alike in their letters: their accents and cases decide.
        if (compared == 0 && !(first.whole && second.whole) && text(first) != text(second))
            compared = order.compare(text(first), text(second));
        return compared;
    };
    const auto before = [&](const SortKey& a, const SortKey& b) {
        const int compared = descending ? compareValues(b, a) : compareValues(a, b);
        // Equal values keep the order the database gave, in both directions.
        return compared != 0 ? compared < 0 : a.row < b.row;
    };

    // Keys of the rows [from, to), made into one store and sorted.
    const auto sortPart = [&](std::uint32_t from, std::uint32_t to, std::string& store, std::vector<SortKey>& keys) {
        store.reserve(std::size_t(to - from) * 32 + 8);
        keys.resize(to - from);
        std::vector<std::size_t> starts(to - from);
        for (std::uint32_t row = from; row < to; ++row) {
            const Cell cell = valueOf(row);
            SortKey& key = keys[row - from];
            key.row = row;
            key.kind = kindOf(cell);
            const std::size_t start = store.size();
            starts[row - from] = start;
            key.whole = appendValueKey(cell, order, true, store);
            const std::size_t size = store.size() - start;
            key.headSize = std::uint8_t(std::min<std::size_t>(8, size));
            key.size = std::uint32_t(size - key.headSize);
            key.head = 0;
            for (std::size_t i = 0; i < 8; ++i)
                key.head = (key.head << 8) | (i < key.headSize ? static_cast<unsigned char>(store[start + i]) : 0u);
        }
        store.append(8, '\0');  // room to read whole words past the last key
        for (std::size_t i = 0; i < keys.size(); ++i)
            keys[i].rest = store.data() + starts[i] + keys[i].headSize;
        std::sort(keys.begin(), keys.end(), before);
    };

    // Long lists are sorted in two halves at once, then merged.
    const auto rows = std::uint32_t(rowCount());
    std::string stores[2];
    std::vector<SortKey> sorted[2];
    inTwoHalves(
        rows,
        [&](int half, std::size_t from, std::size_t to) {
            sortPart(std::uint32_t(from), std::uint32_t(to), stores[half], sorted[half]);
        },
        order.isThreadSafe());
    const std::vector<SortKey>& keys = sorted[0];
    const std::vector<SortKey>& laterKeys = sorted[1];

    // The halves merged straight into the rows' order, without a third
    // list of keys as long as both.
    std::vector<std::uint32_t> ordered;
    ordered.reserve(rows);
    if (tiedWithPrevious)
        tiedWithPrevious->assign(rows, false);
    const SortKey* previous = nullptr;
    const auto take = [&](const SortKey& key) {
        if (tiedWithPrevious && previous)
            (*tiedWithPrevious)[ordered.size()] = compareValues(*previous, key) == 0;
        ordered.push_back(key.row);
        previous = &key;
    };
    std::size_t first = 0;
    std::size_t later = 0;
    while (first < keys.size() || later < laterKeys.size()) {
        if (later < laterKeys.size() && (first == keys.size() || before(laterKeys[later], keys[first])))
            take(laterKeys[later++]);
        else
            take(keys[first++]);
    }
    return ordered;
}

std::vector<std::uint32_t> RowSet::reversedOrder(const std::vector<std::uint32_t>& order,
                                                 const std::vector<bool>& tiedWithPrevious)
{
    std::vector<std::uint32_t> reversed;
    reversed.reserve(order.size());
    std::size_t end = order.size();
    while (end > 0) {
        std::size_t start = end - 1;
        while (start > 0 && tiedWithPrevious[start])
            --start;
        reversed.insert(reversed.end(), order.begin() + std::ptrdiff_t(start), order.begin() + std::ptrdiff_t(end));
        end = start;
    }
    return reversed;
}

}  // namespace vorlin::db
