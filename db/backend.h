#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/table.h"

namespace planora::db {

namespace sql {
struct Expr;
}

// One database file, read-only.
class Backend {
  public:
    virtual ~Backend() = default;
    virtual const std::filesystem::path& file() const = 0;
    virtual std::vector<std::string> tableNames() const = 0;
    // The whole table. Throws planora::Error naming the file and the table.
    virtual TablePtr loadTable(std::string_view name) const = 0;
    // Every row of the table, read on demand (rows when first used, columns when first
    // read) where the backend can. Throws at once when there is no such table.
    virtual TablePtr openTable(std::string_view name) const { return loadTable(name); }
    // The rows that may satisfy the Where, selected by the file's own engine and read on
    // demand: a superset of the rows the record access layer keeps (it filters them again),
    // and every row holding a value of a kind that a comparison of the Where may refuse.
    // Null when the backend cannot narrow the table for this Where.
    virtual TablePtr openSelection(std::string_view name, const sql::Expr& where) const {
        (void)name;
        (void)where;
        return nullptr;
    }
    // While held (a count of holds), the reads see one state of the file: the reads of one
    // run belong together. Released when the count falls to zero.
    virtual void holdState() const {}
    virtual void releaseState() const {}
};

// Both throw planora::Error naming the file when it cannot be opened as such.
std::unique_ptr<Backend> openSqliteBackend(const std::filesystem::path& file);
std::unique_ptr<Backend> openAccessBackend(const std::filesystem::path& file);

}  // namespace planora::db
