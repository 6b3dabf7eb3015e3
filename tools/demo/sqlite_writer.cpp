#include "tools/demo/sqlite_writer.h"

#include <sqlite3.h>

#include <utility>

#include "db/error.h"
#include "db/quote.h"

namespace planora::demo {

namespace {

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
    throw Error(what + ": " + (db != nullptr ? sqlite3_errmsg(db) : "out of memory"));
}

std::string dateTimeText(const db::DateTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

int bindValue(sqlite3_stmt* statement, int index, const db::Value& value) {
    using Kind = db::Value::Kind;
    switch (value.kind()) {
        case Kind::Null:
            return sqlite3_bind_null(statement, index);
        case Kind::Integer:
            return sqlite3_bind_int64(statement, index, value.asInteger());
        case Kind::Boolean:
            return sqlite3_bind_int(statement, index, value.asBoolean() ? 1 : 0);
        case Kind::Real:
            return sqlite3_bind_double(statement, index, value.asReal());
        case Kind::Currency:
            return sqlite3_bind_double(statement, index,
                                       static_cast<double>(value.asCurrency().scaled) / 10000.0);
        case Kind::Text: {
            // The row outlives the step that reads it.
            const std::string& text = value.asText();
            return sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                                     SQLITE_STATIC);
        }
        case Kind::DateTime: {
            const std::string text = dateTimeText(value.asDateTime());
            return sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                                     SQLITE_TRANSIENT);
        }
    }
    return SQLITE_MISUSE;
}

}  // namespace

RowInserter::RowInserter(sqlite3_stmt* statement, std::size_t columns, std::string table)
    : statement_(statement), columns_(columns), table_(std::move(table)) {}

RowInserter::RowInserter(RowInserter&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)),
      columns_(other.columns_),
      table_(std::move(other.table_)) {}

RowInserter& RowInserter::operator=(RowInserter&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        statement_ = std::exchange(other.statement_, nullptr);
        columns_ = other.columns_;
        table_ = std::move(other.table_);
    }
    return *this;
}

RowInserter::~RowInserter() {
    sqlite3_finalize(statement_);
}

void RowInserter::add(std::span<const db::Value> row) {
    sqlite3* db = sqlite3_db_handle(statement_);
    if (row.size() != columns_) {
        throw Error("Insert into " + table_ + ": " + std::to_string(row.size()) + " values for " +
                    std::to_string(columns_) + " columns");
    }
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (bindValue(statement_, static_cast<int>(i + 1), row[i]) != SQLITE_OK) {
            fail(db, "Insert into " + table_);
        }
    }
    const int step = sqlite3_step(statement_);
    sqlite3_reset(statement_);
    if (step != SQLITE_DONE) {
        fail(db, "Insert into " + table_);
    }
}

SqliteWriter::SqliteWriter(const std::filesystem::path& file) : file_(file) {
    const int opened =
        sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (opened != SQLITE_OK) {
        const std::string message = "Cannot create " + file.string() + ": " +
                                    (db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory");
        sqlite3_close(db_);
        throw Error(message);
    }
    // A generated file is rebuilt rather than recovered, so the journal is not needed.
    sqlite3_exec(db_, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;", nullptr, nullptr,
                 nullptr);
}

SqliteWriter::~SqliteWriter() {
    if (inTransaction_) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db_);
}

void SqliteWriter::execute(const std::string& sql, const std::string& what) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail(db_, what + " in " + file_.string());
    }
}

void SqliteWriter::createTable(const std::string& table, const std::vector<ColumnDecl>& columns) {
    std::string sql = "CREATE TABLE " + db::quoteIdentifier(table) + " (";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        sql += (i > 0 ? ", " : "") + db::quoteIdentifier(columns[i].name) + " " + columns[i].type;
    }
    execute(sql + ")", "Create table " + table);
}

RowInserter SqliteWriter::inserter(const std::string& table,
                                   const std::vector<std::string>& columns) {
    std::string names;
    std::string marks;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        names += (i > 0 ? ", " : "") + db::quoteIdentifier(columns[i]);
        marks += i > 0 ? ", ?" : "?";
    }
    const std::string sql =
        "INSERT INTO " + db::quoteIdentifier(table) + " (" + names + ") VALUES (" + marks + ")";
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        fail(db_, "Insert into " + table + " in " + file_.string());
    }
    return RowInserter(statement, columns.size(), table + " in " + file_.string());
}

void SqliteWriter::insertRows(const std::string& table, const std::vector<std::string>& columns,
                              const std::vector<std::vector<db::Value>>& rows) {
    const bool own = !inTransaction_;
    if (own) {
        begin();
    }
    RowInserter insert = inserter(table, columns);
    for (const auto& row : rows) {
        insert.add(row);
    }
    if (own) {
        commit();
    }
}

void SqliteWriter::begin() {
    execute("BEGIN", "Begin");
    inTransaction_ = true;
}

void SqliteWriter::commit() {
    execute("COMMIT", "Commit");
    inTransaction_ = false;
}

}  // namespace planora::demo
