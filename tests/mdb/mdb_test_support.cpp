#include "tests/mdb/mdb_test_support.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>

#include "db/access_backend.h"
#include "tests/db/access_export_tool.h"
#include "tools/mdb/jet_writer.h"

namespace planora::mdbtest {

namespace {

using jet::ColumnType;

std::string hexOf(const std::string& bytes) {
    static const char* const kDigits = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        out += kDigits[static_cast<unsigned char>(c) >> 4];
        out += kDigits[static_cast<unsigned char>(c) & 0xF];
    }
    return out;
}

std::string currencyText(std::int64_t scaled) {
    const std::uint64_t magnitude =
        scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    char text[40];
    std::snprintf(text, sizeof text, "%s%" PRIu64 ".%04" PRIu64, scaled < 0 ? "-" : "",
                  magnitude / 10000, magnitude % 10000);
    return text;
}

std::string shown(const db::Value& value) {
    return value.isNull()
               ? "Null"
               : "(kind " + std::to_string(static_cast<int>(value.kind())) + ") " + value.toText();
}

std::string shown(const std::optional<std::string>& text) {
    return text ? "\"" + *text + "\"" : "nothing";
}

// Stops at the first few differences of a table, so that one wrong column does not flood.
class Mismatches {
  public:
    explicit Mismatches(std::string where) : where_(std::move(where)) {}
    ~Mismatches() { EXPECT_EQ(count_, 0) << where_; }
    template <typename T>
    void expectEqual(const T& got, const T& want, std::size_t row, const std::string& column) {
        if (!(got == want) && ++count_ <= 5) {
            ADD_FAILURE() << where_ << " row " << row << " column " << column << ": got "
                          << shown(got) << ", want " << shown(want);
        }
    }

  private:
    std::string where_;
    int count_ = 0;
};

}  // namespace

void writeTables(const std::filesystem::path& file, const std::vector<TableContent>& tables) {
    jet::DatabaseWriter writer(file, kCreated);
    for (const TableContent& table : tables) {
        jet::TableWriter& out = writer.addTable(table.name, table.columns);
        for (const auto& row : table.rows) {
            out.addRow(row);
        }
    }
    writer.finish();
}

db::AccessReadLimits generousLimits() {
    db::AccessReadLimits limits;
    limits.timePerTable = std::chrono::minutes(5);
    limits.streamBytes = std::size_t{4} << 30;
    limits.readerMemoryBytes = std::size_t{4} << 30;
    return limits;
}

db::Value readBack(ColumnType type, const db::Value& written) {
    using Kind = db::Value::Kind;
    if (type == ColumnType::YesNo) {
        return db::Value::boolean(written.kind() == Kind::Boolean ? written.asBoolean()
                                                                  : written.asInteger() != 0);
    }
    if (written.isNull() || type == ColumnType::OleObject || type == ColumnType::Binary) {
        return db::Value();
    }
    switch (type) {
        case ColumnType::Double:
            return written.kind() == Kind::Real
                       ? written
                       : db::Value::real(static_cast<double>(written.asInteger()));
        case ColumnType::Currency:
            return written.kind() == Kind::Currency
                       ? written
                       : db::Value::currency({written.asInteger() * 10000});
        case ColumnType::Byte:
        case ColumnType::Integer:
        case ColumnType::LongInteger:
            return db::Value::integer(written.kind() == Kind::Boolean ? written.asBoolean()
                                                                      : written.asInteger());
        default:
            return written;
    }
}

std::optional<std::string> exported(ColumnType type, const db::Value& written) {
    const db::Value value = readBack(type, written);
    if (type == ColumnType::OleObject || type == ColumnType::Binary) {
        return written.isNull() ? std::nullopt : std::optional(hexOf(written.asText()));
    }
    switch (value.kind()) {
        case db::Value::Kind::Null:
            return std::nullopt;
        case db::Value::Kind::Boolean:
            return value.asBoolean() ? "1" : "0";
        case db::Value::Kind::Real: {
            char text[64];
            std::snprintf(text, sizeof text, "%.16g", value.asReal());
            return text;
        }
        case db::Value::Kind::Currency:
            return currencyText(value.asCurrency().scaled);
        case db::Value::Kind::DateTime: {
            const db::DateTime d = value.asDateTime();
            const bool shown = d.year >= 1900 && (d.year < 4637);
            return shown ? value.toText() : kNotShown;
        }
        case db::Value::Kind::Text:
            return value.asText().empty() ? std::nullopt : std::optional(value.asText());
        default:
            return value.toText();
    }
}

namespace {

void expectSameTable(const db::Backend& backend, const TableContent& table) {
    const db::TablePtr read = backend.loadTable(table.name);
    ASSERT_EQ(read->columns().size(), table.columns.size()) << table.name;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        EXPECT_EQ(read->columns()[c].name, table.columns[c].name) << table.name;
    }
    ASSERT_EQ(read->rowCount(), table.rows.size()) << table.name;
    Mismatches mismatches("planora's reader, table " + table.name);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            mismatches.expectEqual(read->value(r, c),
                                   readBack(table.columns[c].type, table.rows[r][c]), r,
                                   table.columns[c].name);
        }
    }
}

}  // namespace

void expectReadBackByPlanora(const std::filesystem::path& file,
                             const std::vector<TableContent>& tables) {
    const auto backend = db::openAccessBackend(file, generousLimits());
    std::vector<std::string> names;
    for (const TableContent& table : tables) {
        names.push_back(table.name);
    }
    ASSERT_EQ(backend->tableNames(), names);
    for (const TableContent& table : tables) {
        expectSameTable(*backend, table);
    }
}

void expectTableReadBackByPlanora(const std::filesystem::path& file, const TableContent& table) {
    expectSameTable(*db::openAccessBackend(file, generousLimits()), table);
}

void expectReadBackByMdbExport(const std::filesystem::path& file,
                               const std::vector<TableContent>& tables) {
    for (const TableContent& table : tables) {
        const test::ExportedTable out = test::exportTable(file, table.name, "hex");
        ASSERT_EQ(out.columns.size(), table.columns.size()) << table.name;
        ASSERT_EQ(out.rows.size(), table.rows.size()) << table.name;
        Mismatches mismatches("mdb-export, table " + table.name);
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            ASSERT_EQ(out.rows[r].size(), table.columns.size()) << table.name << " row " << r;
            for (std::size_t c = 0; c < table.columns.size(); ++c) {
                const auto want = exported(table.columns[c].type, table.rows[r][c]);
                if (want != kNotShown) {
                    mismatches.expectEqual(out.rows[r][c], want, r, table.columns[c].name);
                }
            }
        }
    }
}

}  // namespace planora::mdbtest
