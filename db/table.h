#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"

namespace planora::db {

enum class ColumnType { Integer, Real, Currency, Text, DateTime, Boolean, Binary };

struct ColumnInfo {
    std::string name;
    ColumnType type = ColumnType::Text;
};

class Table;
class TableLoad;
struct TableImpl;
class ColumnStore;
class ColumnIndex;

// A question the kind checks of a criteria ask about a column of the whole table: does it
// hold a value of one of these kinds (an OR of Table::kindBit)?
struct KindQuestion {
    std::size_t column = 0;
    unsigned kinds = 0;
};

// Where a table read on demand gets its rows and columns: one selection of a table of a
// database file, either every row or the rows of a condition that the file's engine selected
// itself (a superset of what the record sets want; they filter again). The rows are selected
// once, by the first load; later loads deliver the same rows.
class TableSource {
  public:
    virtual ~TableSource() = default;

    // Delivers to `load`, row by row, the cells of these columns of every selected row. `learn`
    // names the kind questions that will follow, so that the first load can answer them in the
    // same pass over the file.
    virtual void loadColumns(TableLoad& load, const std::vector<std::size_t>& columns,
                             std::span<const KindQuestion> learn) = 0;
    // Whether one selected row can be read by itself, cheaply.
    virtual bool readsSingleRows() const = 0;
    // Every column of one selected row, in column order.
    virtual std::vector<Value> loadRow(std::size_t row) = 0;
    // Throws the source's error for a row read by itself whose cells differ from those
    // loaded before: the table changed between the two reads.
    [[noreturn]] virtual void refuseChangedRow() = 0;
    // True when every row of the table is selected.
    virtual bool selectsEveryRow() const = 0;
    // True when the first load should bring every column: a selection narrowed by the
    // backend (what it keeps is what the record sets go on to read), or a backend for which
    // another pass over the file costs as much as the whole table.
    virtual bool loadsEveryColumnAtOnce() const { return !selectsEveryRow(); }
    // The rows the table holds as far as the backend knows before reading it, if it does: a
    // table known to be small brings every column with its first load.
    virtual std::optional<std::size_t> rowsExpected() const { return std::nullopt; }
    // True when the first load should answer these questions: they would take a pass over
    // the table of their own otherwise.
    virtual bool learnsInFirstLoad(std::span<const KindQuestion> questions) const = 0;
    // Answers about the whole table, selected or not: whether the column holds a value of one
    // of the kinds, and the first such value in table order (Null when none).
    virtual bool holdsKinds(std::size_t column, unsigned kinds) = 0;
    virtual Value firstOfKinds(std::size_t column, unsigned kinds) = 0;
};

// The cells a source delivers in one load: for each selected row, the cells of the columns
// being loaded, in their order, then endRow(). A text cell is copied straight into the storage.
class TableLoad {
  public:
    void reserve(std::size_t rows);
    void appendCell(const Value& value);
    void appendTextCell(std::string_view text);
    void appendIntegerCell(std::int64_t value);
    void endRow();
    // Every row of a loaded table whose first columns are those being loaded, in order, at
    // once: their storage is taken over. Columns past those stay with `loaded`.
    void takeRows(Table& loaded);

  private:
    friend struct TableImpl;
    explicit TableLoad(TableImpl& impl) : impl_(impl) {}
    TableImpl& impl_;
};

// The rows of one table as loaded from a backend, held compactly column by column, and shared
// by every record set opened on it. A table made with a source is read on demand: the rows
// are selected on first use and each column is loaded when first read (a few rows of a large
// table are read one by one); its contents never change once read.
class Table {
  public:
    Table(std::string name, std::vector<ColumnInfo> columns);
    Table(std::string name, std::vector<ColumnInfo> columns, std::unique_ptr<TableSource> source);
    ~Table();
    Table(Table&&) noexcept;
    Table& operator=(Table&&) noexcept;

    const std::string& name() const;
    const std::vector<ColumnInfo>& columns() const;
    // Without regard to case, as Access.
    std::optional<std::size_t> columnIndex(std::string_view name) const;

    // The rows; selects them on first use.
    std::size_t rowCount() const;
    Value value(std::size_t row, std::size_t column) const;
    // Loads these columns for every row, before a pass over many rows.
    void loadColumns(std::span<const std::size_t> columns) const;
    // The stored values of a column, loaded, for the indexes.
    const ColumnStore& store(std::size_t column) const;
    // The index of the column's equality, made on first use and kept with the table.
    const ColumnIndex& equalityIndex(std::size_t column) const;

    // Filling a table without a source, as TableLoad does: every column of each row, in order.
    void reserve(std::size_t rows);
    // row.size() must equal columns().size().
    void appendRow(std::span<const Value> row);
    void appendCell(const Value& value);
    void appendTextCell(std::string_view text);
    void appendIntegerCell(std::int64_t value);
    void endRow();
    // Gives back the spare capacity left by loading, once the last row is in.
    void shrinkToFit();

    // The kinds of the values of the loaded rows of a column, Null aside: an OR of kindBit.
    unsigned valueKinds(std::size_t column) const;
    static constexpr unsigned kindBit(Value::Kind kind) {
        return 1u << static_cast<unsigned>(kind);
    }
    // The same questions about the whole table, whichever rows are selected. Questions asked
    // together first (learnKinds) are answered in one pass where the backend can.
    void learnKinds(std::span<const KindQuestion> questions) const;
    bool holdsKinds(std::size_t column, unsigned kinds) const;
    Value firstOfKinds(std::size_t column, unsigned kinds) const;

    // Heap bytes held by the rows, for the memory budget.
    std::size_t memoryBytes() const;

  private:
    friend class TableLoad;
    std::unique_ptr<TableImpl> impl_;
};

using TablePtr = std::shared_ptr<const Table>;

}  // namespace planora::db
