// planora-mdbwrite: SQLite data folders copied as Access files, the other files copied, the
// declared types mapped to Access types and widened when a value needs it.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "board/clock.h"
#include "db/access_backend.h"
#include "db/backend.h"
#include "tests/db/access_export_tool.h"
#include "tests/db/sqlite_fixture.h"
#include "tests/mdb/mdb_test_support.h"
#include "tools/demo/demo_hotel.h"
#include "tools/mdb/mdbwrite_command.h"

namespace planora::mdbtest {
namespace {

namespace fs = std::filesystem;
using testing::num;
using testing::txt;

const board::FixedClock kClock({2026, 12, 8, 9, 30, 0});

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The Access type of each field, as mdb-schema names it.
std::map<std::string, std::string> accessTypes(const fs::path& file) {
    const std::string command = "mdb-schema '" + file.string() + "' 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::map<std::string, std::string> types;
    char line[512];
    while (pipe && std::fgets(line, sizeof line, pipe)) {
        std::string text = line;
        const auto open = text.find("\t[");
        const auto close = text.find("]\t");
        if (open == std::string::npos || close == std::string::npos) {
            continue;
        }
        std::string type = text.substr(text.find_first_not_of('\t', close + 1));
        type = type.substr(0, type.find_first_of(",\n"));
        while (!type.empty() && type.back() == ' ') {
            type.pop_back();
        }
        types[text.substr(open + 2, close - open - 2)] = type;
    }
    if (pipe) {
        ::pclose(pipe);
    }
    return types;
}

class Mdbwrite : public ::testing::Test {
  protected:
    fs::path source() const { return folder_.path() / "sqlite"; }
    fs::path target() const { return folder_.path() / "mdb"; }

    void SetUp() override { fs::create_directories(source()); }

    int run(const std::vector<std::string>& args) {
        out_.str("");
        err_.str("");
        return jet::mdbwriteCommand(args, out_, err_, kClock);
    }
    int convert() { return run({source().string(), target().string()}); }

    // Every table of the SQLite file and of its copy read through this program's readers:
    // the same values, but for binary data, which the Access reader reads as Null.
    void expectSameValues(const std::string& stem) {
        const auto sqlite = db::openSqliteBackend(source() / (stem + ".sqlite"));
        const auto access = db::openAccessBackend(target() / (stem + ".mdb"), generousLimits());
        std::vector<std::string> names;
        for (const std::string& name : sqlite->tableNames()) {
            if (!name.starts_with("sqlite_")) {
                names.push_back(name);
            }
        }
        ASSERT_EQ(access->tableNames(), names);
        for (const std::string& name : access->tableNames()) {
            const auto want = sqlite->loadTable(name);
            const auto got = access->loadTable(name);
            ASSERT_EQ(got->rowCount(), want->rowCount()) << name;
            for (std::size_t r = 0; r < want->rowCount(); ++r) {
                for (std::size_t c = 0; c < want->columns().size(); ++c) {
                    const bool binary = want->columns()[c].type == db::ColumnType::Binary;
                    EXPECT_EQ(got->value(r, c), binary ? db::Value() : want->value(r, c))
                        << name << " row " << r << " column " << want->columns()[c].name;
                }
            }
        }
    }

