#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/table.h"

namespace planora::db {

// One database file, read-only.
class Backend {
  public:
    virtual ~Backend() = default;
    virtual const std::filesystem::path& file() const = 0;
    virtual std::vector<std::string> tableNames() const = 0;
    // The whole table. Throws planora::Error naming the file and the table.
    virtual TablePtr loadTable(std::string_view name) const = 0;
};

// Both throw planora::Error naming the file when it cannot be opened as such.
std::unique_ptr<Backend> openSqliteBackend(const std::filesystem::path& file);
std::unique_ptr<Backend> openAccessBackend(const std::filesystem::path& file);

}  // namespace planora::db
