#include "db/column_store.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "db/table.h"

namespace planora::db {

namespace {

static_assert(std::endian::native == std::endian::little, "NarrowInts packs little-endian");

template <typename T>
std::int64_t load(const std::uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T>
bool fits(std::int64_t v) {
    return v >= std::numeric_limits<T>::min() && v <= std::numeric_limits<T>::max();
}

int widthFor(std::int64_t v) {
    if (fits<std::int8_t>(v)) {
        return 1;
    }
    if (fits<std::int16_t>(v)) {
        return 2;
    }
    return fits<std::int32_t>(v) ? 4 : 8;
}

unsigned kindBit(Value::Kind kind) {
    return Table::kindBit(kind);
}

// Dates and times packed as the number yyyymmddhhmmss, which keeps them in the narrow store.
constexpr std::int64_t kHundred = 100;

bool packable(const DateTime& d) {
    auto within = [](int v, int high) { return v >= 0 && v <= high; };
    return within(d.year, 99999) && within(d.month, 99) && within(d.day, 99) &&
           within(d.hour, 99) && within(d.minute, 99) && within(d.second, 99);
}

std::int64_t packDateTime(const DateTime& d) {
    std::int64_t v = d.year;
    for (int part : {d.month, d.day, d.hour, d.minute, d.second}) {
        v = v * kHundred + part;
    }
    return v;
}

DateTime unpackDateTime(std::int64_t v) {
    DateTime d;
    int* parts[] = {&d.second, &d.minute, &d.hour, &d.day, &d.month};
    for (int* part : parts) {
        *part = static_cast<int>(v % kHundred);
        v /= kHundred;
    }
    d.year = static_cast<int>(v);
    return d;
}

// One column. Its storage kind is the kind of its first non-Null value; Null rows and rows of
// another kind (SQLite keeps any kind in any column) are flagged in a bitmap, and the latter
// are kept aside as whole values.

}  // namespace

// A copy of fixed size, which the compiler turns into one store.
template <typename T>
void NarrowInts::append(std::int64_t v) {
    const auto narrow = static_cast<T>(v);
    const std::size_t at = bytes_.size();
    bytes_.resize(at + sizeof narrow);
    std::memcpy(bytes_.data() + at, &narrow, sizeof narrow);
}

void NarrowInts::push(std::int64_t v) {
    if (!fitsWidth(v)) {
        widen(widthFor(v));
    }
    switch (width_) {
        case 1:
            bytes_.push_back(static_cast<std::uint8_t>(v));
            break;
        case 2:
            append<std::int16_t>(v);
            break;
        case 4:
            append<std::int32_t>(v);
            break;
        default:
            append<std::int64_t>(v);
    }
}

std::int64_t NarrowInts::get(std::size_t i) const {
    const std::uint8_t* p = bytes_.data() + i * static_cast<std::size_t>(width_);
    switch (width_) {
        case 1:
            return static_cast<std::int8_t>(*p);
        case 2:
            return load<std::int16_t>(p);
        case 4:
            return load<std::int32_t>(p);
        default:
            return load<std::int64_t>(p);
    }
}

bool NarrowInts::fitsWidth(std::int64_t v) const {
    switch (width_) {
        case 1:
            return fits<std::int8_t>(v);
        case 2:
            return fits<std::int16_t>(v);
        case 4:
            return fits<std::int32_t>(v);
        default:
            return true;
    }
}

void NarrowInts::widen(int width) {
    NarrowInts wider;
    wider.width_ = width;
    const std::size_t n = size();
    wider.bytes_.reserve(std::max(bytes_.capacity() / static_cast<std::size_t>(width_), n) *
                         static_cast<std::size_t>(width));
    for (std::size_t i = 0; i < n; ++i) {
        wider.push(get(i));
    }
    *this = std::move(wider);
}

void ColumnStore::append(const Value& v, std::size_t row) {
    if (kind_ == Value::Kind::Null && !v.isNull()) {
        startKind(v.kind(), row);
    }
    if (v.isNull() || v.kind() != kind_) {
        flag(row);
        if (!v.isNull()) {
            others_.emplace_back(static_cast<std::uint32_t>(row), v);
            otherKinds_ |= kindBit(v.kind());
        }
        if (kind_ != Value::Kind::Null) {
            pushPlaceholder();
        }
        return;
    }
    pushNative(v, row);
}

void ColumnStore::appendText(std::string_view text, std::size_t row) {
    if (kind_ == Value::Kind::Null) {
        startKind(Value::Kind::Text, row);
    }
    if (kind_ != Value::Kind::Text) {
        append(Value::text(std::string(text)), row);
        return;
    }
    arena_.append(text);
    ints_.push(static_cast<std::int64_t>(arena_.size()));
}

void ColumnStore::appendInteger(std::int64_t v, std::size_t row) {
    if (kind_ == Value::Kind::Null) {
        startKind(Value::Kind::Integer, row);
    }
    if (kind_ != Value::Kind::Integer) {
        append(Value::integer(v), row);
        return;
    }
    ints_.push(v);
}

Value ColumnStore::get(std::size_t row) const {
    if (isFlagged(row)) {
        return flaggedValue(row);
    }
    switch (kind_) {
        case Value::Kind::Integer:
            return Value::integer(ints_.get(row));
        case Value::Kind::Boolean:
            return Value::boolean(ints_.get(row) != 0);
        case Value::Kind::Currency:
            return Value::currency(Currency{ints_.get(row)});
        case Value::Kind::DateTime:
            return Value::dateTime(unpackDateTime(ints_.get(row)));
        case Value::Kind::Real:
            return Value::real(reals_[row]);
        case Value::Kind::Text:
            return Value::text(std::string(textAt(row)));
        case Value::Kind::Null:
            break;
    }
    return Value();
}

unsigned ColumnStore::kinds() const {
    return (kind_ == Value::Kind::Null ? 0u : kindBit(kind_)) | otherKinds_;
}

void ColumnStore::shrink() {
    ints_.shrink();
    reals_.shrink_to_fit();
    arena_.shrink_to_fit();
    flags_.shrink_to_fit();
    others_.shrink_to_fit();
}

std::size_t ColumnStore::heapBytes() const {
    std::size_t bytes = ints_.heapBytes() + reals_.capacity() * sizeof(double) + arena_.capacity() +
                        flags_.capacity() * sizeof(std::uint64_t) +
                        others_.capacity() * sizeof(others_[0]);
    for (const auto& other : others_) {
        if (other.second.kind() == Value::Kind::Text) {
            const std::string& text = other.second.asText();
            bytes += text.capacity() > 15 ? text.capacity() + 1 : 0;
        }
    }
    return bytes;
}

std::string_view ColumnStore::textAt(std::size_t row) const {
    const auto begin = row == 0 ? 0 : static_cast<std::size_t>(ints_.get(row - 1));
    const auto end = static_cast<std::size_t>(ints_.get(row));
    return std::string_view(arena_).substr(begin, end - begin);
}

void ColumnStore::startKind(Value::Kind kind, std::size_t rowsBefore) {
    kind_ = kind;
    if (kind_ == Value::Kind::Real) {
        reals_.reserve(reserveFor_);
    } else {
        ints_.reserve(reserveFor_);
    }
    for (std::size_t i = 0; i < rowsBefore; ++i) {
        pushPlaceholder();
    }
}

void ColumnStore::pushPlaceholder() {
    if (kind_ == Value::Kind::Real) {
        reals_.push_back(0.0);
    } else if (kind_ == Value::Kind::Text) {
        ints_.push(static_cast<std::int64_t>(arena_.size()));
    } else {
        ints_.push(0);
    }
}

void ColumnStore::pushNative(const Value& v, std::size_t row) {
    switch (kind_) {
        case Value::Kind::Integer:
            ints_.push(v.asInteger());
            break;
        case Value::Kind::Boolean:
            ints_.push(v.asBoolean() ? 1 : 0);
            break;
        case Value::Kind::Currency:
            ints_.push(v.asCurrency().scaled);
            break;
        case Value::Kind::DateTime:
            if (packable(v.asDateTime())) {
                ints_.push(packDateTime(v.asDateTime()));
            } else {
                flag(row);
                others_.emplace_back(static_cast<std::uint32_t>(row), v);
                pushPlaceholder();
            }
            break;
        case Value::Kind::Real:
            reals_.push_back(v.asReal());
            break;
        case Value::Kind::Text:
            arena_ += v.asText();
            ints_.push(static_cast<std::int64_t>(arena_.size()));
            break;
        case Value::Kind::Null:
            break;
    }
}

void ColumnStore::flag(std::size_t row) {
    const std::size_t word = row / 64;
    if (flags_.size() <= word) {
        flags_.resize(word + 1, 0);
    }
    flags_[word] |= std::uint64_t{1} << (row % 64);
}

bool ColumnStore::isFlagged(std::size_t row) const {
    const std::size_t word = row / 64;
    return word < flags_.size() && (flags_[word] >> (row % 64) & 1) != 0;
}

Value ColumnStore::flaggedValue(std::size_t row) const {
    const auto it =
        std::lower_bound(others_.begin(), others_.end(), row,
                         [](const auto& other, std::size_t r) { return other.first < r; });
    return it != others_.end() && it->first == row ? it->second : Value();
}

}  // namespace planora::db
