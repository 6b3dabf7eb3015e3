#include <gtest/gtest.h>

#include <limits>
#include <numeric>

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

TEST(TableStorage, EqualityClassesFollowTheAccessComparison) {
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
    std::vector<std::uint32_t> allRows(values.size());
    std::iota(allRows.begin(), allRows.end(), 0u);
    std::unordered_map<std::string, std::uint32_t> classOfKey;
    const auto classes = table.equalityClasses(0, allRows, classOfKey);
    ASSERT_EQ(classes.size(), values.size());
    for (std::size_t a = 0; a < values.size(); ++a) {
        EXPECT_EQ(classes[a] == Table::kNoClass, values[a].isNull()) << "row " << a;
        for (std::size_t b = 0; b < values.size(); ++b) {
            if (values[a].isNull() || values[b].isNull()) {
                continue;
            }
            const auto order = compareValues(values[a], values[b]);
            EXPECT_EQ(classes[a] == classes[b], order.has_value() && *order == 0)
                << "rows " << a << " and " << b;
        }
        if (!values[a].isNull()) {
            EXPECT_EQ(classOfKey.at(equalityKey(values[a])), classes[a]) << "row " << a;
        }
    }

    // A subset of rows, in another order, gets the classes of those rows.
    const std::vector<std::uint32_t> someRows = {10, 2, 3, 0, 7};
    std::unordered_map<std::string, std::uint32_t> subsetKeys;
    const auto subset = table.equalityClasses(0, someRows, subsetKeys);
    ASSERT_EQ(subset.size(), someRows.size());
    for (std::size_t a = 0; a < someRows.size(); ++a) {
        for (std::size_t b = 0; b < someRows.size(); ++b) {
            EXPECT_EQ(subset[a] == subset[b], classes[someRows[a]] == classes[someRows[b]])
                << "rows " << someRows[a] << " and " << someRows[b];
        }
    }
    EXPECT_THROW(table.equalityClasses(0, std::vector<std::uint32_t>{99}, subsetKeys), Error);
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
