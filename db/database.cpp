#include "db/database.h"

#include <functional>
#include <map>

#include "db/access_backend.h"
#include "db/access_readers.h"
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

}  // namespace

struct Database::Impl {
    fs::path folder;
    std::unique_ptr<Backend> backend;
    std::shared_ptr<AccessReaders> accessReaders;  // also read the "In 'file'" databases
    std::map<std::string, TablePtr> tables;        // by folded name
    std::map<std::string, Database> otherFiles;    // "In 'file'" databases, by folded name

    TablePtr table(std::string_view name) {
        const std::string key = foldCase(name);
        auto it = tables.find(key);
        if (it == tables.end()) {
            it = tables.emplace(key, backend->openTable(name)).first;
        }
        return it->second;
    }

    Database& otherFile(const std::string& bareName) {
        const std::string key = foldCase(bareName);
        auto it = otherFiles.find(key);
        if (it == otherFiles.end()) {
            Database other = accessReaders ? Database::open(folder, bareName, accessReaders)
                                           : Database::open(folder, bareName);
            it = otherFiles.emplace(key, std::move(other)).first;
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
        const auto& rows = state->rows();
        table.loadColumns(std::span<const std::size_t>(&column, 1));
        std::vector<Value> values;
        values.reserve(rows.size());
        for (std::uint32_t row : rows) {
            values.push_back(table.value(row, column));
        }
        return values;
    };
}

// The rows of the table that satisfy the Where, in table order. The columns it reads are
// loaded first, so that the pass over the rows does not read them row by row.
std::vector<std::uint32_t> filterRows(const Table& table, const sql::Expr& where,
                                      const sql::BoundExpr& bound) {
    table.loadColumns(fieldColumns(where, table));
    std::vector<std::uint32_t> rows;
    std::uint32_t row = 0;
    const sql::RowReader reader = [&](std::size_t column) { return table.value(row, column); };
    for (const std::size_t count = table.rowCount(); row < count; ++row) {
        if (bound.matches(reader)) {
            rows.push_back(row);
        }
    }
    return rows;
}

// The statement's rows; text is the statement as the messages show it. The rows are selected
// when the record set is first used; the Where is checked and bound at once, so that its
// faults show when the statement is opened.
std::shared_ptr<RecordSet::State> select(const ImplPtr& owner,
                                         const sql::SelectStatement& statement,
                                         const std::string& text) {
    Database::Impl& source =
        statement.inFile.empty() ? *owner : owner->otherFile(statement.inFile).impl();
    TablePtr table = source.table(statement.table);
    const fs::path& file = source.backend->file();
    sql::SubqueryRunner subqueries = subqueryRunner(owner);
    std::shared_ptr<const sql::BoundExpr> bound;
    if (statement.where) {
        if (TablePtr narrowed = source.backend->openSelection(statement.table, *statement.where)) {
            table = std::move(narrowed);
        }
        sql::TextSource where{msg::SqlText::Statement, text, table->name(), file};
        refuseMismatchedKinds(*statement.where, *table, where);
        bound = std::make_shared<const sql::BoundExpr>(*statement.where, columnResolver(*table),
                                                       subqueries, std::move(where));
    }
    auto rows = [table, bound, where = statement.where, orderBy = statement.orderBy, file] {
        std::vector<std::uint32_t> selected =
            bound ? filterRows(*table, *where, *bound) : allRows(*table);
        sortRows(*table, selected, orderBy, file);
        return selected;
    };
    sortColumns(*table, statement.orderBy, file);
    const bool now = statement.where && mayFailOnARow(*statement.where);
    auto state = makeRecordSetState(std::move(table), std::move(rows), std::move(subqueries), file);
    if (now) {
        state->rows();
    }
    return state;
}

}  // namespace

Database::Database() = default;

Database Database::open(const fs::path& folder, std::string_view bareName) {
    return open(folder, bareName, AccessReadLimits{});
}

Database Database::open(const fs::path& folder, std::string_view bareName,
                        const AccessReadLimits& accessLimits) {
    return openFile(folder, bareName,
                    [&] { return std::make_shared<AccessReaders>(accessLimits); });
}

Database Database::open(const fs::path& folder, std::string_view bareName,
                        std::shared_ptr<AccessReaders> accessReaders) {
    Database database = openFile(folder, bareName, [&] { return accessReaders; });
    database.impl_->accessReaders = std::move(accessReaders);
    return database;
}

Database Database::openFile(const fs::path& folder, std::string_view bareName,
                            const std::function<std::shared_ptr<AccessReaders>()>& readers) {
    const fs::path file = resolveDataFile(folder, bareName);
    Database database;
    database.impl_ = std::make_shared<Impl>();
    database.impl_->folder = folder;
    switch (fileKindOf(file)) {
        case FileKind::Sqlite:
            database.impl_->backend = openSqliteBackend(file);
            break;
        case FileKind::Access:
            database.impl_->accessReaders = readers();
            database.impl_->backend = openAccessBackend(file, database.impl_->accessReaders);
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
        auto rows = [table] { return allRows(*table); };
        return RecordSet(
            makeRecordSetState(std::move(table), std::move(rows), subqueryRunner(impl_), file()));
    }
    const sql::SelectStatement statement = sql::parseSelect(tableOrSql);
    return RecordSet(select(impl_, statement, std::string(tableOrSql)));
}

std::vector<std::string> Database::tableNames() const {
    return impl().backend->tableNames();
}
void Database::holdState() const {
    impl().backend->holdState();
}
void Database::releaseState() const {
    impl().backend->releaseState();
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
