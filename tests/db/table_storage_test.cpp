#include <gtest/gtest.h>

#include <limits>
#include <numeric>

#include "db/column_index.h"
#include "db/error.h"
#include "db/table.h"
#include "sqlite_fixture.h"

namespace planora::db {
namespace {

Table oneColumn(ColumnType type = ColumnType::Text) {
    return Table("T", {{"Campo", type}});
}

void append(Table& table, const Value& v) {
    table.appendRow(std::span<const Value>(&v, 1));
}

TEST(TableStorage, KeepsEveryKindOfValueExactly) {
    const std::vector<Value> values = {
        Value(),
        Value::integer(7),
        Value::real(2.5),
        Value::currency(Currency{-123456789}),
        Value::text("Rossi Mario"),
        Value::text(""),
        Value::dateTime(DateTime{2024, 2, 29, 23, 59, 58}),
        Value::boolean(true),
        Value::integer(std::numeric_limits<std::int64_t>::min()),
    };
    // All kinds in one column: the first non-Null value fixes the storage, the others are kept
    // aside, as SQLite allows any kind in any column.
    Table mixed = oneColumn();
    for (const Value& v : values) {
        append(mixed, v);
    }
    ASSERT_EQ(mixed.rowCount(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(mixed.value(i, 0), values[i]) << "row " << i;
    }
}

TEST(TableStorage, WidensIntegersWithoutLosingEarlierRows) {
    Table table = oneColumn(ColumnType::Integer);
    const std::vector<std::int64_t> numbers = {1,     -5,           127, -128,      300, -40000,
                                               70000, 5000000000LL, 0,   INT64_MAX, -1};
    for (std::int64_t n : numbers) {
        append(table, Value::integer(n));
    }
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        EXPECT_EQ(table.value(i, 0).asInteger(), numbers[i]) << "row " << i;
    }
}

TEST(TableStorage, NullsBeforeAndBetweenValuesStayNull) {
    Table table("T", {{"A", ColumnType::Integer}, {"B", ColumnType::Text}});
    const std::vector<std::vector<Value>> rows = {
        {Value(), Value()},
        {Value(), Value::text("x")},
        {Value::integer(3), Value()},
        {Value(), Value::text("yy")},
        {Value::integer(4), Value::text("")},
    };
    for (const auto& row : rows) {
        table.appendRow(row);
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < 2; ++c) {
            EXPECT_EQ(table.value(r, c), rows[r][c]) << "row " << r << " column " << c;
        }
    }
}

TEST(TableStorage, ColumnsAreFoundWithoutRegardToCase) {
    Table table("Scheda_Cliente",
                {{"NumeroHotel", ColumnType::Integer}, {"NumeroCamera", ColumnType::Text}});
    EXPECT_EQ(table.columnIndex("numerocamera"), 1u);
    EXPECT_EQ(table.columnIndex("NUMEROHOTEL"), 0u);
    EXPECT_FALSE(table.columnIndex("Numero").has_value());
}

TEST(TableStorage, RejectsRowsOfTheWrongWidthAndMissingCells) {
    Table table("Tableau", {{"A", ColumnType::Integer}, {"B", ColumnType::Text}});
    using planora::testing::errorMessage;
    const std::vector<Value> shortRow = {Value::integer(1)};
    EXPECT_EQ(errorMessage([&] { table.appendRow(shortRow); }),
              "La tabella \"Tableau\" ha ricevuto una riga di 1 valore per 2 colonne");
    EXPECT_EQ(table.rowCount(), 0u);
    const std::vector<Value> row = {Value::integer(1), Value::text("a")};
    table.appendRow(row);
    EXPECT_EQ(errorMessage([&] { table.value(1, 0); }),
              "La tabella \"Tableau\" non ha la riga 1 nella colonna 0");
    EXPECT_THROW(table.value(0, 2), Error);
}

TEST(TableStorage, SmallValuesTakeFewBytesPerRow) {
    // Eight-character dates and small numbers: the storage must stay near the raw content.
    Table table("T", {{"Hotel", ColumnType::Integer}, {"Data", ColumnType::Text}});
    const std::size_t rows = 10000;
    for (std::size_t i = 0; i < rows; ++i) {
        const std::vector<Value> row = {Value::integer(static_cast<std::int64_t>(i % 3)),
                                        Value::text("2024" + std::to_string(1000 + i % 9000))};
        table.appendRow(row);
    }
    table.shrinkToFit();
    // 1 byte of number, 8 of text and a small offset per row.
    EXPECT_LE(table.memoryBytes(), rows * 16);
    EXPECT_EQ(table.value(rows - 1, 1).asText(), "2024" + std::to_string(1000 + (rows - 1) % 9000));
}

TEST(TableStorage, CellByCellRowsMatchWholeRows) {
    Table whole("T", {{"Nome", ColumnType::Text}, {"Numero", ColumnType::Integer}});
    Table cells("T", {{"Nome", ColumnType::Text}, {"Numero", ColumnType::Integer}});
    const std::vector<std::vector<Value>> rows = {{Value::text("Rossi"), Value::integer(1)},
                                                  {Value(), Value::text("12")},
                                                  {Value::integer(5), Value()}};
    for (const auto& row : rows) {
        whole.appendRow(row);
        for (const Value& v : row) {
            if (v.kind() == Value::Kind::Text) {
                cells.appendTextCell(v.asText());
            } else {
                cells.appendCell(v);
            }
        }
        cells.endRow();
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < 2; ++c) {
            EXPECT_EQ(cells.value(r, c), whole.value(r, c)) << "row " << r << " column " << c;
        }
    }
    cells.appendCell(Value::integer(1));
    EXPECT_THROW(cells.endRow(), Error);  // one value short
    cells.appendCell(Value::integer(2));
    EXPECT_THROW(cells.appendCell(Value::integer(3)), Error);  // one too many
    cells.endRow();
    EXPECT_EQ(cells.rowCount(), rows.size() + 1);
}

