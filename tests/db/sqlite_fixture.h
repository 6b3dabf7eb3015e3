#pragma once

// Real SQLite files in a temporary folder, for the record access tests.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "db/value.h"
#include "tools/demo/sqlite_writer.h"

namespace planora::testing {

// A fresh folder under the system's temporary folder, removed with its files at the end.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

using Row = std::vector<db::Value>;

// Creates (or adds to) the SQLite file folder/file with one table of the given columns and rows.
void writeTable(const std::filesystem::path& file, const std::string& table,
                const std::vector<demo::ColumnDecl>& columns, const std::vector<Row>& rows);

// Writes raw bytes, for files that are not databases or are damaged.
void writeBytes(const std::filesystem::path& file, const std::string& bytes);

// The message of the planora::Error that the action throws, or "no error".
std::string errorMessage(const std::function<void()>& action);

db::Value num(std::int64_t v);
db::Value txt(std::string v);

}  // namespace planora::testing
