#include "db/column_index.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>

#include "db/column_store.h"

namespace planora::db {

namespace {

constexpr std::uint32_t kEmpty = 0xFFFFFFFF;

// Below this many keys a comparison sort beats clearing and summing a pass's counts.
constexpr std::size_t kFewKeys = 2048;

// Orders a few rows by their keys, stably: the rows come in ascending order, so that ties
// ordered by row keep it.
void sortFew(std::vector<std::uint64_t>& keys, std::vector<std::uint32_t>& rows) {
    std::vector<std::pair<std::uint64_t, std::uint32_t>> pairs(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        pairs[i] = {keys[i], rows[i]};
    }
    std::sort(pairs.begin(), pairs.end());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        keys[i] = pairs[i].first;
        rows[i] = pairs[i].second;
    }
}

// The width of a radix pass's digit: as few passes as 16-bit digits would take, each digit as
// narrow as that allows, so that a pass's counts stay small (keys spread over 22 bits take two
// passes of 2,048 counts, not two of 65,536): a large count array costs more to clear and, new,
// to touch than the pass itself over a few thousand keys.
unsigned digitBitsFor(std::uint64_t spread) {
    constexpr unsigned kMaxDigitBits = 16;
    const unsigned bits = static_cast<unsigned>(std::bit_width(spread));
    const unsigned passes = (bits + kMaxDigitBits - 1) / kMaxDigitBits;
    return passes == 0 ? 1 : (bits + passes - 1) / passes;
}

// Orders the rows by their keys, stably, in as few passes as the spread of the keys needs.
void radixSort(std::vector<std::uint64_t>& keys, std::vector<std::uint32_t>& rows) {
    if (keys.size() < kFewKeys) {
        sortFew(keys, rows);
        return;
    }
    std::uint64_t spread = 0;
    for (std::uint64_t key : keys) {
        spread |= key;
    }
    const unsigned digitBits = digitBitsFor(spread);
    const std::uint64_t digitMask = (std::uint64_t{1} << digitBits) - 1;
    std::vector<std::uint64_t> keysOut(keys.size());
    std::vector<std::uint32_t> rowsOut(rows.size());
    std::vector<std::uint32_t> counts(std::size_t{1} << digitBits);
    for (unsigned shift = 0; shift < 64 && (spread >> shift) != 0; shift += digitBits) {
        std::fill(counts.begin(), counts.end(), 0);
        const auto digit = [shift, digitMask](std::uint64_t key) {
            return static_cast<std::size_t>((key >> shift) & digitMask);
        };
        for (std::uint64_t key : keys) {
            ++counts[digit(key)];
        }
        std::uint32_t place = 0;
        for (std::uint32_t& count : counts) {
            place += std::exchange(count, place);
        }
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const std::uint32_t to = counts[digit(keys[i])]++;
            keysOut[to] = keys[i];
            rowsOut[to] = rows[i];
        }
        keys.swap(keysOut);
        rows.swap(rowsOut);
    }
}

// The whole number a value equals, as the equality keys tell it, if any.
std::optional<std::int64_t> wholeNumberOf(const Value& v) {
    switch (v.kind()) {
        case Value::Kind::Integer:
            return v.asInteger();
        case Value::Kind::Boolean:
            return v.asBoolean() ? 1 : 0;
        case Value::Kind::Currency:
            if (v.asCurrency().scaled % 10000 == 0) {
                return v.asCurrency().scaled / 10000;
            }
            return std::nullopt;
        case Value::Kind::Real: {
            constexpr double kTwo63 = 9223372036854775808.0;
            const double r = v.asReal();
            if (std::trunc(r) == r && r >= -kTwo63 && r < kTwo63) {
                return static_cast<std::int64_t>(r);
            }
            return std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

// Dense ids for group numbers given per row (kEmpty for none): the rows of each group,
// ascending, one group after the other.
void countingGroups(const std::vector<std::uint32_t>& groupOfRow, std::size_t groups,
                    std::vector<std::uint32_t>& starts, std::vector<std::uint32_t>& rows) {
    starts.assign(groups + 1, 0);
    for (std::uint32_t group : groupOfRow) {
        if (group != kEmpty) {
            ++starts[group + 1];
        }
    }
    for (std::size_t g = 0; g < groups; ++g) {
        starts[g + 1] += starts[g];
    }
    rows.resize(starts.back());
    std::vector<std::uint32_t> fill(starts.begin(), starts.end() - 1);
    for (std::size_t row = 0; row < groupOfRow.size(); ++row) {
        if (groupOfRow[row] != kEmpty) {
            rows[fill[groupOfRow[row]]++] = static_cast<std::uint32_t>(row);
        }
    }
}

}  // namespace

ColumnIndex::ColumnIndex(const ColumnStore& values, std::size_t rows) : values_(values) {
    const Value::Kind kind = values.storageKind();
    if (!values.holdsOtherKinds() &&
        (kind == Value::Kind::Integer || kind == Value::Kind::Boolean)) {
        mode_ = Mode::Integers;
        groupIntegers(rows);
    } else if (!values.holdsOtherKinds() && kind == Value::Kind::Text) {
        mode_ = Mode::Texts;
        groupTexts(rows);
    } else {
        mode_ = Mode::Keys;
        groupKeys(rows);
    }
}

void ColumnIndex::groupIntegers(std::size_t rows) {
    std::vector<std::uint64_t> keys;
    std::vector<std::uint32_t> sorted;
    std::int64_t least = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        if (values_.isPlain(row)) {
            const std::int64_t v = values_.integerAt(row);
            least = sorted.empty() ? v : std::min(least, v);
            sorted.push_back(static_cast<std::uint32_t>(row));
        }
    }
    keys.reserve(sorted.size());
    for (std::uint32_t row : sorted) {
        keys.push_back(static_cast<std::uint64_t>(values_.integerAt(row)) -
                       static_cast<std::uint64_t>(least));
    }
    radixSort(keys, sorted);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i == 0 || keys[i] != keys[i - 1]) {
            starts_.push_back(static_cast<std::uint32_t>(i));
            integers_.push_back(
                static_cast<std::int64_t>(keys[i] + static_cast<std::uint64_t>(least)));
        }
    }
    starts_.push_back(static_cast<std::uint32_t>(keys.size()));
    rows_ = std::move(sorted);
}

