#pragma once

// Files written by the Jet 4 writer, and what the two readers at hand (this program's Access
// reader and mdb-export) must give back from them.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "db/access_limits.h"
#include "db/value.h"
#include "tools/mdb/jet_types.h"

namespace planora::mdbtest {

inline const db::DateTime kCreated{2026, 12, 8, 9, 30, 0};

struct TableContent {
    std::string name;
    std::vector<jet::Column> columns;
    std::vector<std::vector<db::Value>> rows;
};

void writeTables(const std::filesystem::path& file, const std::vector<TableContent>& tables);

// Room for big tables in a sanitizer build.
db::AccessReadLimits generousLimits();

// What this program's reader gives for a value written to a column of that type: OLE and
// binary data read as Null, a Yes/No as a yes/no.
db::Value readBack(jet::ColumnType type, const db::Value& written);

// What mdb-export prints for it (binary data in hex): nothing for Null and for the empty text,
// which it shows alike; kNotShown for dates it cannot show (before 1900 or after 4637).
inline const std::string kNotShown = "\x02not shown\x02";
std::optional<std::string> exported(jet::ColumnType type, const db::Value& written);

// Every table, column and value of the file as the tables say, in order.
void expectReadBackByPlanora(const std::filesystem::path& file,
                             const std::vector<TableContent>& tables);
// One table of the file, whatever else the file holds.
void expectTableReadBackByPlanora(const std::filesystem::path& file, const TableContent& table);
void expectReadBackByMdbExport(const std::filesystem::path& file,
                               const std::vector<TableContent>& tables);

}  // namespace planora::mdbtest
