#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "db/access_protocol.h"
#include "db/access_request.h"

namespace planora::db::access {

// Opens the file with libmdb and writes the user tables' names, then the tables asked for,
// to the stream. Runs in the reader program only: libmdb may crash or hang here.
void readWithLibmdb(const std::filesystem::path& file, const ReadRequest& request,
                    StreamWriter& out);

}  // namespace planora::db::access
