#include <algorithm>
#include <optional>

#include "db/access_reading.h"
#include "db/column_store.h"
#include "db/error.h"
#include "messages/db_messages.h"
#include "messages/reading_messages.h"

namespace planora::db::access {

namespace {

// The kind every value of a column of the type has; none for binary data, which is read as
// Null.
unsigned kindOfType(ColumnType type) {
    switch (type) {
        case ColumnType::Integer:
            return Table::kindBit(Value::Kind::Integer);
        case ColumnType::Real:
            return Table::kindBit(Value::Kind::Real);
        case ColumnType::Currency:
            return Table::kindBit(Value::Kind::Currency);
        case ColumnType::Text:
            return Table::kindBit(Value::Kind::Text);
        case ColumnType::DateTime:
            return Table::kindBit(Value::Kind::DateTime);
        case ColumnType::Boolean:
            return Table::kindBit(Value::Kind::Boolean);
        case ColumnType::Binary:
            return 0;
    }
    return 0;
}

// An Access column holds values of its type only: which kinds a column holds in the whole table
// comes down to whether it holds any value, which a read with a Where reports as the first value
// of each column.
//
// A whole table is read column by column as the record sets ask: each pass sends the row
// addresses along, so that a few rows can be read again by themselves (the rows a find
// lands on) and a later pass can be checked to be of the same rows.
class Source final : public TableSource {
  public:
    Source(std::shared_ptr<const Reading> reading, std::string table,
           std::vector<ColumnInfo> columns, std::uint64_t definedRows, std::string where)
        : reading_(std::move(reading)),
          table_(std::move(table)),
          columns_(std::move(columns)),
          definedRows_(definedRows),
          where_(std::move(where)) {}

    void loadColumns(TableLoad& load, const std::vector<std::size_t>& columns,
                     std::span<const KindQuestion>) override {
        const bool every =
            columns.size() == columns_.size() && std::is_sorted(columns.begin(), columns.end());
        if (every && (!where_.empty() || !addresses_)) {
            load.takeRows(*readTable(ReadRequest::ofTable(table_, where_)));
            return;
        }
        if (!where_.empty()) {
            const std::shared_ptr<Table> read = readTable(ReadRequest::ofTable(table_, where_));
            appendColumns(load, *read, columns);
            return;
        }
        loadWithAddresses(load, columns);
    }

    bool readsSingleRows() const override { return where_.empty(); }

    std::vector<Value> loadRow(std::size_t row) override {
        if (!addresses_ || row >= addresses_->size()) {
            throw Error(msg::cellOutOfRange(table_, row, 0));
        }
        const auto read = readTable(ReadRequest::rowsOf(table_, {(*addresses_)[row]}));
        if (read->rowCount() != 1) {
            refuseChangedRow();
        }
        std::vector<Value> values;
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            values.push_back(read->value(0, c));
        }
        return values;
    }

    [[noreturn]] void refuseChangedRow() override {
        throw Error(reading_->tableError(table_, msg::changedWhileRead()));
    }

    bool selectsEveryRow() const override { return where_.empty(); }
    // What the file counts is a hint: a table selected by a Where is known by its selection.
    std::optional<std::size_t> rowsExpected() const override {
        return where_.empty() ? std::optional<std::size_t>(definedRows_) : std::nullopt;
    }
    bool loadsEveryColumnAtOnce() const override { return !where_.empty(); }

    bool learnsInFirstLoad(std::span<const KindQuestion> questions) const override {
        return !where_.empty() && !firstValues_ &&
               std::any_of(questions.begin(), questions.end(), [&](const KindQuestion& q) {
                   return (kindOfType(columns_[q.column].type) & q.kinds) != 0;
               });
    }

    bool holdsKinds(std::size_t column, unsigned kinds) override {
        return !firstOfKinds(column, kinds).isNull();
    }

    Value firstOfKinds(std::size_t column, unsigned kinds) override {
        if ((kindOfType(columns_[column].type) & kinds) == 0) {
            return Value();
        }
        if (!firstValues_) {
            readTable(ReadRequest::ofTable(table_, "False"));  // keeps no row, sees every one
        }
        return (*firstValues_)[column];
    }