// The rows an index gives for a value are exactly those that compare equal to it, ascending.
void expectIndexFollowsTheAccessComparison(const Table& table, const std::vector<Value>& probes) {
    const ColumnIndex& index = table.equalityIndex(0);
    for (const Value& probe : probes) {
        std::vector<std::uint32_t> expected;
        for (std::uint32_t row = 0; row < table.rowCount(); ++row) {
            const auto order = compareValues(table.value(row, 0), probe);
            if (order && *order == 0) {
                expected.push_back(row);
            }
        }
        const auto found = index.rowsEqualTo(probe);
        EXPECT_EQ(std::vector<std::uint32_t>(found.begin(), found.end()), expected)
            << "value " << probe.toText();
    }
}

TEST(TableStorage, IndexOfMixedKindsFollowsTheAccessComparison) {
    Table table = oneColumn();
    const std::vector<Value> values = {Value::text("Sala"),  Value::integer(1),
                                       Value::text("SALA"),  Value(),
                                       Value::real(1.0),     Value::text("1"),
                                       Value::boolean(true), Value::integer(2),
                                       Value::text("sala "), Value::currency(Currency{10000}),
                                       Value::integer(1)};
    for (const Value& v : values) {
        append(table, v);
    }
    std::vector<Value> probes = values;
    probes.push_back(Value::currency(Currency{15000}));
    probes.push_back(Value::text("Sala "));
    expectIndexFollowsTheAccessComparison(table, probes);
    EXPECT_EQ(table.equalityIndex(0).distinctValues(), 5u);  // "sala", "sala ", "1", 1, 2
}

TEST(TableStorage, IndexOfWholeNumbersTakesEveryNumericForm) {
    Table table = oneColumn(ColumnType::Integer);
    const std::vector<std::int64_t> numbers = {70000, -3, 5,         5000000000LL, -3, 0,
                                               70000, 5,  INT64_MIN, INT64_MAX,    1};
    for (std::int64_t n : numbers) {
        append(table, Value::integer(n));
    }
    append(table, Value());
    expectIndexFollowsTheAccessComparison(
        table, {Value::integer(5), Value::real(5.0), Value::real(5.5),
                Value::currency(Currency{50000}), Value::currency(Currency{50001}),
                Value::boolean(true), Value::integer(INT64_MIN), Value::integer(INT64_MAX),
                Value::integer(70000), Value::real(-3.0), Value::text("5"), Value::integer(6)});
    EXPECT_EQ(table.equalityIndex(0).distinctValues(), 8u);
}

TEST(TableStorage, IndexOfTextsIgnoresCaseOfLatinLetters) {
    Table table = oneColumn();
    for (const char* text : {"Città", "CITTÀ", "citta", "101", "1'A", "", "città", "Ünter", "ünter",
                             "unter", "101 "}) {
        append(table, Value::text(text));
    }
    expectIndexFollowsTheAccessComparison(
        table, {Value::text("cittÀ"), Value::text("CITTA"), Value::text("101"), Value::text(""),
                Value::text("ÜNTER"), Value::text("1'a"), Value::integer(101), Value::text("x")});
    EXPECT_EQ(table.equalityIndex(0).distinctValues(), 8u);
}

TEST(TableStorage, ValueKindsNameEveryKindAColumnHolds) {
    Table table("Scheda_Cliente", {{"NumeroCamera", ColumnType::Text}, {"Note", ColumnType::Text}});
    const std::vector<std::vector<Value>> rows = {
        {Value(), Value()},
        {Value::text("101"), Value()},
        {Value::integer(102), Value()},
        {Value::text("103"), Value()},
        {Value::real(104.5), Value()},
    };
    for (const auto& row : rows) {
        table.appendRow(row);
    }
    EXPECT_EQ(table.valueKinds(0), Table::kindBit(Value::Kind::Text) |
                                       Table::kindBit(Value::Kind::Integer) |
                                       Table::kindBit(Value::Kind::Real));
    EXPECT_EQ(table.valueKinds(1), 0u);  // only Nulls
    EXPECT_EQ(table.value(2, 0), Value::integer(102));
}

}  // namespace
}  // namespace planora::db
