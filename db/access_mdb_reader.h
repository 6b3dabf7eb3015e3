#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "db/access_protocol.h"

namespace planora::db::access {

// What one reader run reads besides the table list.
struct ReadRequest {
    bool allTables = false;            // every user table, in the order of the table list
    std::optional<std::string> table;  // else this one (its exact name), if any
};

// Opens the file with libmdb and writes the user tables' names, then the tables asked for,
// to the stream. Meant to run in the isolated reader process: libmdb may crash or hang here.
void readWithLibmdb(const std::filesystem::path& file, const ReadRequest& request,
                    StreamWriter& out);

}  // namespace planora::db::access
