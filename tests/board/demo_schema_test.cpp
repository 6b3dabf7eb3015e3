#include <gtest/gtest.h>

#include <set>

#include "db/database.h"
#include "db/error.h"
#include "db/quote.h"
#include "demo_temp_folder.h"
#include "tools/demo/hotel_schema.h"
#include "tools/demo/sqlite_writer.h"

namespace planora::demo {
namespace {

using DataFolderTest = planora::test_support::TempFolderTest;

TEST_F(DataFolderTest, CreatesEveryDatabaseWithItsTables) {
    HotelData(folder_).finish();
    EXPECT_EQ(existingDatabaseFiles(folder_).size(), hotelSchema().size());
    for (const DatabaseSchema& database : hotelSchema()) {
        const std::string bare = database.file.substr(0, database.file.find('.')) + ".mdb";
        const db::Database opened = db::Database::open(folder_, bare);
        for (const TableSchema& table : database.tables) {
            const db::RecordSet records = opened.openRecordset(table.name);
            EXPECT_EQ(records.recordCount(), 0u) << table.name;
            ASSERT_EQ(records.columns().size(), table.columns.size()) << table.name;
            for (std::size_t i = 0; i < table.columns.size(); ++i) {
                EXPECT_EQ(records.columns()[i].name, table.columns[i].name);
            }
        }
    }
}

TEST_F(DataFolderTest, SchemaHoldsTheFilesTheProgramOpens) {
    std::set<std::string> files;
    for (const DatabaseSchema& database : hotelSchema()) {
        files.insert(database.file);
    }
    for (const char* file :
         {"Tableau.sqlite", "AnagraficaHotels.sqlite", "NumeriCamere.sqlite", "TipiCamere.sqlite",
          "Scheda_Cliente.sqlite", "SchedaStoricoClienti.sqlite", "Ditta_Intestataria.sqlite",
          "DittaStoricoClienti.sqlite", "Arrangiamento.sqlite",
          "ArrangiamentoStoricoClienti.sqlite", "Camere_Prenotazione.sqlite",
          "Scheda_Prenotazione.sqlite", "Arrangiamenti.sqlite", "AgenzieAbituali.sqlite",
          "Stampanti.sqlite", "Contatori.sqlite"}) {
        EXPECT_TRUE(files.contains(file)) << file;
    }
}

TEST_F(DataFolderTest, RowsByFieldNameWithMissingFieldsNull) {
    {
        HotelData data(folder_);
        data.insert("Scheda_Cliente.sqlite", "Scheda_Cliente",
                    {{"NumeroHotel", 1},
                     {"NumeroCamera", "101"},
                     {"NumeroProgressivo", 7},
                     {"NomeCliente", "Cantù Niccolò"}});
        data.insert("Arrangiamento.mdb", "arrangiamento",
                    {{"numerohotel", 1}, {"ImportoTotale", db::Currency{12'345'000}}});
        data.finish();
    }
    db::RecordSet cards =
        db::Database::open(folder_, "Scheda_Cliente.mdb").openRecordset("Scheda_Cliente");
    cards.findFirst("NumeroProgressivo = 7");
    ASSERT_FALSE(cards.noMatch());
    EXPECT_EQ(cards.field("NomeCliente").asText(), "Cantù Niccolò");
    EXPECT_EQ(cards.field("NumeroCamera").asText(), "101");
    EXPECT_EQ(cards.field("NumeroHotel").toNumber(), 1);
    EXPECT_TRUE(cards.field("DataArrivo").isNull());
    EXPECT_TRUE(cards.field("CodiceCapoGruppo").isNull());

    // Amounts are declared CURRENCY and come back exact.
    db::RecordSet amounts =
        db::Database::open(folder_, "Arrangiamento.mdb").openRecordset("Arrangiamento");
    amounts.findFirst("NumeroHotel = 1");
    ASSERT_FALSE(amounts.noMatch());
    EXPECT_EQ(amounts.field("ImportoTotale"), db::Value::currency({12'345'000}));
}

TEST_F(DataFolderTest, UnknownNamesAreErrors) {
    HotelData data(folder_);
    EXPECT_THROW(data.insert("Tableau", "Tableau", {{"Colore", "rosso"}}), Error);
    EXPECT_THROW(data.insert("Tableau", "Camere", {{"Codice", 1}}), Error);
    EXPECT_THROW(data.insert("Clienti.sqlite", "Clienti", {{"Codice", 1}}), Error);
    try {
        data.insert("Tableau", "Tableau", {{"Colore", "rosso"}});
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("Colore"), std::string::npos);
    }
}

TEST_F(DataFolderTest, RefusesAFolderThatHoldsDatabases) {
    HotelData(folder_).finish();
    EXPECT_THROW(HotelData{folder_}, Error);
}

TEST_F(DataFolderTest, NothingIsInsertedAfterFinish) {
    HotelData data(folder_);
    data.finish();
    EXPECT_THROW(data.insert("Tableau", "Tableau", {{"Codice", 1}}), Error);
}

TEST_F(DataFolderTest, WriterTransactions) {
    std::filesystem::create_directories(folder_);
    const auto file = folder_ / "T.sqlite";
    {
        SqliteWriter writer(file);
        writer.createTable("T", {{"A", "INTEGER"}, {"B", "TEXT"}, {"C", "REAL"}});
        writer.insertRows("T", {"A", "B", "C"},
                          {{db::Value::integer(1), db::Value::text("uno"), db::Value::real(0.5)},
                           {db::Value::integer(2), db::Value(), db::Value::real(-1)}});
        // A transaction left open is rolled back.
        writer.begin();
        writer.insertRows("T", {"A"}, {{db::Value::integer(3)}});
        EXPECT_THROW(writer.insertRows("T", {"A", "B"}, {{db::Value::integer(4)}}), Error);
    }
    db::RecordSet rows = db::Database::open(folder_, "T.sqlite").openRecordset("T");
    EXPECT_EQ(rows.recordCount(), 2u);
    rows.findFirst("A = 2");
    ASSERT_FALSE(rows.noMatch());
    EXPECT_TRUE(rows.field("B").isNull());
    EXPECT_EQ(rows.field("C").toNumber(), -1);
}

TEST_F(DataFolderTest, WriterNamesTheFileItCannotCreate) {
    try {
        SqliteWriter writer(folder_ / "missing" / "T.sqlite");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("T.sqlite"), std::string::npos);
    }
}

TEST(QuoteIdentifier, DoublesQuotes) {
    EXPECT_EQ(db::quoteIdentifier("Scheda_Cliente"), "\"Scheda_Cliente\"");
    EXPECT_EQ(db::quoteIdentifier("a\"b"), "\"a\"\"b\"");
}

}  // namespace
}  // namespace planora::demo
