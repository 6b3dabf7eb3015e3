#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

#include "access_export_tool.h"
#include "access_process_check.h"
#include "db/access_backend.h"
#include "db/error.h"
#include "sqlite_fixture.h"

namespace planora::db {
namespace {

using test::fixture;

// As printf's %.<digits>g, but never with the process locale's decimal comma.
std::string formatted(double v, int digits) {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::general, digits);
    return std::string(text, end.ptr);
}

// "3.5000" or "-12.25" as ten-thousandths, exactly.
std::int64_t scaledCurrency(const std::string& text) {
    const bool negative = !text.empty() && text[0] == '-';
    std::int64_t whole = 0, fraction = 0;
    int digits = 0;
    bool inFraction = false;
    for (char c : text.substr(negative ? 1 : 0)) {
        if (c == '.') {
            inFraction = true;
        } else if (inFraction) {
            fraction = fraction * 10 + (c - '0');
            ++digits;
        } else {
            whole = whole * 10 + (c - '0');
        }
    }
    for (; digits < 4; ++digits) {
        fraction *= 10;
    }
    const std::int64_t scaled = whole * 10000 + fraction;
    return negative ? -scaled : scaled;
}

std::string dateText(const DateTime& d) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day,
                  d.hour, d.minute, d.second);
    return text;
}

// Why our value differs from what mdb-export printed, or empty when they agree.
std::string difference(const Value& ours, ColumnType type,
                       const std::optional<std::string>& theirs) {
    if (type == ColumnType::Binary) {
        return ours.isNull() ? "" : "binary data should read as Null";
    }
    if (!theirs) {
        return ours.isNull() ? "" : "should be Null, is " + ours.toText();
    }
    const std::string& t = *theirs;
    switch (ours.kind()) {
        case Value::Kind::Null:
            return "is Null, should be " + t;
        case Value::Kind::Integer:
            return std::to_string(ours.asInteger()) == t ? "" : "integer differs";
        case Value::Kind::Real: {
            const double v = ours.asReal();
            const bool same = formatted(v, 16) == t || formatted(static_cast<float>(v), 8) == t;
            return same ? "" : "real " + formatted(v, 17) + " differs";
        }
        case Value::Kind::Currency:
            return ours.asCurrency().scaled == scaledCurrency(t) ? "" : "currency differs";
        case Value::Kind::DateTime: {
            // libmdb cannot show dates before 1900 or after about 2700; it prints day 0.
            if (t.size() >= 10 && t.substr(8, 2) == "00") {
                return "";
            }
            return dateText(ours.asDateTime()) == t ? "" : dateText(ours.asDateTime()) + " differs";
        }
        case Value::Kind::Boolean:
            return (ours.asBoolean() ? "1" : "0") == t ? "" : "yes/no differs";
        case Value::Kind::Text:
            return ours.asText() == t ? "" : "text \"" + ours.asText() + "\" differs";
    }
    return "unknown kind";
}

