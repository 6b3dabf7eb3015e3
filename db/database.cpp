#include "db/database.h"

#include <array>
#include <cstring>
#include <fstream>
#include <map>

#include "db/backend.h"
#include "db/error.h"
#include "db/recordset_internal.h"
#include "db/sql.h"
#include "files/no_case.h"

namespace planora::db {

namespace {

namespace fs = std::filesystem;

enum class FileKind { Sqlite, Access, Unknown };

FileKind fileKindOf(const fs::path& file) {
    std::array<char, 32> header{};
    std::ifstream in(file, std::ios::binary);
    in.read(header.data(), header.size());
    const auto got = static_cast<std::size_t>(in.gcount());
    static const char sqlite[] = "SQLite format 3";  // with its terminating zero byte
    if (got >= sizeof sqlite && std::memcmp(header.data(), sqlite, sizeof sqlite) == 0) {
        return FileKind::Sqlite;
    }
    static const char jetStart[] = {0x00, 0x01, 0x00, 0x00};
    const std::string_view signature(header.data() + 4, got >= 19 ? 15 : 0);
    if (got >= 19 && std::memcmp(header.data(), jetStart, sizeof jetStart) == 0 &&
        (signature == "Standard Jet DB" || signature == "Standard ACE DB")) {
        return FileKind::Access;
    }
    return FileKind::Unknown;
}

std::vector<std::uint32_t> allRows(const Table& table) {
    std::vector<std::uint32_t> rows(table.rowCount());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<std::uint32_t>(i);
    }
    return rows;
}

}  // namespace

fs::path resolveDataFile(const fs::path& folder, std::string_view bareName) {
    const std::string name(bareName);
    if (auto found = files::findFileNoCase(folder, name)) {
        return *found;
    }
    const std::string fallback = fs::path(name).replace_extension(".sqlite").string();
    if (auto found = files::findFileNoCase(folder, fallback)) {
        return *found;
    }
    throw Error("The database file '" + name + "' (or '" + fallback +
                "') was not found in the folder '" + folder.string() + "'");
}

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
                                         const sql::SelectStatement& statement);

// Sub-queries reach their database through a weak link, so that record sets do not keep the
// files of a closed database open.
sql::SubqueryRunner subqueryRunner(const ImplPtr& owner) {
    return [weak = std::weak_ptr<Database::Impl>(owner)](const sql::SelectStatement& statement) {
        const ImplPtr database = weak.lock();
        if (!database) {
            throw Error("The database of table '" + statement.table + "' has been closed");
        }
        const auto state = select(database, statement);
        const Table& table = *state->table;
        std::size_t column = 0;
        if (!statement.column.empty()) {
            column = state->column(statement.column);
        } else if (table.columns().size() != 1) {
            throw Error("A sub-query on table '" + table.name() + "' must select one column");
        }
        std::vector<Value> values;
        values.reserve(state->rows.size());
        for (std::uint32_t row : state->rows) {
            values.push_back(table.value(row, column));
        }
        return values;
    };
}

std::shared_ptr<RecordSet::State> select(const ImplPtr& owner,
                                         const sql::SelectStatement& statement) {
    Database::Impl& source =
        statement.inFile.empty() ? *owner : owner->otherFile(statement.inFile).impl();
    const TablePtr table = source.table(statement.table);
    sql::SubqueryRunner subqueries = subqueryRunner(owner);
    std::vector<std::uint32_t> rows;
    if (statement.where) {
        const sql::BoundExpr where(*statement.where, columnResolver(*table), subqueries);
        std::uint32_t row = 0;
        const sql::RowReader reader = [&](std::size_t column) { return table->value(row, column); };
        for (; row < table->rowCount(); ++row) {
            if (where.matches(reader)) {
                rows.push_back(row);
            }
        }
    } else {
        rows = allRows(*table);
    }
    sortRows(*table, rows, statement.orderBy);
    return makeRecordSetState(table, std::move(rows), std::move(subqueries));
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
            throw Error("The file '" + file.filename().string() + "' in the folder '" +
                        folder.string() + "' is neither an Access nor an SQLite database");
    }
    return database;
}

Database::Impl& Database::impl() const {
    if (!impl_) {
        throw Error("The database is not open");
    }
    return *impl_;
}

RecordSet Database::openRecordset(std::string_view tableOrSql) const {
    Impl& database = impl();
    if (!sql::looksLikeSelect(tableOrSql)) {
        TablePtr table = database.table(tableOrSql);
        auto rows = allRows(*table);
        return RecordSet(
            makeRecordSetState(std::move(table), std::move(rows), subqueryRunner(impl_)));
    }
    const sql::SelectStatement statement = sql::parseSelect(tableOrSql);
    try {
        return RecordSet(select(impl_, statement));
    } catch (const Error& e) {
        throw Error(std::string(e.what()) + " (in \"" + std::string(tableOrSql) + "\" on '" +
                    file().filename().string() + "')");
    }
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
