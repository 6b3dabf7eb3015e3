#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/value.h"

namespace planora::db {

enum class ColumnType { Integer, Real, Currency, Text, DateTime, Boolean, Binary };

struct ColumnInfo {
    std::string name;
    ColumnType type = ColumnType::Text;
};

// The rows of one table as loaded from a backend, held compactly column by column. A loaded
// table is immutable and shared by every record set opened on it.
class Table {
  public:
    Table(std::string name, std::vector<ColumnInfo> columns);
    ~Table();
    Table(Table&&) noexcept;
    Table& operator=(Table&&) noexcept;

    const std::string& name() const;
    const std::vector<ColumnInfo>& columns() const;
    // Without regard to case, as Access.
    std::optional<std::size_t> columnIndex(std::string_view name) const;

    std::size_t rowCount() const;
    void reserve(std::size_t rows);
    // row.size() must equal columns().size().
    void appendRow(std::span<const Value> row);
    // The cell by cell form of appendRow, for the backends: each column's value in order, then
    // endRow(). A text cell is copied straight into the table's storage.
    void appendCell(const Value& value);
    void appendTextCell(std::string_view text);
    void endRow();
    Value value(std::size_t row, std::size_t column) const;
    // Gives back the spare capacity left by loading, once the last row is in.
    void shrinkToFit();

    // For indexing equality criteria: a dense id for each of the given rows of the column (in
    // their order) such that two rows get the same id exactly when their values have the same
    // equalityKey; Null rows get kNoClass. classOfKey maps each key to its id and gains the keys
    // seen first here. Only the given rows are looked at: a record set that a query narrowed
    // to a few rows of a big table indexes just those.
    static constexpr std::uint32_t kNoClass = 0xFFFFFFFF;
    std::vector<std::uint32_t> equalityClasses(
        std::size_t column, std::span<const std::uint32_t> rows,
        std::unordered_map<std::string, std::uint32_t>& classOfKey) const;

    // The kinds of the values the column holds, Null aside: an OR of kindBit(kind).
    unsigned valueKinds(std::size_t column) const;
    static constexpr unsigned kindBit(Value::Kind kind) {
        return 1u << static_cast<unsigned>(kind);
    }

    // Heap bytes held by the rows, for the memory budget.
    std::size_t memoryBytes() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

using TablePtr = std::shared_ptr<const Table>;

}  // namespace planora::db
