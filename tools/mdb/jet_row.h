#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"
#include "tools/mdb/jet_types.h"

namespace planora::jet {

// Where a column's value lies in a row.
struct ColumnLayout {
    Column column;
    std::uint16_t number = 0;  // its place among the columns, and its bit in the null mask
    bool fixed = false;
    std::uint16_t fixedOffset = 0;  // in the fixed part, after the column count
    std::uint16_t variableIndex = 0;
    std::uint16_t length = 0;  // as the definition gives it: bytes, 2 per text character
};

struct TableLayout {
    std::vector<ColumnLayout> columns;  // in their order
    std::size_t fixedBytes = 0;
    std::size_t variableCount = 0;
    std::size_t longValueCount = 0;
};

// Fixed columns get their places in the order of the columns, variable ones their indexes.
TableLayout layoutOf(const std::vector<Column>& columns);

// A value a column cannot take, with the column's index and the reason.
struct FieldRejected {
    std::size_t column;
    std::string reason;
};

// Stores a long value (the stored bytes of a memo or OLE value) and gives the field that
// refers to it in the row.
using LongValueSink = std::function<std::string(std::size_t column, std::string_view stored)>;

// A row as Jet 4 keeps it: the column count, the fixed part, the variable values, then (when
// the table has variable columns) the end of the data, their offsets last to first and their
// count, and last the null mask, one bit per column, set for a value that is not Null (for
// Yes/No, set for Yes). Throws FieldRejected.
std::string encodeRow(const TableLayout& layout, std::span<const db::Value> row,
                      const LongValueSink& longValue);

}  // namespace planora::jet
