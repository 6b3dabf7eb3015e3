#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "db/table.h"
#include "db/value.h"
#include "tools/mdb/jet_types.h"

// Access copies of SQLite data folders, for planora-mdbwrite and the demo hotel.
namespace planora::jet {

// The Access columns of a table read from SQLite. Declared types map as planora-mdbwrite's
// usage says: INTEGER to Long Integer, or Double when a value does not fit 32 bits; REAL to
// Double; CURRENCY and the like to Currency; TEXT to Text(255), or Memo when a text is longer
// or a row would not fit a page; BOOLEAN to Yes/No, or Integer when a value is Null; dates to
// Date/Time; BLOB to OLE Object. A line for each column that a value moved from its type's
// first choice goes to `notes`.
std::vector<Column> accessColumnsFor(const db::Table& table, std::vector<std::string>& notes);

struct CopyCount {
    std::size_t tables = 0;
    std::uint64_t rows = 0;
};

// Writes the Access copy of one SQLite file: the same tables in the same order (SQLite's own
// "sqlite_" tables left out), columns, rows, row order and Nulls. Throws planora::Error.
CopyCount writeMdbCopy(const std::filesystem::path& sqliteFile,
                       const std::filesystem::path& mdbFile, const db::DateTime& created,
                       std::vector<std::string>& notes);

// For every "*.sqlite" file of `source`, its copy "<stem>.mdb" in `target` (created when
// missing; a file there of the same name in other letter case is replaced); the other files
// of `source` are copied, its folders are not. `report` gets a line for each file.
void writeMdbFolder(const std::filesystem::path& source, const std::filesystem::path& target,
                    const db::DateTime& created,
                    const std::function<void(const std::string&)>& report);

}  // namespace planora::jet
