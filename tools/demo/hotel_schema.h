#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "db/value.h"
#include "tools/demo/sqlite_writer.h"

namespace planora::demo {

struct TableSchema {
    std::string name;
    std::vector<ColumnDecl> columns;
};

// One database file of a data folder, e.g. "Tableau.sqlite" (read by the program as
// "Tableau.mdb").
struct DatabaseSchema {
    std::string file;
    std::vector<TableSchema> tables;
};

// Every database file the program reads, with its tables and fields: numbers INTEGER, dates
// TEXT yyyymmdd, amounts CURRENCY.
const std::vector<DatabaseSchema>& hotelSchema();

// A field value written into a row: numbers, texts, currency or any db::Value.
struct Cell {
    db::Value value;
    Cell(int v) : value(db::Value::integer(v)) {}
    Cell(std::int64_t v) : value(db::Value::integer(v)) {}
    Cell(double v) : value(db::Value::real(v)) {}
    Cell(db::Currency v) : value(db::Value::currency(v)) {}
    Cell(const char* v) : value(db::Value::text(v)) {}
    Cell(std::string v) : value(db::Value::text(std::move(v))) {}
    Cell(db::Value v) : value(std::move(v)) {}
};

using Fields = std::vector<std::pair<std::string, Cell>>;

// A data folder being filled: creates every database file of hotelSchema() empty, then takes
// rows by field name, each file in one transaction until finish(). Fields left out are Null.
class HotelData {
  public:
    // Throws planora::Error when a database file is already there.
    explicit HotelData(const std::filesystem::path& folder);
    ~HotelData();  // finishes, ignoring errors; call finish() to see them
    HotelData(const HotelData&) = delete;
    HotelData& operator=(const HotelData&) = delete;

    // file: "Scheda_Cliente.sqlite" (or "Scheda_Cliente.mdb", or just "Scheda_Cliente").
    void insert(std::string_view file, std::string_view table, const Fields& fields);
    void finish();  // commits and closes every file

    const std::filesystem::path& folder() const { return folder_; }

  private:
    struct OpenTable;
    struct OpenFile;
    // The names as the caller spelt them, so that repeated inserts skip the search.
    struct TableLookup {
        std::string file, table;
        OpenTable* open;
    };
    OpenTable& table(std::string_view file, std::string_view table);
    OpenTable& findTable(std::string_view file, std::string_view table);
    std::filesystem::path folder_;
    std::vector<std::unique_ptr<OpenFile>> files_;
    std::vector<TableLookup> lookups_;
};

// The database files of hotelSchema() that exist in the folder, as SQLite (".sqlite") or as
// Access (".mdb") files, found without regard to case.
std::vector<std::filesystem::path> existingDatabaseFiles(const std::filesystem::path& folder);

}  // namespace planora::demo
