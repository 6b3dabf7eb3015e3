#include <sqlite3.h>

#include <map>

#include "db/backend.h"
#include "db/error.h"
#include "db/quote.h"
#include "db/sqlite_connection.h"
#include "db/sqlite_table.h"
#include "db/sqlite_where.h"
#include "messages/db_messages.h"

namespace planora::db {

namespace {

using sqlite::StatementHandle;

class SqliteBackend : public Backend {
  public:
    explicit SqliteBackend(std::filesystem::path file)
        : connection_(std::make_shared<sqlite::Connection>(std::move(file))) {}

    const std::filesystem::path& file() const override { return connection_->file(); }
    std::vector<std::string> tableNames() const override { return connection_->tables(); }

    TablePtr loadTable(std::string_view name) const override {
        const std::string& table = storedName(name);
        StatementHandle statement =
            connection_->prepare("SELECT * FROM " + quoteIdentifier(table), table);
        const int columnCount = sqlite3_column_count(statement.get());
        std::vector<ColumnInfo> columns;
        for (int c = 0; c < columnCount; ++c) {
            columns.push_back({sqlite3_column_name(statement.get(), c),
                               sqlite::columnTypeOf(sqlite3_column_decltype(statement.get(), c))});
        }
        auto loaded = std::make_shared<Table>(table, columns);
        Windows1252Decoder decoder;
        loaded->reserve(rowCount(table));
        while (connection_->step(statement.get(), table)) {
            for (int c = 0; c < columnCount; ++c) {
                sqlite::appendCell(*loaded, statement.get(), c,
                                   columns[static_cast<std::size_t>(c)].type, decoder);
            }
            loaded->endRow();
        }
        loaded->shrinkToFit();
        return loaded;
    }

    TablePtr openTable(std::string_view name) const override {
        const Known& known = knownTable(name);
        if (!known.shape->rowid) {
            return loadTable(name);
        }
        return sqlite::openTable(connection_, known.shape, known.kinds, {});
    }

    TablePtr openSelection(std::string_view name, const sql::Expr& where) const override {
        const Known& known = knownTable(name);
        std::string condition = sqlite::supersetCondition(where, *known.shape);
        if (condition.empty()) {
            return nullptr;
        }
        auto& kept = selections_[known.shape->name + '\n' + condition];
        TablePtr table = kept.lock();
        if (!table) {
            table = sqlite::openTable(connection_, known.shape, known.kinds, std::move(condition));
            kept = table;
        }
        return table;
    }

    void holdState() const override { connection_->hold(); }
    void releaseState() const override { connection_->release(); }

  private:
    // A table's shape and what is known of its kinds, shared by every selection of it.
    struct Known {
        std::shared_ptr<const sqlite::TableShape> shape;
        std::shared_ptr<sqlite::ColumnKinds> kinds;
    };

    const Known& knownTable(std::string_view name) const {
        const std::string& table = storedName(name);
        auto found = known_.find(table);
        if (found == known_.end()) {
            auto shape =
                std::make_shared<const sqlite::TableShape>(sqlite::shapeOf(*connection_, table));
            auto kinds = std::make_shared<sqlite::ColumnKinds>(connection_, shape);
            found = known_.emplace(table, Known{std::move(shape), std::move(kinds)}).first;
        }
        return found->second;
    }

    std::size_t rowCount(const std::string& table) const {
        StatementHandle statement =
            connection_->prepare("SELECT count(*) FROM " + quoteIdentifier(table), table);
        if (!connection_->step(statement.get(), table)) {
            return 0;
        }
        return static_cast<std::size_t>(sqlite3_column_int64(statement.get(), 0));
    }

    const std::string& storedName(std::string_view name) const {
        const std::string wanted = foldCase(name);
        for (const std::string& table : connection_->tables()) {
            if (foldCase(table) == wanted) {
                return table;
            }
        }
        throw Error(msg::tableNotFound(name, file()));
    }

    std::shared_ptr<sqlite::Connection> connection_;
    mutable std::map<std::string, Known> known_;
    mutable std::map<std::string, std::weak_ptr<const Table>> selections_;
};

}  // namespace

std::unique_ptr<Backend> openSqliteBackend(const std::filesystem::path& file) {
    return std::make_unique<SqliteBackend>(file);
}

}  // namespace planora::db
