#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "db/access_isolation.h"
#include "db/access_limits.h"
#include "db/access_readers.h"
#include "db/access_request.h"
#include "db/table.h"

namespace planora::db::access {

// The reads of one Access file by the reader programs, shared by its backend and the tables
// read on demand from it, which may outlive the backend.
class Reading {
  public:
    Reading(std::filesystem::path file, std::shared_ptr<AccessReaders> readers);

    const std::filesystem::path& file() const { return file_; }
    const AccessReadLimits& limits() const { return readers_->limits(); }

    // One run of the reader program. The hotel system writes its files in place while boards
    // are made: a run during which the file changed, or that did not read whole, is made once
    // more; a file that changes again stops the run with planora::Error.
    IsolatedRun read(const ReadRequest& request) const;
    std::string describe(const IsolatedRun& run) const;
    std::string tableError(std::string_view table, const std::string& reason) const;

  private:
    IsolatedRun readOnce(const ReadRequest& request) const;

    std::filesystem::path file_;
    std::shared_ptr<AccessReaders> readers_;
};

// A table of the file read on demand, with its columns and the rows its definition counts
// as the file gives them: every row, read column by column as the record sets ask, or with a
// Where (a criteria of the record access layer's dialect, which the reader program evaluates
// on each row) the rows on which it may hold, with every column at once.
TablePtr openTable(std::shared_ptr<const Reading> reading, std::string table,
                   std::vector<ColumnInfo> columns, std::uint64_t definedRows, std::string where);

}  // namespace planora::db::access