void expectSameAsExport(const std::string& file, const std::string& tableName) {
    SCOPED_TRACE(file + " / " + tableName);
    const auto backend = openAccessBackend(fixture(file));
    const auto table = backend->loadTable(tableName);
    const auto exported = test::exportTable(fixture(file), tableName);

    ASSERT_EQ(table->columns().size(), exported.columns.size());
    for (std::size_t c = 0; c < exported.columns.size(); ++c) {
        EXPECT_EQ(table->columns()[c].name, exported.columns[c]);
    }
    ASSERT_EQ(table->rowCount(), exported.rows.size());
    int mismatches = 0;
    for (std::size_t r = 0; r < exported.rows.size(); ++r) {
        ASSERT_EQ(exported.rows[r].size(), table->columns().size()) << "row " << r;
        for (std::size_t c = 0; c < table->columns().size(); ++c) {
            const auto why =
                difference(table->value(r, c), table->columns()[c].type, exported.rows[r][c]);
            if (!why.empty() && ++mismatches <= 10) {
                ADD_FAILURE() << "row " << r << " column " << table->columns()[c].name << ": "
                              << why << " (mdb-export: " << exported.rows[r][c].value_or("<Null>")
                              << ")";
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

using AccessBackend = test::AccessSamples;

class AccessBackendExport : public test::AccessSamples {
  protected:
    void SetUp() override {
        AccessSamples::SetUp();
        if (IsSkipped()) {
            return;
        }
        if (!test::haveMdbTools()) {
            GTEST_SKIP() << "mdb-export is not installed: nothing to compare with";
        }
    }
};

TEST_F(AccessBackendExport, TableListsAreTheUserTables) {
    for (const char* file : {"mdbtestdata/nwind.mdb", "jackcess/testV1997.mdb",
                             "jackcess/testUnicodeCompV2003.mdb", "jackcess/adox_jet4.mdb"}) {
        SCOPED_TRACE(file);
        const auto names = openAccessBackend(fixture(file))->tableNames();
        auto listed = test::listTables(fixture(file));
        EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
                  std::set<std::string>(listed.begin(), listed.end()));
        for (const auto& name : names) {
            EXPECT_NE(name.rfind("MSys", 0), 0u) << name;
        }
    }
}

TEST_F(AccessBackendExport, Jet3ValuesAreThoseMdbExportPrints) {
    for (const char* table : {"Orders", "Customers", "Order Details", "Employees", "Categories",
                              "Products", "Suppliers", "Umsätze"}) {
        expectSameAsExport("mdbtestdata/nwind.mdb", table);
    }
    for (const char* table : {"Table1", "Table2", "Table3", "Table4"}) {
        expectSameAsExport("jackcess/testV1997.mdb", table);
    }
}

TEST_F(AccessBackendExport, Jet4ValuesAreThoseMdbExportPrints) {
    const std::pair<const char*, const char*> tables[] = {
        {"jackcess/testV2000.mdb", "Table1"},
        {"jackcess/delColTestV2000.mdb", "Table1"},
        {"jackcess/overflowTestV2000.mdb", "Table1"},
        {"mdbtestdata/DateTestDatabase.mdb", "DateTest"},
    };
    for (const auto& [file, table] : tables) {
        expectSameAsExport(file, table);
    }
    const auto unicode = fixture("jackcess/testUnicodeCompV2003.mdb");
    for (const auto& table : openAccessBackend(unicode)->tableNames()) {
        expectSameAsExport("jackcess/testUnicodeCompV2003.mdb", table);
    }
}

// The process locale set to Italian (as Qt does from the environment) for one test, the
// locale built into a temporary folder when the system does not have it.
class ItalianLocale {
  public:
    ItalianLocale() : previous_(std::setlocale(LC_ALL, nullptr)) {
        if (std::setlocale(LC_ALL, "it_IT.UTF-8")) {
            return;
        }
        const std::string build = "localedef -i it_IT -f UTF-8 '" +
                                  (folder_.path() / "it_IT.UTF-8").string() + "' >/dev/null 2>&1";
        [[maybe_unused]] const int status = std::system(build.c_str());
        ::setenv("LOCPATH", folder_.path().c_str(), 1);
        std::setlocale(LC_ALL, "it_IT.UTF-8");
        ::unsetenv("LOCPATH");  // loaded; other programs must find their own locales
    }
    ~ItalianLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    bool active() const {
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 2.5);
        return std::string(text) == "2,5";
    }

  private:
    std::string previous_;
    testing::TempFolder folder_;
};

TEST_F(AccessBackendExport, NumbersReadTheSameUnderAnItalianLocale) {
    const ItalianLocale italian;
    if (!italian.active()) {
        GTEST_SKIP() << "no Italian locale, and none could be built";
    }
    expectSameAsExport("jackcess/testV1997.mdb", "Table1");
    expectSameAsExport("jackcess/testV2000.mdb", "Table1");
    expectSameAsExport("mdbtestdata/nwind.mdb", "Order Details");
    expectSameAsExport("mdbtestdata/nwind.mdb", "Products");
}

TEST_F(AccessBackend, ColumnTypesFollowTheAccessTypes) {
    const auto table = openAccessBackend(fixture("jackcess/testV1997.mdb"))->loadTable("Table1");
    std::vector<ColumnType> types;
    for (const auto& column : table->columns()) {
        types.push_back(column.type);
    }
    // Text, Text, Byte, Integer, Long, Double, Date/Time, Currency, Yes/No.
    const std::vector<ColumnType> expected = {
        ColumnType::Text,     ColumnType::Text,     ColumnType::Integer,
        ColumnType::Integer,  ColumnType::Integer,  ColumnType::Real,
        ColumnType::DateTime, ColumnType::Currency, ColumnType::Boolean};
    EXPECT_EQ(types, expected);

    const auto categories =
        openAccessBackend(fixture("mdbtestdata/nwind.mdb"))->loadTable("Categories");
    const auto picture = categories->columnIndex("Picture");
    const auto description = categories->columnIndex("Description");
    ASSERT_TRUE(picture && description);
    EXPECT_EQ(categories->columns()[*picture].type, ColumnType::Binary);
    EXPECT_EQ(categories->columns()[*description].type, ColumnType::Text);  // a memo
    EXPECT_FALSE(categories->value(0, *description).asText().empty());
}

TEST_F(AccessBackend, DatesKeepTheirFourDigitYears) {
    const auto table =
        openAccessBackend(fixture("mdbtestdata/DateTestDatabase.mdb"))->loadTable("DateTest");
    const auto label = table->columnIndex("LongTextCol");
    const auto date = table->columnIndex("DateTimeCol");
    ASSERT_TRUE(label && date);
    std::map<std::string, int> yearOf;
    for (std::size_t r = 0; r < table->rowCount(); ++r) {
        const auto v = table->value(r, *date);
        ASSERT_EQ(v.kind(), Value::Kind::DateTime) << "row " << r;
        yearOf[table->value(r, *label).asText()] = v.asDateTime().year;
    }
    EXPECT_EQ(yearOf["Year 9999"], 9999);
    EXPECT_EQ(yearOf["Pre-1900 years"], 1898);
    EXPECT_EQ(yearOf["Pre-1000 years"], 632);
    EXPECT_EQ(yearOf["Hello"], 2021);
}

TEST_F(AccessBackend, TablesAreFoundWithoutRegardToCase) {
    const auto backend = openAccessBackend(fixture("mdbtestdata/nwind.mdb"));
    const auto orders = backend->loadTable("ORDERS");
    EXPECT_EQ(orders->name(), "Orders");
    EXPECT_EQ(orders->rowCount(), 830u);
    EXPECT_EQ(backend->loadTable("orders"), orders);  // loaded once
    EXPECT_EQ(backend->loadTable("UMSÄTZE")->name(), "Umsätze");
}

TEST_F(AccessBackend, LargeFilesAreReadTableByTable) {
    AccessReadLimits limits;
    limits.readAllTablesUpToFileBytes = 0;
    const auto backend = openAccessBackend(fixture("mdbtestdata/nwind.mdb"), limits);
    EXPECT_EQ(backend->tableNames().size(), 9u);
    EXPECT_EQ(backend->loadTable("Order Details")->rowCount(), 2155u);
    EXPECT_EQ(backend->loadTable("Orders")->rowCount(), 830u);
}

TEST_F(AccessBackend, AnEmptyDatabaseHasNoTables) {
    EXPECT_TRUE(openAccessBackend(fixture("jackcess/adox_jet4.mdb"))->tableNames().empty());
}

TEST_F(AccessBackend, FailuresNameTheFileAndTable) {
    const auto file = fixture("jackcess/testV1997.mdb");
    auto shown = [](const std::filesystem::path& path) {
        return "'" + std::filesystem::absolute(path).lexically_normal().string() + "'";
    };
    EXPECT_EQ(testing::errorMessage([&] { openAccessBackend(file)->loadTable("Prenotazioni"); }),
              "La tabella \"Prenotazioni\" non esiste nel file di database " + shown(file));

    const auto none = fixture("jackcess/none.mdb");
    EXPECT_EQ(testing::errorMessage([&] { openAccessBackend(none); }),
              "Impossibile aprire il file " + shown(none) +
                  " come database Access: il file o la cartella non esiste");

    const auto text = std::filesystem::path(PLANORA_SOURCE_DIR) / "CMakeLists.txt";
    EXPECT_EQ(testing::errorMessage([&] { openAccessBackend(text); }),
              "Impossibile aprire il file " + shown(text) +
                  " come database Access: non è un database Access leggibile");
}

// One changed byte of a table definition makes libmdb dereference a null pointer: the reader
// program dies of it, this program names the file as damaged and goes on.
TEST_F(AccessBackend, ACrashOfTheReaderIsCaughtAndNamed) {
    std::ifstream in(fixture("jackcess/testV1997.mdb"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(bytes.size(), 4131u);
    bytes[4131] = 50;
    testing::TempFolder folder;
    const auto file = folder.path() / "NumeriCamere.mdb";
    testing::writeBytes(file, bytes);
    EXPECT_EQ(testing::errorMessage([&] { openAccessBackend(file); }),
              "Impossibile aprire il file '" + file.string() +
                  "' come database Access: il file sembra danneggiato (il programma di lettura si "
                  "è interrotto)");
    EXPECT_TRUE(test::noChildLeft());
}

}  // namespace
}  // namespace planora::db
