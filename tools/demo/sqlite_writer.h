#pragma once

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "db/value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace planora::demo {

// A column as declared in SQLite: INTEGER, REAL, TEXT, CURRENCY (stored as REAL; the reader
// turns the declared type back into an exact currency) or DATETIME.
struct ColumnDecl {
    std::string name;
    std::string type;
};

class SqliteWriter;

// A prepared insert into one table with a fixed column list; rows are bound and stepped
// one by one inside the writer's open transaction.
class RowInserter {
  public:
    RowInserter(RowInserter&&) noexcept;
    RowInserter& operator=(RowInserter&&) noexcept;
    ~RowInserter();
    // row.size() must equal the number of columns given to SqliteWriter::inserter.
    void add(std::span<const db::Value> row);

  private:
    friend class SqliteWriter;
    RowInserter(sqlite3_stmt* statement, std::size_t columns, std::string table);
    sqlite3_stmt* statement_ = nullptr;
    std::size_t columns_ = 0;
    std::string table_;
};

// Writes one SQLite file. All inserts between begin() and commit() form one transaction;
// inserts outside an explicit transaction get one of their own. Throws planora::Error
// naming the file and table.
class SqliteWriter {
  public:
    explicit SqliteWriter(const std::filesystem::path& file);  // created when missing
    ~SqliteWriter();  // rolls back a transaction that was not committed
    SqliteWriter(const SqliteWriter&) = delete;
    SqliteWriter& operator=(const SqliteWriter&) = delete;

    const std::filesystem::path& file() const { return file_; }

    void createTable(const std::string& table, const std::vector<ColumnDecl>& columns);
    RowInserter inserter(const std::string& table, const std::vector<std::string>& columns);
    void insertRows(const std::string& table, const std::vector<std::string>& columns,
                    const std::vector<std::vector<db::Value>>& rows);

    void begin();
    void commit();
    bool inTransaction() const { return inTransaction_; }

  private:
    void execute(const std::string& sql, const std::string& what);
    std::filesystem::path file_;
    sqlite3* db_ = nullptr;
    bool inTransaction_ = false;
};

}  // namespace planora::demo
