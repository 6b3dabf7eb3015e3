#include <algorithm>

#include "db/error.h"
#include "db/quote.h"
#include "db/sqlite_table.h"
#include "messages/db_messages.h"
#include "messages/reading_messages.h"

namespace planora::db::sqlite {

namespace {

// The rows of one selection of a table, by rowid: the first load selects them (every row, or
// those of the condition and of the kinds its kind questions look for); later loads and the
// rows read one by one find them by their rowid. Between two reads the file must not have
// changed, or the reads are refused: the rows of a selection are of one state of the file.
class Source final : public TableSource {
  public:
    Source(std::shared_ptr<Connection> connection, std::shared_ptr<const TableShape> shape,
           std::shared_ptr<ColumnKinds> kinds, std::string condition)
        : connection_(std::move(connection)),
          shape_(std::move(shape)),
          kinds_(std::move(kinds)),
          condition_(std::move(condition)) {}

    void loadColumns(TableLoad& load, const std::vector<std::size_t>& columns,
                     std::span<const KindQuestion> learn) override {
        if (selected_) {
            checkUnchanged();
            loadAgain(load, columns);
            return;
        }
        version_ = connection_->dataVersion();
        loadFirst(load, columns, learn);
        selected_ = true;
    }

    bool readsSingleRows() const override { return true; }

    std::vector<Value> loadRow(std::size_t row) override {
        checkUnchanged();
        if (!rowLookup_) {
            rowLookup_ = connection_->prepare("SELECT * FROM " + quoteIdentifier(shape_->name) +
                                                  " WHERE " + *shape_->rowid + " = ?1",
                                              shape_->name);
        }
        sqlite3_stmt* statement = rowLookup_.get();
        sqlite3_bind_int64(statement, 1, rowids_.at(row));
        std::vector<Value> values;
        try {
            if (!connection_->step(statement, shape_->name)) {
                changed();
            }
            for (std::size_t c = 0; c < shape_->columns.size(); ++c) {
                values.push_back(
                    cellOf(statement, static_cast<int>(c), shape_->columns[c].info.type, decoder_));
            }
        } catch (...) {
            sqlite3_reset(statement);
            throw;
        }
        // A statement left unfinished would keep the file locked.
        sqlite3_reset(statement);
        return values;
    }

    [[noreturn]] void refuseChangedRow() override { changed(); }

    bool selectsEveryRow() const override { return condition_.empty(); }
    bool learnsInFirstLoad(std::span<const KindQuestion> questions) const override {
        return !condition_.empty() && !kinds_->worthLearning(questions).empty();
    }

    bool holdsKinds(std::size_t column, unsigned kinds) override {
        return kinds_->holds(column, kinds);
    }
    Value firstOfKinds(std::size_t column, unsigned kinds) override {
        return kinds_->firstOf(column, kinds);
    }

  private:
    std::string selectOf(const std::vector<std::size_t>& columns, const std::string& where) const {
        std::string text = "SELECT " + *shape_->rowid;
        for (std::size_t column : columns) {
            text += ", " + shape_->quotedColumn(column);
        }
        text += " FROM " + quoteIdentifier(shape_->name);
        if (!where.empty()) {
            text += " WHERE " + where;
        }
        return text + " ORDER BY " + *shape_->rowid;
    }

    // One pass: each row's cells to the table, and the stored kinds seen in each column.
    template <typename EachRow>
    std::vector<unsigned> pass(TableLoad& load, const std::vector<std::size_t>& columns,
                               const std::string& where, const EachRow& eachRow) {
        const StatementHandle statement =
            connection_->prepare(selectOf(columns, where), shape_->name);
        std::vector<unsigned> seen(columns.size(), 0);
        while (connection_->step(statement.get(), shape_->name)) {
            eachRow(sqlite3_column_int64(statement.get(), 0));
            for (std::size_t i = 0; i < columns.size(); ++i) {
                const int at = static_cast<int>(i + 1);
                seen[i] |= 1u << appendCell(load, statement.get(), at,
                                            shape_->columns[columns[i]].info.type, decoder_);
            }
            load.endRow();
        }
        return seen;
    }

