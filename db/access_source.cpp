#include <algorithm>
#include <optional>

#include "db/access_reading.h"
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
class Source final : public TableSource {
  public:
    Source(std::shared_ptr<const Reading> reading, std::string table,
           std::vector<ColumnInfo> columns, std::string where)
        : reading_(std::move(reading)),
          table_(std::move(table)),
          columns_(std::move(columns)),
          where_(std::move(where)) {}

    void loadColumns(TableLoad& load, const std::vector<std::size_t>& columns,
                     std::span<const KindQuestion>) override {
        const std::shared_ptr<Table> read = readTable(where_);
        if (columns.size() == columns_.size() && std::is_sorted(columns.begin(), columns.end())) {
            load.takeRows(*read);
            return;
        }
        for (std::size_t row = 0; row < read->rowCount(); ++row) {
            for (std::size_t column : columns) {
                load.appendCell(read->value(row, column));
            }
            load.endRow();
        }
    }

    bool readsSingleRows() const override { return false; }
    std::vector<Value> loadRow(std::size_t row) override {
        throw Error(msg::cellOutOfRange(table_, row, 0));
    }
    bool selectsEveryRow() const override { return where_.empty(); }
    bool loadsEveryColumnAtOnce() const override { return true; }

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
            readTable("False");  // a pass that keeps no row, for what it sees
        }
        return (*firstValues_)[column];
    }

  private:
    std::shared_ptr<Table> readTable(const std::string& where) {
        ReadRequest request;
        request.table = table_;
        request.where = where;
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
        if (!sameColumns((*found)->columns())) {
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
    std::string where_;
    std::optional<std::vector<Value>> firstValues_;
};

}  // namespace

TablePtr openTable(std::shared_ptr<const Reading> reading, std::string table,
                   std::vector<ColumnInfo> columns, std::string where) {
    std::vector<ColumnInfo> defined = columns;
    auto source =
        std::make_unique<Source>(std::move(reading), table, std::move(columns), std::move(where));
    return std::make_shared<const Table>(std::move(table), std::move(defined), std::move(source));
}

}  // namespace planora::db::access
