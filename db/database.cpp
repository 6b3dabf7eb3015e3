#include "db/database.h"

#include <map>

#include "db/backend.h"
#include "db/data_file.h"
#include "db/error.h"
#include "db/recordset_internal.h"
#include "db/sql.h"
#include "db/sql_print.h"
#include "messages/db_messages.h"

namespace planora::db {

namespace {

namespace fs = std::filesystem;

std::vector<std::uint32_t> allRows(const Table& table) {
    std::vector<std::uint32_t> rows(table.rowCount());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<std::uint32_t>(i);
    }
    return rows;
}

}  // namespace

struct Database::Impl {
    fs::path folder;
    std::unique_ptr<Backend> backend;
    std::map<std::string, TablePtr> tables;      // by folded name
    std::map<std::string, Database> otherFiles;  // "In 'file'" databases, by folded name

    TablePtr table(std::string_view name) {
        const std::string key = foldCase(name);
        auto it = tables.find(key);
        if (it == tables.end()) {
            it = tables.emplace(key, backend->loadTable(name)).first;
        }
        return it->second;
    }

    Database& otherFile(const std::string& bareName) {
        const std::string key = foldCase(bareName);
        auto it = otherFiles.find(key);
        if (it == otherFiles.end()) {
            it = otherFiles.emplace(key, Database::open(folder, bareName)).first;
        }
        return it->second;
    }
};

namespace {

using ImplPtr = std::shared_ptr<Database::Impl>;

std::shared_ptr<RecordSet::State> select(const ImplPtr& owner,
                                         const sql::SelectStatement& statement,
                                         const std::string& text);

// Sub-queries reach their database through a weak link, so that record sets do not keep the
// files of a closed database open.
sql::SubqueryRunner subqueryRunner(const ImplPtr& owner) {
    return [weak = std::weak_ptr<Database::Impl>(owner)](const sql::SelectStatement& statement) {
        const ImplPtr database = weak.lock();
        if (!database) {
            throw Error(msg::databaseClosed(statement.table));
        }
        const auto state = select(database, statement, sql::printSelect(statement));
        const Table& table = *state->table;
        std::size_t column = 0;
        if (!statement.column.empty()) {
            column = state->column(statement.column);
        } else if (table.columns().size() != 1) {
            throw Error(msg::subqueryNeedsOneColumn(table.name()));
        }
        std::vector<Value> values;
        values.reserve(state->rows.size());
        for (std::uint32_t row : state->rows) {
            values.push_back(table.value(row, column));
        }
        return values;
    };
}

// The statement's rows; text is the statement as the messages show it.
std::shared_ptr<RecordSet::State> select(const ImplPtr& owner,
                                         const sql::SelectStatement& statement,
                                         const std::string& text) {
    Database::Impl& source =
        statement.inFile.empty() ? *owner : owner->otherFile(statement.inFile).impl();
    const TablePtr table = source.table(statement.table);
    const fs::path& file = source.backend->file();
    sql::SubqueryRunner subqueries = subqueryRunner(owner);
    std::vector<std::uint32_t> rows;
    if (statement.where) {
        sql::TextSource where{msg::SqlText::Statement, text, table->name(), file};
        refuseMismatchedKinds(*statement.where, *table, where);
        const sql::BoundExpr bound(*statement.where, columnResolver(*table), subqueries,
                                   std::move(where));
        std::uint32_t row = 0;
        const sql::RowReader reader = [&](std::size_t column) { return table->value(row, column); };
        for (; row < table->rowCount(); ++row) {
            if (bound.matches(reader)) {
                rows.push_back(row);
            }
        }
    } else {
        rows = allRows(*table);
    }
    sortRows(*table, rows, statement.orderBy, file);
    return makeRecordSetState(table, std::move(rows), std::move(subqueries), file);
}

}  // namespace

Database::Database() = default;

Database Database::open(const fs::path& folder, std::string_view bareName) {
    const fs::path file = resolveDataFile(folder, bareName);
    Database database;
    database.impl_ = std::make_shared<Impl>();
    database.impl_->folder = folder;
    switch (fileKindOf(file)) {
        case FileKind::Sqlite:
            database.impl_->backend = openSqliteBackend(file);
            break;
        case FileKind::Access:
            database.impl_->backend = openAccessBackend(file);
            break;
        case FileKind::Unknown:
            throw Error(msg::notADatabase(file));
    }
    return database;
}

Database::Impl& Database::impl() const {
    if (!impl_) {
        throw Error(msg::databaseNotOpen());
    }
    return *impl_;
}

RecordSet Database::openRecordset(std::string_view tableOrSql) const {
    Impl& database = impl();
    if (!sql::looksLikeSelect(tableOrSql)) {
        TablePtr table = database.table(tableOrSql);
        auto rows = allRows(*table);
        return RecordSet(
            makeRecordSetState(std::move(table), std::move(rows), subqueryRunner(impl_), file()));
    }
    const sql::SelectStatement statement = sql::parseSelect(tableOrSql);
    return RecordSet(select(impl_, statement, std::string(tableOrSql)));
}

std::vector<std::string> Database::tableNames() const {
    return impl().backend->tableNames();
}
const fs::path& Database::file() const {
    return impl().backend->file();
}
bool Database::isOpen() const {
    return impl_ != nullptr;
}
void Database::close() {
    impl_.reset();
}

}  // namespace planora::db