    static bool holdsStored(unsigned seen, Stored kind) {
        return kind == Stored::Numbers ? (seen & (1u << SQLITE_INTEGER | 1u << SQLITE_FLOAT)) != 0
                                       : (seen & (1u << SQLITE_TEXT | 1u << SQLITE_BLOB)) != 0;
    }

    void loadFirst(TableLoad& load, const std::vector<std::size_t>& columns,
                   std::span<const KindQuestion> learn) {
        // A selection also takes every row holding a kind that a question looks for in a
        // column it loads, so that the pass answers the question for the whole table.
        const std::vector<std::size_t>& read = columns;
        std::string where;
        std::vector<std::pair<std::size_t, Stored>> learning;
        if (!condition_.empty()) {
            where = "(" + condition_ + ")";
            for (const auto& term : kinds_->worthLearning(learn)) {
                if (std::find(read.begin(), read.end(), term.first) != read.end()) {
                    learning.push_back(term);
                    where += " OR " + kinds_->holding(term.first, term.second);
                }
            }
        }
        const std::vector<unsigned> seen =
            pass(load, read, where, [this](std::int64_t rowid) { rowids_.push_back(rowid); });
        for (std::size_t i = 0; i < read.size(); ++i) {
            for (Stored kind : {Stored::Numbers, Stored::Texts}) {
                if (condition_.empty()) {
                    kinds_->learnt(read[i], kind, holdsStored(seen[i], kind));
                } else if (holdsStored(seen[i], kind)) {
                    kinds_->saw(read[i], kind);
                }
            }
        }
        for (const auto& [column, kind] : learning) {
            const auto at = std::find(read.begin(), read.end(), column) - read.begin();
            kinds_->learnt(column, kind, holdsStored(seen[static_cast<std::size_t>(at)], kind));
        }
        where_ = where;
    }

    void loadAgain(TableLoad& load, const std::vector<std::size_t>& columns) {
        std::size_t next = 0;
        const std::vector<unsigned> seen = pass(load, columns, where_, [&](std::int64_t rowid) {
            if (next >= rowids_.size() || rowids_[next] != rowid) {
                changed();
            }
            ++next;
        });
        if (next != rowids_.size()) {
            changed();
        }
        for (std::size_t i = 0; i < columns.size() && condition_.empty(); ++i) {
            for (Stored kind : {Stored::Numbers, Stored::Texts}) {
                kinds_->learnt(columns[i], kind, holdsStored(seen[i], kind));
            }
        }
    }

    void checkUnchanged() const {
        if (connection_->dataVersion() != version_) {
            changed();
        }
    }

    [[noreturn]] void changed() const {
        throw Error(
            msg::cannotReadDatabase(connection_->file(), shape_->name, msg::changedWhileRead()));
    }

    std::shared_ptr<Connection> connection_;
    std::shared_ptr<const TableShape> shape_;
    std::shared_ptr<ColumnKinds> kinds_;
    std::string condition_;
    std::string where_;  // of the first load, kinds included
    bool selected_ = false;
    std::int64_t version_ = 0;
    std::vector<std::int64_t> rowids_;
    StatementHandle rowLookup_;
    Windows1252Decoder decoder_;
};

}  // namespace

TablePtr openTable(std::shared_ptr<Connection> connection, std::shared_ptr<const TableShape> shape,
                   std::shared_ptr<ColumnKinds> kinds, std::string condition) {
    auto source = std::make_unique<Source>(std::move(connection), shape, std::move(kinds),
                                           std::move(condition));
    return std::make_shared<const Table>(shape->name, shape->infos(), std::move(source));
}

}  // namespace planora::db::sqlite
