#pragma once

#include <sys/types.h>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What one run of the Access reader program reads, and how it is passed on its command line:
//   planora-mdbread --parent PID [--serve]
//       (--all | --table NAME [--where CRITERIA | --columns LIST | --rows LIST] |
//        --list [--definitions]) -- FILE
// where a LIST is numbers separated by commas, or an empty word for none.
// With --serve the reader stays after that read and serves further requests, each the same
// words (with --serve) framed on its standard input (requestFrame), until the input ends.
namespace planora::db::access {

// The program that reads Access files, found beside planora.
inline constexpr const char* kReaderProgramName = "planora-mdbread";
// Its exit status when its command line is not one it understands (EX_USAGE).
inline constexpr int kReaderUsageExit = 64;

struct ReadRequest {
    bool allTables = false;            // every user table, in the order of the table list
    std::optional<std::string> table;  // else this one (its exact name), if any
    // With a table: a criteria of the record access layer's dialect; only the rows on which
    // it may hold are sent, and the first value of each column in the whole table.
    std::string where;
    // Or with a table: only these columns (by position) of every row, each row followed by
    // its address, a number under which the row can be read again by itself.
    std::optional<std::vector<std::size_t>> columns;
    // Or with a table: every column of the rows at these addresses that are still there.
    std::optional<std::vector<std::uint64_t>> rows;
    // With neither: the table list, and with this each table's columns too.
    bool definitions = false;

    static ReadRequest everyTable() {
        ReadRequest request;
        request.allTables = true;
        return request;
    }
    static ReadRequest ofTable(std::string name, std::string where = {}) {
        ReadRequest request;
        request.table = std::move(name);
        request.where = std::move(where);
        return request;
    }
    static ReadRequest columnsOf(std::string name, std::vector<std::size_t> columns) {
        ReadRequest request;
        request.table = std::move(name);
        request.columns = std::move(columns);
        return request;
    }
    static ReadRequest rowsOf(std::string name, std::vector<std::uint64_t> addresses) {
        ReadRequest request;
        request.table = std::move(name);
        request.rows = std::move(addresses);
        return request;
    }
    static ReadRequest tableList(bool withDefinitions) {
        ReadRequest request;
        request.definitions = withDefinitions;
        return request;
    }
};

struct ReaderInvocation {
    pid_t parent = 0;  // the process that started the reader, which it must not outlive
    std::filesystem::path file;
    ReadRequest request;
    bool serve = false;  // the reader waits for further requests after this one
};

std::vector<std::string> readerArguments(const ReaderInvocation& invocation);
// The invocation the arguments (without the program name) stand for; none when malformed.
std::optional<ReaderInvocation> parseReaderArguments(const std::vector<std::string>& arguments);

// A request to a serving reader: the count of the words, then each word's length, each a
// 32-bit little-endian number, and its bytes.
std::string requestFrame(const std::vector<std::string>& arguments);

enum class FrameRead { Request, End, Malformed };

// Reads the requests of a descriptor one after another, blocking. A request takes one read
// of the descriptor where it arrived whole, not two for each of its words; what a read
// brings beyond a request is kept for the next.
class RequestReader {
  public:
    explicit RequestReader(int fd) : fd_(fd) {}

    // The next request: End when the input ends before a frame begins, Malformed when it ends
    // inside one or a frame is larger than any request.
    FrameRead next(std::vector<std::string>& arguments);

  private:
    static constexpr std::size_t kChunkBytes = 4096;
    // Reads until `bytes` bytes are kept unread; false when the input ends first.
    bool fill(std::size_t bytes);

    int fd_;
    std::string buffer_;
    std::size_t at_ = 0;  // where the unread bytes begin
};

}  // namespace planora::db::access
