#include "db/recordset_internal.h"

namespace planora::db {

namespace {

constexpr std::uint32_t kNone = Table::kNoClass;

std::uint64_t pairKey(std::uint32_t combination, std::uint32_t nextClass) {
    return static_cast<std::uint64_t>(combination) << 32 | nextClass;
}

// A flat table of pairs is used while it stays within a few entries per row.
constexpr std::size_t kFlatEntriesPerRow = 4;

}  // namespace

EqualityIndex::Step::Step(std::size_t combinations, std::size_t classes, std::size_t rows)
    : stride_(classes) {
    if (classes > 0 && combinations <= (kFlatEntriesPerRow * rows + 1024) / classes) {
        flat_.assign(combinations * classes, kNone);
    } else {
        sparse_.reserve(rows);
    }
}

std::uint32_t EqualityIndex::Step::add(std::uint32_t combination, std::uint32_t nextClass) {
    if (flat_.empty()) {
        const auto [it, added] = sparse_.try_emplace(pairKey(combination, nextClass), size_);
        size_ += added ? 1 : 0;
        return it->second;
    }
    std::uint32_t& id = flat_[combination * stride_ + nextClass];
    if (id == kNone) {
        id = size_++;
    }
    return id;
}

std::uint32_t EqualityIndex::Step::find(std::uint32_t combination, std::uint32_t nextClass) const {
    if (flat_.empty()) {
        const auto it = sparse_.find(pairKey(combination, nextClass));
        return it == sparse_.end() ? kNone : it->second;
    }
    if (combination * stride_ + nextClass >= flat_.size()) {
        return kNone;
    }
    return flat_[combination * stride_ + nextClass];
}

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
        auto& step = steps_.emplace_back(combinations, classOfKey_[c].size(), rows.size());
        for (std::size_t p = 0; p < rows.size(); ++p) {
            const std::uint32_t nextClass = classes[p];
            if (combination[p] == kNone || nextClass == kNone) {
                combination[p] = kNone;
                continue;
            }
            combination[p] = step.add(combination[p], nextClass);
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
        id = steps_[c - 1].find(id, found->second);
        if (id == kNone) {
            return {};
        }
    }
    const std::uint32_t begin = starts_[id];
    return std::span<const std::uint32_t>(positions_).subspan(begin, starts_[id + 1] - begin);
}

}  // namespace planora::db
