#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "db/table.h"
#include "db/value.h"

// The stream by which an isolated Access reader hands back what it read: a sequence of
// messages, each a tag byte, a 32-bit little-endian payload length and the payload.
namespace planora::db::access {

enum class Tag : std::uint8_t {
    TableNames = 1,   // count, then the names
    TableBegin = 2,   // table name, expected rows, column count, per column name and type
    Row = 3,          // one value per column: kind byte and content
    TableEnd = 4,     // row count, as a check
    TableFailed = 5,  // table name and reason: libmdb could not open that table
    FileFailed = 6,   // reason: libmdb could not open the file
    Done = 7,         // the reader finished normally
    // Of a table read with a Where, before TableEnd: the rows read, then per column the
    // first value that is not Null in the whole table (Null when there is none).
    TableScan = 8,
    // Of a table list with definitions: table name, the rows its definition counts, then its
    // columns.
    TableDefinition = 9,
};

// Largest payload of one message; a longer one means the stream is garbage.
inline constexpr std::uint32_t maxPayloadBytes = 64u << 20;

// The reader's side: buffers messages and writes them to a file descriptor when the buffer
// is full, when told to (`flush`, `done`) and about a tenth of a second after the last write,
// so that the receiver sees the progress of a table read slowly. A request's answer thus
// reaches the receiver in one write, and wakes it once.
// Throws std::runtime_error when the descriptor cannot be written.
class StreamWriter {
  public:
    explicit StreamWriter(int fd);
    void tableNames(const std::vector<std::string>& names);
    void tableBegin(std::string_view name, std::uint64_t expectedRows,
                    const std::vector<ColumnInfo>& columns);
    void row(std::span<const Value> values);
    // A row cell by cell: the same bytes as row() with the values of its cells.
    void beginRow();
    void cell(const Value& value);
    void textCell(std::string_view text);  // a Text value, not made
    void endRow();
    void tableScan(std::uint64_t rowsRead, std::span<const Value> firstValues);
    void tableDefinition(std::string_view name, std::uint64_t definedRows,
                         const std::vector<ColumnInfo>& columns);
    void tableEnd(std::uint64_t rows);
    void tableFailed(std::string_view name, std::string_view reason);
    void fileFailed(std::string_view reason);
    void done();  // writes Done and flushes
    void flush();

  private:
    static std::int64_t coarseMilliseconds();
    void message(Tag tag, const std::string& payload);
    void flushWhenDue();

    int fd_;
    std::string buffer_;
    std::int64_t lastFlush_ = coarseMilliseconds();
    std::size_t rowLengthAt_ = 0;
};

// A stream that breaks the rules above.
class ProtocolError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Everything one reader run delivered.
struct StreamResult {
    std::optional<std::vector<std::string>> tableNames;
    std::vector<std::shared_ptr<Table>> tables;
    // The rows each table's definition counts, by table name, to check the rows read against.
    std::map<std::string, std::uint64_t> definedRows;
    // Of the tables read with a Where, by name: the rows read, whether sent or not, and the
    // first value of each column that is not Null.
    struct Scan {
        std::uint64_t rowsRead = 0;
        std::vector<Value> firstValues;
    };
    std::map<std::string, Scan> scans;
    // Of the tables of a table list read with definitions, by name: the columns, and the rows
    // the definition counts (kept by the file, and only as right as the file).
    struct Definition {
        std::vector<ColumnInfo> columns;
        std::uint64_t rows = 0;
    };
    std::map<std::string, Definition> definitions;
    std::vector<std::pair<std::string, std::string>> failedTables;  // name, reason
    std::optional<std::string> fileFailure;
    bool done = false;
};

// The receiving side: takes the bytes as they arrive, in pieces of any size.
class StreamDecoder {
  public:
    // Throws ProtocolError on a malformed stream. Returns true when these bytes completed a
    // step (the table list or one table), so that the caller can restart the clock.
    bool feed(std::string_view bytes);
    // At the end of the stream. Throws ProtocolError when a message is cut short.
    void finish() const;
    const StreamResult& result() const { return result_; }
    StreamResult takeResult() { return std::move(result_); }

  private:
    bool handle(Tag tag, std::string_view payload);
    void beginTable(std::string_view payload);
    void appendRow(std::string_view payload);
    void endTable(std::string_view payload);
    void scanOfTable(std::string_view payload);

    std::string pending_;
    StreamResult result_;
    std::unique_ptr<Table> current_;
};

}  // namespace planora::db::access
