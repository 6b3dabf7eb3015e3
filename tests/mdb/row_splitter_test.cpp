// The reader's row splitter against libmdb's own: on every row of every data page of a file,
// the same rows refused and, for the others, the same field for each column. Over files of the
// Jet 4 writer, the sample files, and copies damaged byte by byte.

#include "db/reader/row_fields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/db/access_export_tool.h"
#include "tests/db/sqlite_fixture.h"
#include "tests/mdb/mdb_test_support.h"

namespace planora::mdbtest {
namespace {

using db::Value;
using db::access::RowFields;
using db::access::RowSplitter;

struct Compared {
    std::size_t rows = 0;
    std::size_t refused = 0;
};

struct MdbCloser {
    void operator()(MdbHandle* h) const { mdb_close(h); }
};
struct TableFreer {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};

// Every row slot of the table's data pages, split both ways.
void compareTable(MdbTableDef* table, const std::filesystem::path& file, Compared& compared) {
    const std::string where = file.filename().string();
    const auto pageCount = std::filesystem::file_size(file) / table->entry->mdb->fmt->pg_size;
    MdbHandle* mdb = table->entry->mdb;
    const RowSplitter splitter(table);
    RowFields row(table->num_cols);
    std::vector<MdbField> expected(table->num_cols);
    for (unsigned long page = 1; page < pageCount; ++page) {
        if (mdb_read_pg(mdb, page) != static_cast<ssize_t>(mdb->fmt->pg_size)) {
            break;
        }
        if (mdb->pg_buf[0] != 0x01 ||
            static_cast<unsigned long>(mdb_get_int32(mdb->pg_buf, 4)) != table->entry->table_pg) {
            continue;
        }
        const int rows = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
        for (int r = 0; r < rows && r <= 1000; ++r) {
            int start = 0;
            std::size_t size = 0;
            if (mdb_find_row(mdb, r, &start, &size) != 0 || size == 0) {
                continue;
            }
            start &= 0x1fff;
            const bool libmdbTakes = mdb_crack_row(table, start, size, expected.data()) >= 0;
            const bool splitterTakes = splitter.split(start, size, row);
            ++compared.rows;
            const std::string at = where + " " + table->name + " page " + std::to_string(page) +
                                   " row " + std::to_string(r);
            ASSERT_EQ(splitterTakes, libmdbTakes) << at;
            if (!libmdbTakes) {
                ++compared.refused;
                continue;
            }
            for (std::size_t c = 0; c < table->num_cols; ++c) {
                const MdbField& want = expected[c];
                const MdbField& got = row.field(c);
                ASSERT_EQ(got.is_null, want.is_null) << at << " column " << c;
                ASSERT_EQ(got.start, want.start) << at << " column " << c;
                ASSERT_EQ(got.siz, want.siz) << at << " column " << c;
                ASSERT_EQ(got.is_fixed, want.is_fixed) << at << " column " << c;
            }
        }
    }
}

Compared compareFile(const std::filesystem::path& file) {
    Compared compared;
    std::unique_ptr<MdbHandle, MdbCloser> mdb(mdb_open(file.c_str(), MDB_NOFLAGS));
    if (!mdb || !mdb_read_catalog(mdb.get(), MDB_TABLE)) {
        return compared;
    }
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE) {
            continue;
        }
        std::unique_ptr<MdbTableDef, TableFreer> table(mdb_read_table(entry));
        if (!table || !mdb_read_columns(table.get())) {
            continue;
        }
        compareTable(table.get(), file, compared);
        if (::testing::Test::HasFatalFailure()) {
            break;
        }
    }
    return compared;
}

// Texts, numbers, dates, Nulls and empty texts in one table, many pages of it.
TableContent guests(int count) {
    using jet::ColumnType;
    TableContent table{"Ospiti",
                       {{"Codice", ColumnType::LongInteger},
                        {"Cognome", ColumnType::Text, 40},
                        {"Arrivo", ColumnType::DateTime},
                        {"Note", ColumnType::Memo},
                        {"Importo", ColumnType::Currency},
                        {"Presente", ColumnType::YesNo},
                        {"Camera", ColumnType::Text, 6}},
                       {}};
    for (int i = 0; i < count; ++i) {
        table.rows.push_back(
            {Value::integer(i),
             i % 7 == 0 ? Value() : Value::text("Rossi" + std::string(i % 13, 'x')),
             Value::dateTime({2025, 1 + i % 12, 1 + i % 28, 0, 0, 0}),
             i % 3 == 0 ? Value::text("nota " + std::to_string(i)) : Value(),
             Value::currency(db::Currency{i * 125}), Value::boolean(i % 2 == 0),
             i % 5 == 0 ? Value::text({}) : Value::text(std::to_string(100 + i % 400))});
    }
    return table;
}

// Fixed-size columns only: rows without a table of variable values.
TableContent numbers(int count) {
    using jet::ColumnType;
    TableContent table{
        "Numeri", {{"N", ColumnType::LongInteger}, {"Valore", ColumnType::Double}}, {}};
    for (int i = 0; i < count; ++i) {
        table.rows.push_back({Value::integer(i), i % 4 == 0 ? Value() : Value::real(i / 8.0)});
    }
    return table;
}

class RowSplitterTest : public ::testing::Test {
  protected:
    testing::TempFolder folder_;
};

TEST_F(RowSplitterTest, WriterFilesSplitAsLibmdbSplitsThem) {
    const auto file = folder_.path() / "Ospiti.mdb";
    writeTables(file, {guests(3000), numbers(2000)});
    const Compared compared = compareFile(file);
    EXPECT_GE(compared.rows, 3000u);
    EXPECT_EQ(compared.refused, 0u);
}

TEST_F(RowSplitterTest, DamagedRowsAreRefusedOrSplitAsLibmdbDoes) {
    const auto file = folder_.path() / "Ospiti.mdb";
    writeTables(file, {guests(600)});
    std::string bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::mt19937 random(11);
    Compared all;
    for (int copy = 0; copy < 40; ++copy) {
        std::string damaged = bytes;
        // Bytes of the data pages only (past the catalog and the table definitions).
        std::uniform_int_distribution<std::size_t> at(4096 * 4, damaged.size() - 1);
        for (int i = 0; i < 60; ++i) {
            damaged[at(random)] = static_cast<char>(random());
        }
        const auto copyFile = folder_.path() / ("Rotto" + std::to_string(copy) + ".mdb");
        std::ofstream(copyFile, std::ios::binary) << damaged;
        const Compared compared = compareFile(copyFile);
        ASSERT_FALSE(HasFatalFailure()) << "copy " << copy;
        all.rows += compared.rows;
        all.refused += compared.refused;
    }
    EXPECT_GT(all.rows, 0u);
    EXPECT_GT(all.refused, 0u) << "no damaged row was met: the damage missed the rows";
}

class RowSplitterSamples : public test::AccessSamples {};

TEST_F(RowSplitterSamples, SampleFilesSplitAsLibmdbSplitsThem) {
    std::size_t rows = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(
             std::filesystem::path(PLANORA_FIXTURES_DIR))) {
        if (entry.path().extension() == ".mdb") {
            rows += compareFile(entry.path()).rows;
            ASSERT_FALSE(HasFatalFailure());
        }
    }
    EXPECT_GT(rows, 0u);
}

}  // namespace
}  // namespace planora::mdbtest
