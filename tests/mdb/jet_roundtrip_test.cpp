// Tables written by the Jet 4 writer read back, value for value, through this program's
// Access reader and through mdb-export: random tables of every type, with Nulls, empty and
// 255-character texts, accents and characters beyond Latin-1, memos of 64 kB, and tables from
// one row to one million rows over many pages.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>

#include "db/access_backend.h"
#include "tests/db/access_export_tool.h"
#include "tests/db/sqlite_fixture.h"
#include "tests/mdb/mdb_test_support.h"
#include "tools/mdb/jet_writer.h"

namespace planora::mdbtest {
namespace {

using jet::ColumnType;

// Characters of one byte, two bytes (accents, the euro), beyond Latin-1 (Greek, Cyrillic,
// Chinese), with a low byte of 0 (which cannot be compressed), and the characters that
// mdb-export escapes or quotes.
const std::vector<std::string> kCharacters = {
    "a", "Z", "7", " ", "'", "\"", ",", "\t", "\n", "\\", "à",  "è", "é", "ì",  "ò", "ù",
    "À", "ç", "ñ", "ß", "€", "Ω",  "λ", "Ж",  "я",  "中", "文", "Ā", "Ѐ", "一", "ő", "¿"};

class RandomContent {
  public:
    explicit RandomContent(unsigned seed) : random_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    std::string text(std::size_t characters) {
        // Mostly plain letters, so that many texts compress, with a few others among them.
        const bool plain = below(3) > 0;
        std::string out;
        for (std::size_t i = 0; i < characters; ++i) {
            out += plain && below(8) > 0 ? kCharacters[static_cast<std::size_t>(below(3))]
                                         : kCharacters[static_cast<std::size_t>(
                                               below(static_cast<int>(kCharacters.size())))];
        }
        return out;
    }

    std::string bytes(std::size_t length) {
        std::string out;
        for (std::size_t i = 0; i < length; ++i) {
            out += static_cast<char>(below(256));
        }
        return out;
    }

