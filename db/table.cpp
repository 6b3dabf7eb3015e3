#include "db/table.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "db/error.h"
#include "messages/db_messages.h"

namespace planora::db {

namespace {

static_assert(std::endian::native == std::endian::little, "NarrowInts packs little-endian");

// Signed integers packed in the narrowest width that holds every value so far; widened (and
// re-packed) when a larger value arrives. Most columns of the hotel tables hold small numbers.
class NarrowInts {
  public:
    void push(std::int64_t v) {
        if (!fitsWidth(v)) {
            widen(widthFor(v));
        }
        // Little-endian: the value's low bytes come first and are the narrow value.
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&v);
        bytes_.insert(bytes_.end(), bytes, bytes + width_);
    }

    std::int64_t get(std::size_t i) const {
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

    std::size_t size() const { return bytes_.size() / static_cast<std::size_t>(width_); }
    void reserve(std::size_t n) { bytes_.reserve(n * static_cast<std::size_t>(width_)); }
    void shrink() { bytes_.shrink_to_fit(); }
    std::size_t heapBytes() const { return bytes_.capacity(); }

  private:
    template <typename T>
    static std::int64_t load(const std::uint8_t* p) {
        T v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }

    template <typename T>
    static bool fits(std::int64_t v) {
        return v >= std::numeric_limits<T>::min() && v <= std::numeric_limits<T>::max();
    }

    static int widthFor(std::int64_t v) {
        if (fits<std::int8_t>(v)) {
            return 1;
        }
        if (fits<std::int16_t>(v)) {
            return 2;
        }
        return fits<std::int32_t>(v) ? 4 : 8;
    }

    bool fitsWidth(std::int64_t v) const {
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

    void widen(int width) {
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

    std::vector<std::uint8_t> bytes_;
    int width_ = 1;
};

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
class Column {
  public:
    void append(const Value& v, std::size_t row) {
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

    void appendText(std::string_view text, std::size_t row) {
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

    Value get(std::size_t row) const {
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

    void reserve(std::size_t rows) { reserveFor_ = rows; }
    // The kind of the column, and those of the values kept aside, which are few.
    unsigned kinds() const {
        return (kind_ == Value::Kind::Null ? 0u : kindBit(kind_)) | otherKinds_;
    }

    // Equal raw values share a class without computing their key again: a key is made once
    // per distinct stored value.
    void classify(std::span<const std::uint32_t> rows,
                  std::unordered_map<std::string, std::uint32_t>& classOfKey,
                  std::vector<std::uint32_t>& classes) const {
        auto classOf = [&](const Value& v) {
            if (v.isNull()) {
                return Table::kNoClass;
            }
            const auto id = static_cast<std::uint32_t>(classOfKey.size());
            return classOfKey.try_emplace(equalityKey(v), id).first->second;
        };
        auto classifyBy = [&](auto rawOf) {
            std::unordered_map<decltype(rawOf(0)), std::uint32_t> known;
            for (std::size_t p = 0; p < rows.size(); ++p) {
                const std::size_t row = rows[p];
                if (isFlagged(row)) {
                    classes[p] = classOf(flaggedValue(row));
                    continue;
                }
                const auto [it, added] = known.try_emplace(rawOf(row), 0);
                if (added) {
                    it->second = classOf(get(row));
                }
                classes[p] = it->second;
            }
        };
        if (kind_ == Value::Kind::Null) {
            std::fill(classes.begin(), classes.end(), Table::kNoClass);
        } else if (kind_ == Value::Kind::Text) {
            classifyBy([this](std::size_t row) { return textAt(row); });
        } else if (kind_ == Value::Kind::Real) {
            classifyBy([this](std::size_t row) { return reals_[row]; });
        } else {
            classifyBy([this](std::size_t row) { return ints_.get(row); });
        }
    }

    void shrink() {
        ints_.shrink();
        reals_.shrink_to_fit();
        arena_.shrink_to_fit();
        flags_.shrink_to_fit();
        others_.shrink_to_fit();
    }

    std::size_t heapBytes() const {
        std::size_t bytes = ints_.heapBytes() + reals_.capacity() * sizeof(double) +
                            arena_.capacity() + flags_.capacity() * sizeof(std::uint64_t) +
                            others_.capacity() * sizeof(others_[0]);
        for (const auto& other : others_) {
            if (other.second.kind() == Value::Kind::Text) {
                const std::string& text = other.second.asText();
                bytes += text.capacity() > 15 ? text.capacity() + 1 : 0;
            }
        }
        return bytes;
    }

  private:
    void startKind(Value::Kind kind, std::size_t rowsBefore) {
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

    void pushPlaceholder() {
        if (kind_ == Value::Kind::Real) {
            reals_.push_back(0.0);
        } else if (kind_ == Value::Kind::Text) {
            ints_.push(static_cast<std::int64_t>(arena_.size()));
        } else {
            ints_.push(0);
        }
    }

    void pushNative(const Value& v, std::size_t row) {
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

    std::string_view textAt(std::size_t row) const {
        const auto begin = row == 0 ? 0 : static_cast<std::size_t>(ints_.get(row - 1));
        const auto end = static_cast<std::size_t>(ints_.get(row));
        return std::string_view(arena_).substr(begin, end - begin);
    }

    void flag(std::size_t row) {
        const std::size_t word = row / 64;
        if (flags_.size() <= word) {
            flags_.resize(word + 1, 0);
        }
        flags_[word] |= std::uint64_t{1} << (row % 64);
    }

    bool isFlagged(std::size_t row) const {
        const std::size_t word = row / 64;
        return word < flags_.size() && (flags_[word] >> (row % 64) & 1) != 0;
    }

    Value flaggedValue(std::size_t row) const {
        const auto it =
            std::lower_bound(others_.begin(), others_.end(), row,
                             [](const auto& other, std::size_t r) { return other.first < r; });
        return it != others_.end() && it->first == row ? it->second : Value();
    }

    Value::Kind kind_ = Value::Kind::Null;
    NarrowInts ints_;  // numbers, or the end offsets of the texts in the arena
    std::vector<double> reals_;
    std::string arena_;
    std::vector<std::uint64_t> flags_;
    std::vector<std::pair<std::uint32_t, Value>> others_;
    std::size_t reserveFor_ = 0;
    unsigned otherKinds_ = 0;  // Table::kindBit of the kinds in others_
};

}  // namespace

struct Table::Impl {
    std::string name;
    std::vector<ColumnInfo> columns;
    std::vector<Column> data;
    std::size_t rows = 0;
    std::size_t nextColumn = 0;  // of the row being appended cell by cell

    Column& nextCell() {
        if (nextColumn == 0 && rows >= std::numeric_limits<std::uint32_t>::max()) {
            throw Error(msg::tooManyRows(name));
        }
        if (nextColumn >= data.size()) {
            throw Error(msg::rowSizeMismatch(name, nextColumn + 1, data.size()));
        }
        return data[nextColumn++];
    }
};

Table::Table(std::string name, std::vector<ColumnInfo> columns) : impl_(std::make_unique<Impl>()) {
    impl_->name = std::move(name);
    impl_->data.resize(columns.size());
    impl_->columns = std::move(columns);
}

Table::~Table() = default;
Table::Table(Table&&) noexcept = default;
Table& Table::operator=(Table&&) noexcept = default;

const std::string& Table::name() const {
    return impl_->name;
}
const std::vector<ColumnInfo>& Table::columns() const {
    return impl_->columns;
}

std::optional<std::size_t> Table::columnIndex(std::string_view name) const {
    const std::string wanted = foldCase(name);
    for (std::size_t i = 0; i < impl_->columns.size(); ++i) {
        if (foldCase(impl_->columns[i].name) == wanted) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t Table::rowCount() const {
    return impl_->rows;
}

void Table::reserve(std::size_t rows) {
    for (Column& column : impl_->data) {
        column.reserve(rows);
    }
}

void Table::appendRow(std::span<const Value> row) {
    if (row.size() != impl_->columns.size() || impl_->nextColumn != 0) {
        throw Error(msg::rowSizeMismatch(impl_->name, row.size(), impl_->columns.size()));
    }
    for (const Value& value : row) {
        appendCell(value);
    }
    endRow();
}

void Table::appendCell(const Value& value) {
    impl_->nextCell().append(value, impl_->rows);
}

void Table::appendTextCell(std::string_view text) {
    impl_->nextCell().appendText(text, impl_->rows);
}

void Table::endRow() {
    if (impl_->nextColumn != impl_->data.size()) {
        throw Error(msg::rowSizeMismatch(impl_->name, impl_->nextColumn, impl_->columns.size()));
    }
    impl_->nextColumn = 0;
    ++impl_->rows;
}

Value Table::value(std::size_t row, std::size_t column) const {
    if (row >= impl_->rows || column >= impl_->data.size()) {
        throw Error(msg::cellOutOfRange(impl_->name, row, column));
    }
    return impl_->data[column].get(row);
}

void Table::shrinkToFit() {
    for (Column& column : impl_->data) {
        column.shrink();
    }
}

std::vector<std::uint32_t> Table::equalityClasses(
    std::size_t column, std::span<const std::uint32_t> rows,
    std::unordered_map<std::string, std::uint32_t>& classOfKey) const {
    if (column >= impl_->data.size()) {
        throw Error(msg::cellOutOfRange(impl_->name, 0, column));
    }
    for (std::uint32_t row : rows) {
        if (row >= impl_->rows) {
            throw Error(msg::cellOutOfRange(impl_->name, row, column));
        }
    }
    std::vector<std::uint32_t> classes(rows.size());
    impl_->data[column].classify(rows, classOfKey, classes);
    return classes;
}

unsigned Table::valueKinds(std::size_t column) const {
    if (column >= impl_->data.size()) {
        throw Error(msg::cellOutOfRange(impl_->name, 0, column));
    }
    return impl_->data[column].kinds();
}

std::size_t Table::memoryBytes() const {
    std::size_t bytes = impl_->data.capacity() * sizeof(Column);
    for (const Column& column : impl_->data) {
        bytes += column.heapBytes();
    }
    return bytes;
}

}  // namespace planora::db
