#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/value.h"
#include "tools/mdb/jet_types.h"

namespace planora::jet {

// The system table MSysObjects, which lists the objects of the file; readers find it at
// page 2 and the tables through it (the page of each table's definition is its "Id").
std::vector<Column> catalogColumns();

struct CatalogTable {
    std::string name;
    std::uint32_t definitionPage = 0;
    bool system = false;
};

// The containers "Tables", "Databases" and "Relationships", the database object, then the
// tables in the order given.
std::vector<std::vector<db::Value>> catalogRows(const std::vector<CatalogTable>& tables,
                                                const db::DateTime& created);

}  // namespace planora::jet
