#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "db/sqlite_open.h"
#include "db/table.h"
#include "db/text_encoding.h"

// An open SQLite file shared by its backend and the tables read from it on demand, which may
// outlive the backend.
namespace planora::db::sqlite {

class Connection {
  public:
    explicit Connection(std::filesystem::path file);
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const std::filesystem::path& file() const { return file_; }
    sqlite3* handle() const { return db_.get(); }
    const std::vector<std::string>& tables() const { return tables_; }

    // Throws planora::Error naming the file (and the table, when given) with SQLite's reason.
    [[noreturn]] void fail(int rc, const std::string& table = {}) const;
    StatementHandle prepare(const std::string& text, const std::string& table = {}) const;
    // Steps a statement and fails on an error; true while it gives a row.
    bool step(sqlite3_stmt* statement, const std::string& table) const;

    // While held, the reads of the file see one state of it: a read transaction stays open.
    void hold();
    void release();
    // A number that changes when another program commits a change to the file.
    std::int64_t dataVersion() const;

  private:
    std::filesystem::path file_;
    DatabaseHandle db_;
    std::vector<std::string> tables_;
    int holds_ = 0;
};

// The declared type of a column as the record access layer reads it, by the same kind of
// substring rules as SQLite's own affinity. Money comes first: "DECIMAL" and "NUMERIC" hold
// amounts in the hotel tables.
ColumnType columnTypeOf(const char* declared);

// SQLite's own affinity of a declared type.
enum class Affinity { Integer, Text, Blob, Real, Numeric };
Affinity affinityOf(const char* declared);

// The value of a cell of the current row of a statement, as a column of the type holds it.
Value cellOf(sqlite3_stmt* statement, int column, ColumnType type, Windows1252Decoder& decoder);

// Appends a cell to a loading table and returns its stored type. Texts, the bulk of the hotel
// tables, go straight from SQLite's buffer into the table, and whole numbers without a Value.
// The cell is read through its sqlite3_value, one call of the statement per cell: the
// connection is used by one thread only.
template <typename Sink>
int appendCell(Sink& sink, sqlite3_stmt* statement, int column, ColumnType type,
               Windows1252Decoder& decoder) {
    sqlite3_value* value = sqlite3_column_value(statement, column);
    const int stored = sqlite3_value_type(value);
    if (stored == SQLITE_TEXT && type != ColumnType::DateTime) {
        const auto* data = sqlite3_value_text(value);
        const auto size = static_cast<std::size_t>(sqlite3_value_bytes(value));
        const std::string_view text =
            data ? std::string_view(reinterpret_cast<const char*>(data), size) : std::string_view();
        if (type == ColumnType::Binary || isUtf8(text)) {
            sink.appendTextCell(text);
        } else {
            sink.appendTextCell(decoder.toUtf8(text));
        }
    } else if (stored == SQLITE_INTEGER && type == ColumnType::Integer) {
        sink.appendIntegerCell(sqlite3_value_int64(value));
    } else {
        sink.appendCell(cellOf(statement, column, type, decoder));
    }
    return stored;
}

}  // namespace planora::db::sqlite
