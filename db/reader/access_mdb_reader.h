#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "db/access_protocol.h"
#include "db/access_request.h"

namespace planora::db::access {

// Reads Access files with libmdb, one request after another. Runs in the reader program only:
// libmdb may crash or hang here.
class LibmdbReader {
  public:
    LibmdbReader();
    ~LibmdbReader();
    LibmdbReader(const LibmdbReader&) = delete;
    LibmdbReader& operator=(const LibmdbReader&) = delete;

    // Writes the user tables' names, then what the request asks for, to the stream. The file
    // stays open for reads of single rows while it does not change: a find's rows are read one
    // request each.
    void read(const std::filesystem::path& file, const ReadRequest& request, StreamWriter& out);

  private:
    struct OpenFile;
    OpenFile* open(const std::filesystem::path& file, StreamWriter& out);

    std::unique_ptr<OpenFile> open_;
    std::unique_ptr<OpenFile> once_;
};

}  // namespace planora::db::access