void ColumnIndex::groupTexts(std::size_t rows) {
    // Each distinct stored text once, through an open-addressing table of first rows; then
    // the distinct texts in the engine's order, equal ones (by case) sharing a group.
    std::size_t slots = 16;
    while (slots < 2 * rows) {
        slots *= 2;
    }
    std::vector<std::uint32_t> table(slots, kEmpty);
    std::vector<std::uint32_t> distinctOfRow(rows, kEmpty);
    std::vector<std::uint32_t> firstRows;
    const std::hash<std::string_view> hash;
    for (std::size_t row = 0; row < rows; ++row) {
        if (!values_.isPlain(row)) {
            continue;
        }
        const std::string_view text = values_.textAt(row);
        std::size_t slot = hash(text) & (slots - 1);
        while (table[slot] != kEmpty && values_.textAt(firstRows[table[slot]]) != text) {
            slot = (slot + 1) & (slots - 1);
        }
        if (table[slot] == kEmpty) {
            table[slot] = static_cast<std::uint32_t>(firstRows.size());
            firstRows.push_back(static_cast<std::uint32_t>(row));
        }
        distinctOfRow[row] = table[slot];
    }
    table = {};
    std::vector<std::uint32_t> order(firstRows.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = static_cast<std::uint32_t>(i);
    }
    const auto textOf = [&](std::uint32_t distinct) { return values_.textAt(firstRows[distinct]); };
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return compareText(textOf(a), textOf(b)) < 0;
    });
    std::vector<std::uint32_t> groupOfDistinct(firstRows.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i == 0 || compareText(textOf(order[i - 1]), textOf(order[i])) != 0) {
            samples_.push_back(firstRows[order[i]]);
        }
        groupOfDistinct[order[i]] = static_cast<std::uint32_t>(samples_.size() - 1);
    }
    for (std::uint32_t& group : distinctOfRow) {
        group = group == kEmpty ? kEmpty : groupOfDistinct[group];
    }
    countingGroups(distinctOfRow, samples_.size(), starts_, rows_);
}

void ColumnIndex::groupKeys(std::size_t rows) {
    std::vector<std::pair<std::string, std::uint32_t>> keyed;
    for (std::size_t row = 0; row < rows; ++row) {
        const Value v = values_.get(row);
        if (!v.isNull()) {
            keyed.emplace_back(equalityKey(v), static_cast<std::uint32_t>(row));
        }
    }
    std::sort(keyed.begin(), keyed.end());
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        if (i == 0 || keyed[i].first != keyed[i - 1].first) {
            starts_.push_back(static_cast<std::uint32_t>(i));
            keys_.push_back(keyed[i].first);
        }
        rows_.push_back(keyed[i].second);
    }
    starts_.push_back(static_cast<std::uint32_t>(keyed.size()));
}

std::span<const std::uint32_t> ColumnIndex::group(std::size_t id) const {
    return std::span<const std::uint32_t>(rows_).subspan(starts_[id],
                                                         starts_[id + 1] - starts_[id]);
}

std::span<const std::uint32_t> ColumnIndex::rowsEqualTo(const Value& v) const {
    if (v.isNull()) {
        return {};
    }
    switch (mode_) {
        case Mode::Integers: {
            const auto whole = wholeNumberOf(v);
            const auto at = whole ? std::lower_bound(integers_.begin(), integers_.end(), *whole)
                                  : integers_.end();
            if (at == integers_.end() || *at != *whole) {
                return {};
            }
            return group(static_cast<std::size_t>(at - integers_.begin()));
        }
        case Mode::Texts: {
            if (v.kind() != Value::Kind::Text) {
                return {};
            }
            const std::string& wanted = v.asText();
            const auto at = std::lower_bound(samples_.begin(), samples_.end(), wanted,
                                             [&](std::uint32_t row, const std::string& w) {
                                                 return compareText(values_.textAt(row), w) < 0;
                                             });
            if (at == samples_.end() || compareText(values_.textAt(*at), wanted) != 0) {
                return {};
            }
            return group(static_cast<std::size_t>(at - samples_.begin()));
        }
        case Mode::Keys: {
            const std::string key = equalityKey(v);
            const auto at = std::lower_bound(keys_.begin(), keys_.end(), key);
            if (at == keys_.end() || *at != key) {
                return {};
            }
            return group(static_cast<std::size_t>(at - keys_.begin()));
        }
    }
    return {};
}

std::size_t ColumnIndex::memoryBytes() const {
    std::size_t bytes =
        (starts_.capacity() + rows_.capacity() + samples_.capacity()) * sizeof(std::uint32_t) +
        integers_.capacity() * sizeof(std::int64_t);
    for (const std::string& key : keys_) {
        bytes += sizeof key + key.capacity();
    }
    return bytes;
}

}  // namespace planora::db