    db::Value value(const jet::Column& column) {
        if (column.type == ColumnType::YesNo) {
            return db::Value::boolean(below(2) == 1);
        }
        if (below(7) == 0) {
            return db::Value();
        }
        std::uniform_int_distribution<std::int64_t> any;
        switch (column.type) {
            case ColumnType::Byte:
                return db::Value::integer(below(256));
            case ColumnType::Integer:
                return db::Value::integer(below(65536) - 32768);
            case ColumnType::LongInteger:
                return db::Value::integer(static_cast<std::int32_t>(any(random_)));
            case ColumnType::Double:
                return db::Value::real(
                    std::ldexp(std::uniform_real_distribution<>(-1, 1)(random_), below(120) - 60));
            case ColumnType::Currency:
                return db::Value::currency({any(random_) % 10'000'000'000'000'000});
            case ColumnType::DateTime:
                return db::Value::dateTime({100 + below(9900), 1 + below(12), 1 + below(28),
                                            below(24), below(60), below(60)});
            case ColumnType::Text:
                return db::Value::text(
                    text(static_cast<std::size_t>(below(column.textLength + 1))));
            case ColumnType::Memo:
                return db::Value::text(
                    text(static_cast<std::size_t>(below(4) == 0 ? below(6000) : below(80))));
            case ColumnType::OleObject:
                return db::Value::text(
                    bytes(static_cast<std::size_t>(below(4) == 0 ? below(9000) : below(100))));
            default:
                return db::Value();
        }
    }

    // Every type at least once, some twice, in a shuffled order.
    std::vector<jet::Column> columns() {
        std::vector<ColumnType> types = {
            ColumnType::YesNo,  ColumnType::Byte,     ColumnType::Integer,  ColumnType::LongInteger,
            ColumnType::Double, ColumnType::Currency, ColumnType::DateTime, ColumnType::Text,
            ColumnType::Memo,   ColumnType::OleObject};
        for (int extra = below(6); extra > 0; --extra) {
            types.push_back(types[static_cast<std::size_t>(below(static_cast<int>(types.size())))]);
        }
        std::shuffle(types.begin(), types.end(), random_);
        std::vector<jet::Column> out;
        for (const ColumnType type : types) {
            jet::Column column{"Campo " + std::to_string(out.size()) + " à", type};
            column.textLength = type == ColumnType::Text ? 1 + below(255) : 255;
            out.push_back(column);
        }
        return out;
    }

    TableContent table(const std::string& name, std::size_t rows) {
        TableContent content{name, columns(), {}};
        for (std::size_t r = 0; r < rows; ++r) {
            std::vector<db::Value> row;
            for (const jet::Column& column : content.columns) {
                row.push_back(value(column));
            }
            content.rows.push_back(std::move(row));
        }
        return content;
    }

  private:
    std::mt19937_64 random_;
};

// A row of Nulls (Yes/No, which has no Null, as No), a row of empty texts and one of texts
// as long as the column takes, in characters beyond Latin-1.
void addEdgeRows(TableContent& table) {
    std::vector<db::Value> nulls, empty, full;
    for (const jet::Column& column : table.columns) {
        const bool yesNo = column.type == ColumnType::YesNo;
        const bool text = column.type == ColumnType::Text || column.type == ColumnType::Memo;
        nulls.push_back(yesNo ? db::Value::boolean(false) : db::Value());
        empty.push_back(text ? db::Value::text("") : nulls.back());
        std::string longest;
        for (int i = 0; i < (column.type == ColumnType::Text ? column.textLength : 255); ++i) {
            longest += i % 2 ? "Ж" : "é";
        }
        full.push_back(text ? db::Value::text(longest) : db::Value::boolean(true));
        if (!yesNo && !text) {
            full.back() = db::Value();
        }
    }
    table.rows.insert(table.rows.begin(), {nulls, empty, full});
}

class JetRoundTrip : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::haveMdbTools()) {
            GTEST_SKIP() << "mdb-export is not installed: nothing to compare with";
        }
    }
    void expectBothReadersAgree(const std::vector<TableContent>& tables) {
        const auto file = folder_.path() / "prova.mdb";
        writeTables(file, tables);
        expectReadBackByPlanora(file, tables);
        expectReadBackByMdbExport(file, tables);
    }
    testing::TempFolder folder_;
};

TEST_F(JetRoundTrip, RandomTablesOfEveryTypeReadBackValueForValue) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomContent random(seed);
        std::vector<TableContent> tables;
        for (int t = 0; t < 3; ++t) {
            tables.push_back(random.table("Tabella " + std::to_string(t),
                                          static_cast<std::size_t>(1 + random.below(400))));
            addEdgeRows(tables.back());
        }
        expectBothReadersAgree(tables);
    }
}

TEST_F(JetRoundTrip, OneRowTablesAndAnEmptyTable) {
    RandomContent random(11);
    std::vector<TableContent> tables = {random.table("Una", 1), random.table("Nessuna", 0),
                                        random.table("Altra", 1)};
    expectBothReadersAgree(tables);
}

TEST_F(JetRoundTrip, MemosOf64KilobytesInEveryScript) {
    TableContent memos{"Note", {{"N", ColumnType::LongInteger}, {"Testo", ColumnType::Memo}}, {}};
    for (const std::string character : {"a", "é", "€", "中", "Ā"}) {
        std::string text;
        while (text.size() < 64 * 1024 && (text.size() / character.size()) < 65535) {
            text += character;
        }
        memos.rows.push_back(
            {db::Value::integer(static_cast<int>(memos.rows.size())), db::Value::text(text)});
    }
    // The longest memo Access takes, in the widest characters libmdb hands over whole.
    std::string widest;
    for (int i = 0; i < 65535; ++i) {
        widest += "€";
    }
    memos.rows.push_back({db::Value::integer(99), db::Value::text(widest)});
    expectBothReadersAgree({memos});
}

// Two tables written row by row in turn, so that their pages alternate in the file: each
// reads back whole and in order.
TEST_F(JetRoundTrip, TablesWrittenInTurnKeepTheirOwnRowsAndOrder) {
    RandomContent random(5);
    TableContent first = random.table("Prima", 0);
    TableContent second = random.table("Seconda", 0);
    const auto file = folder_.path() / "alterne.mdb";
    jet::DatabaseWriter writer(file, kCreated);
    jet::TableWriter& a = writer.addTable(first.name, first.columns);
    jet::TableWriter& b = writer.addTable(second.name, second.columns);
    for (int r = 0; r < 1500; ++r) {
        for (auto [content, out] : {std::pair{&first, &a}, {&second, &b}}) {
            std::vector<db::Value> row;
            for (const jet::Column& column : content->columns) {
                row.push_back(random.value(column));
            }
            out->addRow(row);
            content->rows.push_back(std::move(row));
        }
    }
    writer.finish();
    expectReadBackByPlanora(file, {first, second});
    expectReadBackByMdbExport(file, {first, second});
}

