#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "db/value.h"

namespace planora::db {

class ColumnStore;

// The rows of a column grouped by value under the engine's equality (numbers of any kind by
// value, texts without regard to case, dates), each group ascending; Null rows are left out.
// Built by sorting rather than hashing each row: whole numbers by a radix sort, texts by their
// distinct stored forms, anything else by its equality key. The groups lie in flat arrays,
// freed at once with the index.
class ColumnIndex {
  public:
    ColumnIndex(const ColumnStore& values, std::size_t rows);

    // The rows whose value equals v (compareValues gives 0), ascending; none for Null.
    std::span<const std::uint32_t> rowsEqualTo(const Value& v) const;
    // How many different values the column holds.
    std::size_t distinctValues() const { return starts_.empty() ? 0 : starts_.size() - 1; }
    std::size_t memoryBytes() const;

  private:
    enum class Mode { Integers, Texts, Keys };

    void groupIntegers(std::size_t rows);
    void groupTexts(std::size_t rows);
    void groupKeys(std::size_t rows);
    std::span<const std::uint32_t> group(std::size_t id) const;

    const ColumnStore& values_;
    Mode mode_ = Mode::Keys;
    std::vector<std::uint32_t> starts_;  // per group its first place in rows_, then the end
    std::vector<std::uint32_t> rows_;
    std::vector<std::int64_t> integers_;  // Integers: the value of each group, ascending
    std::vector<std::uint32_t> samples_;  // Texts: a row of each group, groups in text order
    std::vector<std::string> keys_;       // Keys: the equality key of each group, ascending
};

}  // namespace planora::db
