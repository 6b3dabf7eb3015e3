#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The texts of the record access layer: database files, tables, fields, criteria, the SQLite
// and Access readers. Files are shown by their full path (shown()), tables, fields, values
// and criteria in double quotes.
namespace planora::msg {

// --- Database files, tables and fields ---
std::string databaseNotFound(const std::filesystem::path& folder, std::string_view name,
                             std::string_view fallback);
std::string notADatabase(const std::filesystem::path& file);
std::string databaseNotOpen();
std::string databaseClosed(std::string_view table);
std::string tableNotFound(std::string_view table, const std::filesystem::path& file);
// The table and the file may be empty when not known.
std::string fieldNotFound(std::string_view field, std::string_view table,
                          const std::filesystem::path& file);
std::string subqueryNeedsOneColumn(std::string_view table);
std::string subqueryNotAvailable(std::size_t position);
std::string recordSetNotOpen();
std::string noCurrentRecord(std::string_view table, std::string_view field);
std::string badSortText(std::string_view text);

// --- Criteria of finds and SQL statements ---
enum class SqlText { Criteria, Statement };
// A failure met while binding or evaluating the text: the message, then the text.
std::string within(std::string_view message, SqlText kind, std::string_view text);
std::string syntaxError(SqlText kind, std::string_view text, std::size_t position,
                        std::string_view problem);
// The problems a syntax error names.
enum class SqlItem {
    EndOfStatement,
    OperatorOrEnd,
    Value,
    Number,
    TableName,
    ColumnName,
    StarOrColumn,
    FileNameInQuotes,
};
std::string expected(SqlItem item);
std::string expectedWord(std::string_view word);  // a keyword or a sign, e.g. "From", ")"
std::string unclosedText();
std::string unclosedBracket();
std::string emptyBracketName();
std::string characterNotAllowed();
std::string nestedTooDeep(int levels);
std::string tooManyOperators(int operators);
std::string numberOutOfRange();

// --- Comparisons of values of different types, as the Access engine refuses them ---
enum class ValueClass { Text, Number, Date, YesNo };
// One side of a comparison: a value written in the criteria, a field and what it holds, or the
// values a sub-query gave.
std::string valuePhrase(ValueClass kind, std::string_view value);
std::string fieldHolding(std::string_view field, ValueClass kind, std::string_view value);
std::string subqueryValues(std::string_view table, ValueClass kind, std::string_view value);
// table and file may be empty when not known.
std::string typeMismatch(SqlText kind, std::string_view text, std::string_view table,
                         const std::filesystem::path& file, std::string_view left,
                         std::string_view right);

// --- Reading SQLite database files ---
// table is empty for a failure of the file as a whole.
std::string cannotReadDatabase(const std::filesystem::path& file, std::string_view table,
                               std::string_view reason);
std::string notAnSqliteDatabase();
std::string databaseDamaged();
std::string databaseInUse(int seconds);
std::string interruptedChange(const std::filesystem::path& journal);
std::string unsavedChangesInReadOnlyFolder(const std::filesystem::path& wal,
                                           const std::filesystem::path& folder);
std::string outOfMemory();
std::string sqliteError(int code, std::string_view text);

// --- Reading Access database files through the reader program ---
std::string cannotOpenAccess(const std::filesystem::path& file, std::string_view reason);
std::string cannotReadAccessTable(std::string_view table, const std::filesystem::path& file,
                                  std::string_view reason);
std::string accessUnreadable();
std::string accessNoTableList();
std::string accessTableUnreadable();
std::string accessTableGone();
// The file changed while it was read, and again while it was read once more.
std::string accessFileBeingWritten(const std::filesystem::path& file);
std::string readerMissing(std::string_view program,
                          const std::vector<std::filesystem::path>& folders);
std::string readerCannotStart(const std::filesystem::path& program, int errnum);
std::string readerCrashed();
std::string readerStalled(std::string_view duration);
std::string readerOutOfMemory(std::string_view amount);
std::string readerTooMuchOutput(std::string_view amount);
std::string readerBadData(std::string_view problem);
std::string readerStoppedEarly();
std::string readerWrongArguments();

// What is wrong with the data the reader program sent.
enum class StreamProblem {
    TrailingBytes,
    ShortMessage,
    MessageTooLong,
    EndsInsideMessage,
    AfterEnd,
    OutOfOrder,
    UnknownTag,
    UnknownValueKind,
    UnknownColumnType,
    ValueNotOfColumnType,
    RowCountMismatch,
    CannotWrite,
};
std::string streamProblem(StreamProblem problem);

// --- Values and loaded tables: faults of the program itself ---
enum class StoredKind { Null, Integer, Real, Currency, Text, DateTime, Boolean };
std::string valueReadAsOtherKind(StoredKind stored, StoredKind wanted);
std::string tooManyRows(std::string_view table);
std::string rowSizeMismatch(std::string_view table, std::size_t values, std::size_t columns);
std::string cellOutOfRange(std::string_view table, std::size_t row, std::size_t column);

}  // namespace planora::msg