// Definitions that do not fit one page: 255 columns with names of 64 characters.
TEST_F(JetRoundTrip, WideTablesSpanSeveralDefinitionPages) {
    TableContent wide{"Larga", {}, {}};
    const ColumnType types[] = {ColumnType::Text, ColumnType::LongInteger, ColumnType::YesNo,
                                ColumnType::Memo, ColumnType::Currency};
    for (int c = 0; c < 255; ++c) {
        std::string name = "Colonna " + std::to_string(c) + " ";
        name += std::string(64 - name.size(), 'x');
        wide.columns.push_back({name, types[c % 5], 3});
    }
    RandomContent random(7);
    for (int r = 0; r < 20; ++r) {
        std::vector<db::Value> row;
        for (const jet::Column& column : wide.columns) {
            row.push_back(random.value(column));
        }
        wide.rows.push_back(std::move(row));
    }
    expectBothReadersAgree({wide});
}

std::uint32_t littleEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    }
    return value;
}

// A table whose data pages lie far apart, among the long value pages of another table: each
// map page maps 32,736 pages (128 MiB), so its usage map lists two of them.
TEST_F(JetRoundTrip, DataPagesSpreadOverTwoMapPages) {
    RandomContent random(3);
    TableContent sparse{"Sparsa", {{"N", ColumnType::LongInteger}, {"Nome", ColumnType::Text}}, {}};
    const auto file = folder_.path() / "sparsa.mdb";
    {
        jet::DatabaseWriter writer(file, kCreated);
        jet::TableWriter& rows = writer.addTable(sparse.name, sparse.columns);
        jet::TableWriter& attachments = writer.addTable(
            "Allegati", {{"N", ColumnType::LongInteger}, {"Dati", ColumnType::OleObject}});
        const std::string attachment(14 << 20, 'x');
        for (int block = 0; block < 2; ++block) {
            for (int r = 0; r < 400; ++r) {
                sparse.rows.push_back({db::Value::integer(r), db::Value::text(random.text(90))});
                rows.addRow(sparse.rows.back());
            }
            for (int a = 0; block == 0 && a < 10; ++a) {
                attachments.addRow(
                    std::vector<db::Value>{db::Value::integer(a), db::Value::text(attachment)});
            }
        }
        writer.finish();
    }
    // The table's definition is the first after the catalog's (page 3); its data pages' map
    // is the row that its bytes 55 to 58 point to.
    std::ifstream in(file, std::ios::binary);
    std::string head(4 * 4096, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    const std::uint32_t pointer = littleEndian(head, 3 * 4096 + 55);
    std::string mapPage(4096, '\0');
    in.seekg(static_cast<std::streamoff>(pointer >> 8) * 4096);
    in.read(mapPage.data(), 4096);
    const std::size_t map = littleEndian(mapPage, 14 + 2 * (pointer & 0xFF)) & 0xFFFF;
    ASSERT_EQ(mapPage[map], 0x01) << "a map that lists map pages";
    EXPECT_NE(littleEndian(mapPage, map + 1), 0u);
    EXPECT_NE(littleEndian(mapPage, map + 5), 0u);

    expectTableReadBackByPlanora(file, sparse);
    expectReadBackByMdbExport(file, {sparse});
}

// A million rows take about twelve thousand pages: the data pages' usage map then lists map
// pages instead of holding the bitmap inline.
TEST_F(JetRoundTrip, AMillionRowsOverManyPages) {
    TableContent big{"Storico",
                     {{"Numero", ColumnType::LongInteger},
                      {"Camera", ColumnType::Text, 6},
                      {"Partito", ColumnType::YesNo}},
                     {}};
    big.rows.reserve(1'000'000);
    for (int r = 0; r < 1'000'000; ++r) {
        big.rows.push_back({db::Value::integer(r),
                            r % 13 == 0 ? db::Value() : db::Value::text(std::to_string(r % 997)),
                            db::Value::boolean(r % 3 == 0)});
    }
    expectBothReadersAgree({big});
}

}  // namespace
}  // namespace planora::mdbtest
