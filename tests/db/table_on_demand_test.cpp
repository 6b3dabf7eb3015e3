// A table read on demand through its source: which columns each load asks for, and the rows
// read by themselves checked against the cells loaded.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "db/error.h"
#include "db/table.h"

namespace planora::db {
namespace {

// Rows of a code, a name and a number, whose cells are made from the row; records what each
// load asks for. `changed` makes every later read give other names, as a file rewritten.
class RecordingSource final : public TableSource {
  public:
    RecordingSource(std::size_t rows, std::optional<std::size_t> known, bool* changed,
                    std::vector<std::vector<std::size_t>>* loads, std::size_t* singleReads)
        : rows_(rows), known_(known), changed_(changed), loads_(loads), singleReads_(singleReads) {}

    void loadColumns(TableLoad& load, const std::vector<std::size_t>& columns,
                     std::span<const KindQuestion>) override {
        loads_->push_back(columns);
        for (std::size_t row = 0; row < rows_; ++row) {
            for (std::size_t column : columns) {
                load.appendCell(cell(row, column));
            }
            load.endRow();
        }
    }
    bool readsSingleRows() const override { return true; }
    std::vector<Value> loadRow(std::size_t row) override {
        ++*singleReads_;
        return {cell(row, 0), cell(row, 1), cell(row, 2)};
    }
    [[noreturn]] void refuseChangedRow() override { throw Error("la tabella è cambiata"); }
    bool selectsEveryRow() const override { return true; }
    std::optional<std::size_t> rowsExpected() const override { return known_; }
    bool learnsInFirstLoad(std::span<const KindQuestion>) const override { return false; }
    bool holdsKinds(std::size_t, unsigned) override { return true; }
    Value firstOfKinds(std::size_t column, unsigned) override { return cell(0, column); }

  private:
    Value cell(std::size_t row, std::size_t column) const {
        switch (column) {
            case 0:
                return Value::integer(static_cast<std::int64_t>(row));
            case 1:
                return Value::text((*changed_ ? "Altro " : "Ospite ") + std::to_string(row));
            default:
                return Value::integer(static_cast<std::int64_t>(row % 7));
        }
    }

    std::size_t rows_;
    std::optional<std::size_t> known_;
    bool* changed_;
    std::vector<std::vector<std::size_t>>* loads_;
    std::size_t* singleReads_;
};

class TableOnDemand : public ::testing::Test {
  protected:
    Table table(std::size_t rows, std::optional<std::size_t> known) {
        return Table(
            "Storico",
            {{"Codice", ColumnType::Integer},
             {"Nome", ColumnType::Text},
             {"Notti", ColumnType::Integer}},
            std::make_unique<RecordingSource>(rows, known, &changed_, &loads_, &singleReads_));
    }
    bool changed_ = false;
    std::vector<std::vector<std::size_t>> loads_;
    std::size_t singleReads_ = 0;
};

TEST_F(TableOnDemand, ATableKnownToBeSmallIsLoadedWholeAtOnce) {
    const Table small = table(100, 100);
    small.loadColumns(std::vector<std::size_t>{0});
    EXPECT_EQ(small.value(42, 1), Value::text("Ospite 42"));
    EXPECT_EQ(small.value(42, 2), Value::integer(0));
    EXPECT_EQ(loads_, (std::vector<std::vector<std::size_t>>{{0, 1, 2}}));
}

TEST_F(TableOnDemand, ATableOfUnknownSizeLoadsTheColumnsAsked) {
    const Table unknown = table(100, std::nullopt);
    unknown.loadColumns(std::vector<std::size_t>{0});
    EXPECT_EQ(unknown.value(42, 1), Value::text("Ospite 42"));
    ASSERT_EQ(loads_.size(), 2u);
    EXPECT_EQ(loads_[0], std::vector<std::size_t>{0});
    EXPECT_EQ(loads_[1], (std::vector<std::size_t>{1, 2}));  // small after all: the rest at once
}

TEST_F(TableOnDemand, ALargeTableReadsAFewRowsByThemselves) {
    const Table large = table(10000, 10000);
    large.loadColumns(std::vector<std::size_t>{0});
    EXPECT_EQ(large.value(9999, 1), Value::text("Ospite 9999"));
    EXPECT_EQ(large.value(9999, 2), Value::integer(9999 % 7));
    EXPECT_EQ(loads_, (std::vector<std::vector<std::size_t>>{{0}}));
    EXPECT_EQ(singleReads_, 1u);
}

TEST_F(TableOnDemand, ARowReadByItselfMustBeTheRowLoaded) {
    const Table large = table(10000, std::nullopt);
    large.loadColumns(std::vector<std::size_t>{0, 1});
    changed_ = true;
    EXPECT_THROW((void)large.value(5, 2), Error);
    EXPECT_THROW((void)large.value(5, 2), Error) << "a refused row is not kept";
    changed_ = false;
    EXPECT_EQ(large.value(5, 2), Value::integer(5));
}

}  // namespace
}  // namespace planora::db