    testing::TempFolder folder_;
    std::ostringstream out_, err_;
};

TEST_F(Mdbwrite, DeclaredTypesBecomeAccessTypes) {
    testing::writeTable(
        source() / "Tipi.sqlite", "Tipi",
        {{"I", "INTEGER"},
         {"R", "REAL"},
         {"D", "DOUBLE"},
         {"F", "FLOAT"},
         {"C", "CURRENCY"},
         {"M", "MONEY"},
         {"N", "NUMERIC"},
         {"DE", "DECIMAL(10,2)"},
         {"T", "TEXT"},
         {"B", "BOOLEAN"},
         {"DA", "DATE"},
         {"DT", "DATETIME"},
         {"BL", "BLOB"}},
        {{num(-7), db::Value::real(0.1), db::Value::real(-2.5e300), db::Value::real(3.25),
          db::Value::currency({125000}), num(3), db::Value::real(19.99), db::Value::currency({-5}),
          txt("Città €"), db::Value::boolean(true), db::Value::dateTime({2026, 12, 8}),
          db::Value::dateTime({1999, 1, 31, 23, 59, 58}), txt(std::string("\x00\x01\xFF", 3))},
         {db::Value(), db::Value(), db::Value(), db::Value(), db::Value(), db::Value(), db::Value(),
          db::Value(), db::Value(), db::Value::boolean(false), db::Value(), db::Value(),
          db::Value()}});
    ASSERT_EQ(convert(), 0) << err_.str();
    EXPECT_EQ(out_.str(), "Scritto '" + (target() / "Tipi.mdb").string() + "' da '" +
                              (source() / "Tipi.sqlite").string() + "': 1 tabella, 2 righe\n");
    expectSameValues("Tipi");
    if (!test::haveMdbTools()) {
        GTEST_SKIP() << "mdb-schema is not installed: the Access types are not shown";
    }
    const std::map<std::string, std::string> want = {
        {"I", "Long Integer"}, {"R", "Double"},           {"D", "Double"},    {"F", "Double"},
        {"C", "Currency"},     {"M", "Currency"},         {"N", "Currency"},  {"DE", "Currency"},
        {"T", "Text (255)"},   {"B", "Boolean NOT NULL"}, {"DA", "DateTime"}, {"DT", "DateTime"},
        {"BL", "OLE (255)"}};
    EXPECT_EQ(accessTypes(target() / "Tipi.mdb"), want);
    const auto blob = test::exportTable(target() / "Tipi.mdb", "Tipi", "hex");
    ASSERT_EQ(blob.rows.size(), 2u);
    EXPECT_EQ(blob.rows[0].back(), "0001FF");
    EXPECT_EQ(blob.rows[1].back(), std::nullopt);
}

TEST_F(Mdbwrite, ValuesThatDoNotFitWidenTheirColumnAndSaySo) {
    std::string longText;
    for (int i = 0; i < 300; ++i) {
        longText += "è";
    }
    testing::writeTable(
        source() / "Larghi.sqlite", "Larghi",
        {{"Grande", "INTEGER"}, {"Frazione", "INTEGER"}, {"Nota", "TEXT"}, {"Forse", "BOOLEAN"}},
        {{num(1), num(2), txt("breve"), db::Value::boolean(true)},
         {num(3000000000), db::Value::real(2.5), txt(longText), db::Value()}});
    ASSERT_EQ(convert(), 0) << err_.str();
    EXPECT_NE(out_.str().find("\"Grande\" di \"Larghi\" è a precisione doppia"), std::string::npos)
        << out_.str();
    EXPECT_NE(out_.str().find("\"Frazione\" di \"Larghi\" è a precisione doppia"),
              std::string::npos);
    EXPECT_NE(out_.str().find("\"Nota\" di \"Larghi\" è Memo"), std::string::npos);
    EXPECT_NE(out_.str().find("\"Forse\" di \"Larghi\" è Intero (1, 0 o Null)"), std::string::npos);
    const auto table =
        db::openAccessBackend(target() / "Larghi.mdb", generousLimits())->loadTable("Larghi");
    EXPECT_EQ(table->value(0, 0), db::Value::real(1));
    EXPECT_EQ(table->value(1, 0), db::Value::real(3000000000.0));
    EXPECT_EQ(table->value(1, 1), db::Value::real(2.5));
    EXPECT_EQ(table->value(1, 2), txt(longText));
    EXPECT_EQ(table->value(0, 3), num(1));
    EXPECT_EQ(table->value(1, 3), db::Value());
}

// Twelve texts of 255 Cyrillic letters need 6 kB: the widest move to Memo fields until the
// row fits a page.
TEST_F(Mdbwrite, RowsTooWideForAPageMoveTextsToMemo) {
    std::vector<demo::ColumnDecl> columns;
    std::vector<db::Value> row;
    for (int c = 0; c < 12; ++c) {
        columns.push_back({"Testo" + std::to_string(c), "TEXT"});
        std::string text;
        for (int i = 0; i < 255 - c; ++i) {
            text += "Ж";
        }
        row.push_back(txt(text));
    }
    testing::writeTable(source() / "Righe.sqlite", "Righe", columns, {row});
    ASSERT_EQ(convert(), 0) << err_.str();
    EXPECT_NE(out_.str().find("\"Testo0\" di \"Righe\" è Memo"), std::string::npos) << out_.str();
    EXPECT_EQ(out_.str().find("\"Testo11\" di \"Righe\" è Memo"), std::string::npos) << out_.str();
    expectSameValues("Righe");
}

TEST_F(Mdbwrite, IntegersBeyondADoubleAreRefusedNotRounded) {
    testing::writeTable(source() / "Enormi.sqlite", "Enormi", {{"N", "INTEGER"}},
                        {{num(1)}, {num((1LL << 60) + 1)}});
    EXPECT_EQ(convert(), 1);
    EXPECT_EQ(err_.str(),
              "planora-mdbwrite: Il valore 1152921504606846977 del campo \"N\" (riga "
              "2) della tabella \"Enormi\" del file '" +
                  (target() / "Enormi.mdb").string() +
                  "' non può essere scritto come Precisione doppia: un numero intero "
                  "oltre 9.007.199.254.740.992 perderebbe le ultime cifre in "
                  "precisione doppia\n");
    EXPECT_FALSE(fs::exists(target() / "Enormi.mdb"));
}

TEST_F(Mdbwrite, TablesAndRowsKeepTheirOrderWithoutSqlitesOwnTables) {
    testing::writeTable(source() / "Ordine.sqlite", "Zeta",
                        {{"Id", "INTEGER PRIMARY KEY AUTOINCREMENT"}, {"Nome", "TEXT"}},
                        {{num(5), txt("cinque")}, {num(2), txt("due")}, {num(9), txt("nove")}});
    testing::writeTable(source() / "Ordine.sqlite", "Alfa", {{"Nome", "TEXT"}},
                        {{txt("b")}, {txt("a")}});
    ASSERT_EQ(convert(), 0) << err_.str();
    const auto access = db::openAccessBackend(target() / "Ordine.mdb");
    EXPECT_EQ(access->tableNames(), (std::vector<std::string>{"Zeta", "Alfa"}));
    expectSameValues("Ordine");
}

TEST_F(Mdbwrite, OtherFilesAreCopiedAndFoldersLeft) {
    testing::writeTable(source() / "Tableau.sqlite", "Tableau", {{"Codice", "INTEGER"}},
                        {{num(1)}});
    testing::writeBytes(source() / "FontStp.txt", "Courier New\r\n");
    testing::writeBytes(source() / "SeparatoreXLS.txt", ";\r\n,\r\n\x80\r\n");
    testing::writeBytes(source() / "tableau.MDB", "an old copy");
    fs::create_directories(source() / "doc");
    ASSERT_EQ(convert(), 0) << err_.str();
    EXPECT_EQ(bytesOf(target() / "FontStp.txt"), "Courier New\r\n");
    EXPECT_EQ(bytesOf(target() / "SeparatoreXLS.txt"), ";\r\n,\r\n\x80\r\n");
    EXPECT_FALSE(fs::exists(target() / "doc"));
    const std::string s = source().string() + "/", t = target().string() + "/";
    EXPECT_EQ(out_.str(), "Scritto '" + t + "Tableau.mdb' da '" + s +
                              "Tableau.sqlite': 1 tabella, 1 riga\n"
                              "Copiato '" +
                              s +
                              "FontStp.txt'\n"
                              "Copiato '" +
                              s +
                              "SeparatoreXLS.txt'\n"
                              "Non copiata la sottocartella '" +
                              s +
                              "doc'\n"
                              "Non copiato '" +
                              s + "tableau.MDB': al suo posto c'è il file scritto da '" + s +
                              "Tableau.sqlite'\n");
    // Again into the same folder, where the copy is now spelt otherwise: replaced, not doubled.
    fs::rename(target() / "Tableau.mdb", target() / "TABLEAU.mdb");
    ASSERT_EQ(convert(), 0) << err_.str();
    EXPECT_TRUE(fs::exists(target() / "TABLEAU.mdb"));
    EXPECT_FALSE(fs::exists(target() / "Tableau.mdb"));
}

TEST_F(Mdbwrite, CommandLineMistakes) {
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(out_.str().find("Uso: planora-mdbwrite CARTELLA_ORIGINE CARTELLA_DESTINAZIONE"),
              std::string::npos);
    EXPECT_EQ(run({source().string()}), 2);
    EXPECT_EQ(err_.str().substr(0, err_.str().find('\n')),
              "planora-mdbwrite: servono due cartelle, quella di origine e quella di "
              "destinazione; ne è stata data una");
    EXPECT_EQ(run({(folder_.path() / "nessuna").string(), target().string()}), 1);
    EXPECT_EQ(err_.str(), "planora-mdbwrite: La cartella di origine '" +
                              (folder_.path() / "nessuna").string() +
                              "' non esiste o non è una cartella\n");
    EXPECT_EQ(run({source().string(), (source() / ".").string()}), 1);
    EXPECT_EQ(err_.str(), "planora-mdbwrite: La cartella di destinazione è quella di origine ('" +
                              source().string() +
                              "'): i file .mdb vanno scritti in un'altra cartella\n");
    testing::writeBytes(source() / "Rotto.sqlite", "not a database");
    EXPECT_EQ(convert(), 1);
    EXPECT_NE(err_.str().find("Rotto.sqlite"), std::string::npos) << err_.str();
}

// The program itself, on the demo hotel: every database file and every settings file.
TEST_F(Mdbwrite, TheProgramBesidePlanoraCopiesTheDemoHotel) {
    demo::writeDemoHotel(source(), {.rooms = 40, .cards = 60, .history = 200}, kClock);
    const fs::path program = fs::path(PLANORA_BUILD_DIR) / "app" / "planora-mdbwrite";
    const std::string command = "'" + program.string() + "' '" + source().string() + "' '" +
                                target().string() + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::size_t mdb = 0, other = 0;
    for (const auto& entry : fs::directory_iterator(target())) {
        ++(entry.path().extension() == ".mdb" ? mdb : other);
    }
    EXPECT_EQ(mdb, 16u);
    EXPECT_EQ(other, 2u);
    expectSameValues("SchedaStoricoClienti");
    expectSameValues("Stampanti");
}

}  // namespace
}  // namespace planora::mdbtest