  private:
    static void appendColumns(TableLoad& load, const Table& read,
                              const std::vector<std::size_t>& columns) {
        for (std::size_t row = 0; row < read.rowCount(); ++row) {
            for (std::size_t column : columns) {
                load.appendCell(read.value(row, column));
            }
            load.endRow();
        }
    }

    // Some columns of every row, with the rows' addresses, taken over whole. The first such
    // pass keeps the addresses; a later one must bring the same. A row read again by its
    // address is checked by the table against the cells loaded.
    void loadWithAddresses(TableLoad& load, const std::vector<std::size_t>& columns) {
        const auto read = readTable(ReadRequest::columnsOf(table_, columns), columns.size() + 1);
        const std::size_t rows = read->rowCount();
        const ColumnStore& sent = read->store(columns.size());
        const auto addressAt = [&](std::size_t row) {
            if (sent.storageKind() != Value::Kind::Integer || !sent.isPlain(row)) {
                throw Error(reading_->tableError(
                    table_, msg::streamProblem(msg::StreamProblem::ValueNotOfColumnType)));
            }
            return static_cast<std::uint64_t>(sent.integerAt(row));
        };
        if (!addresses_) {
            addresses_.emplace();
            addresses_->reserve(rows);
            for (std::size_t row = 0; row < rows; ++row) {
                addresses_->push_back(addressAt(row));
            }
        } else if (addresses_->size() != rows) {
            refuseChangedRow();
        } else {
            for (std::size_t row = 0; row < rows; ++row) {
                if ((*addresses_)[row] != addressAt(row)) {
                    refuseChangedRow();
                }
            }
        }
        load.takeRows(*read);
    }

    std::shared_ptr<Table> readTable(const ReadRequest& request,
                                     std::optional<std::size_t> sentColumns = std::nullopt) {
        IsolatedRun run = reading_->read(request);
        for (const auto& [name, reason] : run.result.failedTables) {
            if (name == table_) {
                throw Error(reading_->tableError(table_, reason));
            }
        }
        if (run.fault != Fault::None) {
            throw Error(reading_->tableError(table_, reading_->describe(run)));
        }
        if (run.result.fileFailure) {
            throw Error(reading_->tableError(table_, *run.result.fileFailure));
        }
        const auto found = std::find_if(run.result.tables.begin(), run.result.tables.end(),
                                        [&](const auto& t) { return t->name() == table_; });
        if (found == run.result.tables.end()) {
            throw Error(reading_->tableError(table_, msg::accessTableGone()));
        }
        if (sentColumns ? (*found)->columns().size() != *sentColumns
                        : !sameColumns((*found)->columns())) {
            throw Error(reading_->tableError(table_, msg::changedWhileRead()));
        }
        if (const auto scan = run.result.scans.find(table_); scan != run.result.scans.end()) {
            firstValues_ = scan->second.firstValues;
        }
        return *found;
    }

    bool sameColumns(const std::vector<ColumnInfo>& read) const {
        return std::equal(read.begin(), read.end(), columns_.begin(), columns_.end(),
                          [](const ColumnInfo& a, const ColumnInfo& b) {
                              return a.name == b.name && a.type == b.type;
                          });
    }

    std::shared_ptr<const Reading> reading_;
    std::string table_;
    std::vector<ColumnInfo> columns_;
    std::uint64_t definedRows_;
    std::string where_;
    std::optional<std::vector<Value>> firstValues_;
    // Of a whole table read column by column: the rows' addresses.
    std::optional<std::vector<std::uint64_t>> addresses_;
};

}  // namespace

TablePtr openTable(std::shared_ptr<const Reading> reading, std::string table,
                   std::vector<ColumnInfo> columns, std::uint64_t definedRows, std::string where) {
    std::vector<ColumnInfo> defined = columns;
    auto source = std::make_unique<Source>(std::move(reading), table, std::move(columns),
                                           definedRows, std::move(where));
    return std::make_shared<const Table>(std::move(table), std::move(defined), std::move(source));
}

}  // namespace planora::db::access
