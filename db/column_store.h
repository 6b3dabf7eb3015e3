#pragma once

// The storage of one column of a loaded table, and the raw reads that the indexes make of it
// without building a Value per row.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "db/value.h"

namespace planora::db {

// Signed integers packed in the narrowest width that holds every value so far; widened (and
// re-packed) when a larger value arrives. Most columns of the hotel tables hold small numbers.
class NarrowInts {
  public:
    void push(std::int64_t v);
    std::int64_t get(std::size_t i) const;
    std::size_t size() const { return bytes_.size() / static_cast<std::size_t>(width_); }
    void reserve(std::size_t n) { bytes_.reserve(n * static_cast<std::size_t>(width_)); }
    void shrink() { bytes_.shrink_to_fit(); }
    std::size_t heapBytes() const { return bytes_.capacity(); }

  private:
    bool fitsWidth(std::int64_t v) const;
    void widen(int width);
    template <typename T>
    void append(std::int64_t v);

    std::vector<std::uint8_t> bytes_;
    int width_ = 1;
};

// One column. Its storage kind is the kind of its first non-Null value; Null rows and rows of
// another kind (SQLite keeps any kind in any column) are flagged in a bitmap, and the latter
// are kept aside as whole values.
class ColumnStore {
  public:
    void append(const Value& v, std::size_t row);
    void appendText(std::string_view text, std::size_t row);
    void appendInteger(std::int64_t v, std::size_t row);
    Value get(std::size_t row) const;

    void reserve(std::size_t rows) { reserveFor_ = rows; }
    void shrink();
    std::size_t heapBytes() const;

    // The kinds of the column (Table::kindBit), and those of the values kept aside, which are
    // few.
    unsigned kinds() const;

    // The raw reads of the indexes. A row is plain when it holds a value of storageKind();
    // plain rows of the integer-backed kinds (Integer, Boolean, Currency) read through
    // integerAt (the amount in ten-thousandths for Currency), plain texts through textAt.
    Value::Kind storageKind() const { return kind_; }
    bool isPlain(std::size_t row) const { return kind_ != Value::Kind::Null && !isFlagged(row); }
    bool holdsOtherKinds() const { return !others_.empty(); }
    std::int64_t integerAt(std::size_t row) const { return ints_.get(row); }
    std::string_view textAt(std::size_t row) const;

  private:
    void startKind(Value::Kind kind, std::size_t rowsBefore);
    void pushPlaceholder();
    void pushNative(const Value& v, std::size_t row);
    void flag(std::size_t row);
    bool isFlagged(std::size_t row) const;
    Value flaggedValue(std::size_t row) const;

    Value::Kind kind_ = Value::Kind::Null;
    NarrowInts ints_;  // numbers, or the end offsets of the texts in the arena
    std::vector<double> reals_;
    std::string arena_;
    std::vector<std::uint64_t> flags_;
    std::vector<std::pair<std::uint32_t, Value>> others_;
    std::size_t reserveFor_ = 0;
    unsigned otherKinds_ = 0;  // Table::kindBit of the kinds in others_
};

}  // namespace planora::db
