#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/mdb/jet_row.h"

namespace planora::jet {

// The usage maps of a memo or OLE column: which long value pages it owns.
struct LongValueMaps {
    std::uint16_t column = 0;
    std::uint32_t usedPages = 0;  // row pointers to the maps
    std::uint32_t freePages = 0;
};

// What a table definition says besides the columns: kind, row count and the usage maps.
struct TableDefinition {
    const TableLayout* layout = nullptr;
    bool system = false;
    std::uint32_t rows = 0;
    std::uint32_t usedPages = 0;  // row pointers to the maps of the data pages
    std::uint32_t freePages = 0;
    std::vector<LongValueMaps> longValueMaps;
};

// How many pages the definition of a table of this layout takes.
std::uint32_t definitionPageCount(const TableLayout& layout);

// The definition as the pages from `firstPage` on (as many as definitionPageCount): a
// header, the table's counts and maps, a block of 25 bytes per column, the column names,
// the maps of the long value columns and an end mark; spread over pages chained by their
// "next" field. There are no indexes: libmdb and this program read without them.
std::string definitionPages(const TableDefinition& definition, std::uint32_t firstPage);

}  // namespace planora::jet
