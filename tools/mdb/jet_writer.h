#pragma once

// A writer of Access database files in the Jet 4 format (Access 2000 to 2003), written from
// the public notes on the format. The files are meant for this program and for libmdb (the
// mdb-* tools read them too); whether the Access program itself opens them has not been
// checked: no Access is at hand here. They have no indexes, no relationships and no
// properties: the system catalog lists just the tables.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "db/value.h"
#include "tools/mdb/jet_catalog.h"
#include "tools/mdb/jet_definition.h"
#include "tools/mdb/jet_long_values.h"
#include "tools/mdb/jet_pages.h"
#include "tools/mdb/jet_row.h"
#include "tools/mdb/jet_types.h"

namespace planora::jet {

// The rows of one table, written as they come: the pages are written as they fill up, so
// tables of millions of rows need little memory.
class TableWriter {
  public:
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    // One value per column, in the columns' order. Values are taken as they are: an integer
    // for the whole-number types (and Yes/No), a real or an integer for Double, a currency or
    // an integer for Currency, a date for Date/Time, a text (UTF-8) for Text and Memo, a text
    // of raw bytes for Binary and OLE Object; Null anywhere but in Yes/No. Throws
    // planora::Error naming the file, the table, the field, the row and the value.
    void addRow(std::span<const db::Value> row);

    const std::string& name() const { return name_; }
    std::uint64_t rowCount() const { return rows_; }

  private:
    friend class DatabaseWriter;
    TableWriter(PageFile& file, std::string name, const std::vector<Column>& columns,
                std::uint32_t definitionPage, bool system);
    // Writes the last pages, the usage maps (their rows go to `maps`) and the definition.
    void finish(RowPageStream& maps);

    PageFile& file_;
    std::string name_;
    TableLayout layout_;
    std::uint32_t definitionPage_;
    bool system_;
    RowPageStream data_;
    std::map<std::size_t, LongValueStore> longValues_;  // by column index
    std::uint64_t rows_ = 0;
};

class DatabaseWriter {
  public:
    // Starts a new file that replaces `file` at finish(); `created` is the creation time the
    // file and its tables record.
    DatabaseWriter(const std::filesystem::path& file, const db::DateTime& created);
    // Without finish(), the target is left as it was.
    ~DatabaseWriter();
    DatabaseWriter(const DatabaseWriter&) = delete;
    DatabaseWriter& operator=(const DatabaseWriter&) = delete;

    // A new table. Names follow Access's rules (at most 64 characters, none of . ! ` [ ],
    // unique without regard to case); a table has 1 to 255 columns. Throws planora::Error.
    TableWriter& addTable(const std::string& name, const std::vector<Column>& columns);

    // Writes the catalog and the header and puts the file in place.
    void finish();

  private:
    std::vector<CatalogTable> catalogTables() const;

    PageFile file_;
    db::DateTime created_;
    RowPageStream maps_;
    std::unique_ptr<TableWriter> catalog_;
    std::vector<std::unique_ptr<TableWriter>> tables_;
};

}  // namespace planora::jet
