#pragma once

#include <QVariant>
#include <QVariantList>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3_stmt;

namespace vorlin::db {

class TextOrder;

// The rows of a result, kept in memory compactly: a fixed-size cell for every
// value, and the bytes of all texts and blobs in one store. Texts stay UTF-8
// until a value is asked for, so opening many rows costs little time and
// memory.
class RowSet {
public:
    // Empties the set for rows of that many columns. The memory stays, so
    // that reading the next result of a similar size allocates nothing.
    void clear(int columnCount);

    int rowCount() const { return columns_ ? int(words_.size() / std::size_t(columns_)) : 0; }
    // Room for that many rows and bytes of texts, made at once (a reading
    // whose size is known grows by no copies).
    void reserve(int rows, std::size_t textBytes)
    {
        words_.reserve(std::size_t(rows) * std::size_t(columns_));
        bytes_.reserve(textBytes);
    }
    // Bytes of the texts and other values held beside the cells.
    std::size_t textBytes() const { return bytes_.size(); }
    int columnCount() const { return columns_; }

    // Appends the statement's current row.
    void appendFrom(sqlite3_stmt* statement);
    // Appends a row value by value, the columns in their order.
    void appendNull() { words_.push_back(kNullWord); }
    void appendInteger(qint64 value) { words_.push_back(storeInteger(value)); }
    void appendText(const char* data, std::size_t size)
    {
        words_.push_back(storeText(int(words_.size() % std::size_t(columns_)), data, size));
    }

    QVariant value(int row, int column) const;
    // An integer value; 0 for any other.
    qint64 integerAt(int row, int column) const;
    // The UTF-8 bytes of a text value; false (and nothing) for any other.
    bool textAt(int row, int column, std::string_view* text) const
    {
        const Cell cell = cellAt(row, column);
        if (cell.type() != Type::Text)
            return false;
        *text = bytesOf(cell);
        return true;
    }
    QVariantList row(int row) const;

    void insertRow(int row, const QVariantList& values);
    void replaceRow(int row, const QVariantList& values);
    void removeRow(int row);

    // Puts the rows in the order of one column's values: empty values first,
    // then numbers, texts (in the text order) and binary values, as the
    // database orders them. Rows with equal values keep their order.
    void sortBy(int column, bool descending, const TextOrder& order);
    // The rows' indexes in that order, the rows left where they are; with
    // `tiedWithPrevious`, also which of them hold the same value as the one
    // before them in the order.
    std::vector<std::uint32_t> orderBy(int column, bool descending, const TextOrder& order,
                                       std::vector<bool>* tiedWithPrevious = nullptr) const;
    // The other direction of such an order, without sorting again: the runs
    // of equal values in reverse, each keeping its rows' own order.
    static std::vector<std::uint32_t> reversedOrder(const std::vector<std::uint32_t>& order,
                                                    const std::vector<bool>& tiedWithPrevious);
    // Puts a row's index into such a list of the others at its place.
    void placeInOrder(std::vector<std::uint32_t>& rows, std::uint32_t row, int column, bool descending,
                      const TextOrder& order) const;

    // Gives back what the reading reserved beyond the rows, and forgets the
    // texts stored lately.
    void fitMemory();

    // Bytes held, for the memory figures.
    std::size_t memoryBytes() const
    {
        return (words_.capacity() + lately_.capacity()) * sizeof(std::uint32_t) + bytes_.capacity();
    }

private:
    enum class Type : std::uint8_t { Null, Integer, Real, Text, Blob, WideInteger };
    // Four bytes a value: 0 for an empty one, a number of 31 bits itself
    // (shifted left, the lowest bit set), anything else as the even place
    // of its type and size (a byte each, the size in more when it needs
    // them) in the store, its bytes after them.
    static constexpr std::uint32_t kNullWord = 0;
    // A value as read from its word: a small number itself, anything else
    // as the place of its bytes in the store.
    struct Cell {
        std::uint32_t data = 0;  // a small integer, else the offset of the bytes
        std::uint32_t packed = 0;  // the bytes' size above, the type in the lowest three bits
        Type type() const { return Type(packed & 7u); }
        std::uint32_t size() const { return packed >> 3; }
        std::uint32_t offset() const { return data; }
    };

    Cell cellAt(int row, int column) const
    {
        return cellOf(words_[std::size_t(row) * std::size_t(columns_) + std::size_t(column)]);
    }
    Cell cellOf(std::uint32_t word) const;
    std::string_view bytesOf(const Cell& cell) const { return {bytes_.data() + cell.offset(), cell.size()}; }
    qint64 integerOf(const Cell& cell) const;
    double realOf(const Cell& cell) const;
    std::uint32_t storeInteger(qint64 value);
    std::uint32_t storeBytes(Type type, const char* data, std::size_t size);
    // A text read again soon after (a kind, the same keywords) is held once.
    std::uint32_t storeText(int column, const char* data, std::size_t size);
    // A value's kind in the order: empty, number, text, binary.
    static std::uint8_t kindOf(const Cell& cell);
    // Appends the value's key among values of its kind; for a text, only
    // its letters' key when asked for the primary one (false then when the
    // key does not say all of it).
    bool appendValueKey(const Cell& cell, const TextOrder& order, bool primary, std::string& store) const;
    // A value's whole key: its kind, then its place among values of its kind.
    std::string fullKey(std::uint32_t row, int column, const TextOrder& order) const;
    std::uint32_t wordOf(const QVariant& value);

    int columns_ = 0;
    std::vector<std::uint32_t> words_;
    std::vector<char> bytes_;
    // The texts read lately, by their hash, while rows are read: a store's
    // bytes are never changed, so rows can share them.
    static constexpr std::size_t kLatelySlots = 65536;
    static constexpr std::size_t kLongestShared = 256;
    static constexpr std::uint32_t kTriedBeforeGivingUp = 4096;
    std::vector<std::uint32_t> lately_;
    struct Sharing {
        std::uint32_t tried = 0;
        std::uint32_t shared = 0;
    };
    std::vector<Sharing> sharing_;  // by column
};

}  // namespace vorlin::db
