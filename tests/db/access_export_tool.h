#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What the mdbtools command-line programs make of a sample file, to compare our reader with.
namespace planora::test {

struct ExportedTable {
    std::vector<std::string> columns;
    // Each field as printed; an empty optional where the field was printed as Null.
    std::vector<std::vector<std::optional<std::string>>> rows;
};

// False when mdb-export is not installed.
bool haveMdbTools();

// The table as mdb-export prints it: dates as "yyyy-mm-dd hh:mm:ss", texts unquoted and
// unescaped; binary data as mdb-export's option -b says ("strip", "hex").
ExportedTable exportTable(const std::filesystem::path& file, const std::string& table,
                          const std::string& binaryMode = "strip");

// The table names as mdb-tables lists them.
std::vector<std::string> listTables(const std::filesystem::path& file);

std::filesystem::path fixture(const std::string& relative);

// A test that reads the sample Access files: skipped, naming their folder, when the folder is
// not there (a clone without the shared fixtures), so that the suite passes anywhere.
class AccessSamples : public ::testing::Test {
  protected:
    void SetUp() override;
};

}  // namespace planora::test
