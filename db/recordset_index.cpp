#include "db/recordset_internal.h"

namespace planora::db {

namespace {

constexpr std::uint32_t kNone = Table::kNoClass;

std::uint64_t pairKey(std::uint32_t combination, std::uint32_t nextClass) {
    return static_cast<std::uint64_t>(combination) << 32 | nextClass;
}

}  // namespace

EqualityIndex::EqualityIndex(const Table& table, const std::vector<std::uint32_t>& rows,
                             const std::vector<std::size_t>& columns)
    : classOfKey_(columns.size()) {
    // The combination of every position; none when a column is Null, as Null equals nothing.
    std::vector<std::uint32_t> combination(rows.size(), kNone);
    std::size_t combinations = 0;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const std::vector<std::uint32_t> classes =
            table.equalityClasses(columns[c], rows, classOfKey_[c]);
        if (c == 0) {
            combination = classes;
            combinations = classOfKey_[0].size();
            continue;
        }
        auto& step = steps_.emplace_back();
        for (std::size_t p = 0; p < rows.size(); ++p) {
            const std::uint32_t nextClass = classes[p];
            if (combination[p] == kNone || nextClass == kNone) {
                combination[p] = kNone;
                continue;
            }
            const auto id = static_cast<std::uint32_t>(step.size());
            combination[p] = step.try_emplace(pairKey(combination[p], nextClass), id).first->second;
        }
        combinations = step.size();
    }
    // The positions of each combination, ascending, in one array.
    starts_.assign(combinations + 1, 0);
    for (std::uint32_t id : combination) {
        if (id != kNone) {
            ++starts_[id + 1];
        }
    }
    for (std::size_t id = 0; id < combinations; ++id) {
        starts_[id + 1] += starts_[id];
    }
    positions_.resize(starts_.back());
    std::vector<std::uint32_t> fill(starts_.begin(), starts_.end() - 1);
    for (std::size_t p = 0; p < combination.size(); ++p) {
        if (combination[p] != kNone) {
            positions_[fill[combination[p]]++] = static_cast<std::uint32_t>(p);
        }
    }
}

std::span<const std::uint32_t> EqualityIndex::lookup(const std::vector<std::string>& keys) const {
    if (keys.size() != classOfKey_.size() || keys.empty()) {
        return {};
    }
    std::uint32_t id = kNone;
    for (std::size_t c = 0; c < keys.size(); ++c) {
        const auto found = classOfKey_[c].find(keys[c]);
        if (found == classOfKey_[c].end()) {
            return {};
        }
        if (c == 0) {
            id = found->second;
            continue;
        }
        const auto next = steps_[c - 1].find(pairKey(id, found->second));
        if (next == steps_[c - 1].end()) {
            return {};
        }
        id = next->second;
    }
    const std::uint32_t begin = starts_[id];
    return std::span<const std::uint32_t>(positions_).subspan(begin, starts_[id + 1] - begin);
}

}  // namespace planora::db
