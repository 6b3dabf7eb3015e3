#include "db/recordset_internal.h"

namespace planora::db {

void appendIndexKey(std::string& key, const Value& value) {
    const std::string part = equalityKey(value);
    key += std::to_string(part.size());
    key += ':';
    key += part;
}

namespace {

// The key of a row, or false when one of its equality columns is Null (it matches nothing).
bool rowKey(const Table& table, std::uint32_t row, const std::vector<std::size_t>& columns,
            std::string& key) {
    key.clear();
    for (std::size_t column : columns) {
        const Value value = table.value(row, column);
        if (value.isNull()) {
            return false;
        }
        appendIndexKey(key, value);
    }
    return true;
}

constexpr std::uint32_t kNoKey = UINT32_MAX;

}  // namespace

EqualityIndex::EqualityIndex(const Table& table, const std::vector<std::uint32_t>& rows,
                             const std::vector<std::size_t>& columns) {
    // First pass: the key id of every position and the number of positions per key.
    std::vector<std::uint32_t> idOf(rows.size(), kNoKey);
    std::vector<std::uint32_t> counts;
    std::string key;
    for (std::size_t p = 0; p < rows.size(); ++p) {
        if (!rowKey(table, rows[p], columns, key)) {
            continue;
        }
        const auto [it, added] = ids_.try_emplace(key, static_cast<std::uint32_t>(counts.size()));
        if (added) {
            counts.push_back(0);
        }
        idOf[p] = it->second;
        ++counts[it->second];
    }
    // Second pass: the positions of each key, ascending, in one array.
    starts_.resize(counts.size() + 1, 0);
    for (std::size_t id = 0; id < counts.size(); ++id) {
        starts_[id + 1] = starts_[id] + counts[id];
    }
    positions_.resize(starts_.back());
    std::vector<std::uint32_t> fill(starts_.begin(), starts_.end() - 1);
    for (std::size_t p = 0; p < idOf.size(); ++p) {
        if (idOf[p] != kNoKey) {
            positions_[fill[idOf[p]]++] = static_cast<std::uint32_t>(p);
        }
    }
}

std::span<const std::uint32_t> EqualityIndex::lookup(const std::string& key) const {
    const auto it = ids_.find(key);
    if (it == ids_.end()) {
        return {};
    }
    const std::uint32_t begin = starts_[it->second];
    return std::span<const std::uint32_t>(positions_)
        .subspan(begin, starts_[it->second + 1] - begin);
}

}  // namespace planora::db
