#include <gtest/gtest.h>

#include <fstream>

#include "db/backend.h"
#include "db/error.h"
#include "sqlite_fixture.h"

namespace planora::db {
namespace {

using testing::errorMessage;
using testing::num;
using testing::TempFolder;
using testing::txt;
using testing::writeTable;

TEST(SqliteBackend, DeclaredTypesGiveTheValueKinds) {
    TempFolder folder;
    const auto file = folder.path() / "Arrangiamento.sqlite";
    writeTable(file, "Arrangiamento",
               {{"CodiceCliente", "INTEGER"},
                {"Sconto", "REAL"},
                {"ImportoTotale", "CURRENCY"},
                {"Arrivo", "DATETIME"},
                {"Pagato", "BOOLEAN"},
                {"Arrangiamento", "TEXT"}},
               {{num(12), Value::real(0.25), Value::currency(Currency{1234567}),
                 Value::dateTime(DateTime{2024, 3, 1, 14, 30, 5}), Value::boolean(true), txt("HB")},
                {Value(), Value(), Value::currency(Currency{-10001}), Value(),
                 Value::boolean(false), Value()}});
    const auto backend = openSqliteBackend(file);
    const TablePtr table = backend->loadTable("arrangiamento");
    ASSERT_EQ(table->rowCount(), 2u);
    const std::vector<ColumnType> types = {ColumnType::Integer,  ColumnType::Real,
                                           ColumnType::Currency, ColumnType::DateTime,
                                           ColumnType::Boolean,  ColumnType::Text};
    ASSERT_EQ(table->columns().size(), types.size());
    for (std::size_t c = 0; c < types.size(); ++c) {
        EXPECT_EQ(table->columns()[c].type, types[c]) << table->columns()[c].name;
    }
    EXPECT_EQ(table->value(0, 0), num(12));
    EXPECT_EQ(table->value(0, 1), Value::real(0.25));
    EXPECT_EQ(table->value(0, 2), Value::currency(Currency{1234567}));
    EXPECT_EQ(table->value(1, 2), Value::currency(Currency{-10001}));
    EXPECT_EQ(table->value(0, 3), Value::dateTime(DateTime{2024, 3, 1, 14, 30, 5}));
    EXPECT_EQ(table->value(0, 4), Value::boolean(true));
    EXPECT_EQ(table->value(1, 4), Value::boolean(false));
    EXPECT_EQ(table->value(0, 5), txt("HB"));
    for (std::size_t c : {0u, 1u, 3u, 5u}) {
        EXPECT_TRUE(table->value(1, c).isNull()) << "column " << c;
    }
}

TEST(SqliteBackend, AmountsKeepTheirValueWhateverSqliteStoredThem) {
    TempFolder folder;
    const auto file = folder.path() / "Camere_Prenotazione.sqlite";
    const std::int64_t huge = 4000000000000000LL;  // beyond the currency range
    writeTable(file, "Camere_Prenotazione", {{"Prezzo", "CURRENCY"}},
               {{num(85)},
                {Value::real(99.995)},
                {Value::real(-0.0001)},
                {txt("su richiesta")},
                {num(huge)},
                {Value::real(1e300)}});
    const TablePtr table = openSqliteBackend(file)->loadTable("Camere_Prenotazione");
    EXPECT_EQ(table->value(0, 0), Value::currency(Currency{850000}));
    EXPECT_EQ(table->value(1, 0), Value::currency(Currency{999950}));
    EXPECT_EQ(table->value(2, 0), Value::currency(Currency{-1}));
    EXPECT_EQ(table->value(3, 0), txt("su richiesta"));
    EXPECT_EQ(table->value(4, 0).toNumber(), static_cast<double>(huge));
    EXPECT_EQ(table->value(5, 0).toNumber(), 1e300);
}

TEST(SqliteBackend, ListsTablesAndNamesTheFileOfAMissingOne) {
    TempFolder folder;
    const auto file = folder.path() / "Stampanti.sqlite";
    writeTable(file, "Stampanti", {{"NumeroHotel", "INTEGER"}}, {{num(1)}});
    writeTable(file, "SetStampa", {{"TipoStampa", "INTEGER"}}, {});
    const auto backend = openSqliteBackend(file);
    EXPECT_EQ(backend->tableNames(), (std::vector<std::string>{"Stampanti", "SetStampa"}));
    EXPECT_EQ(backend->loadTable("SETSTAMPA")->rowCount(), 0u);
    const std::string message = errorMessage([&] { backend->loadTable("Contatori"); });
    EXPECT_NE(message.find("Contatori"), std::string::npos) << message;
    EXPECT_NE(message.find("Stampanti.sqlite"), std::string::npos) << message;
}

TEST(SqliteBackend, AFileThatIsNoDatabaseOrIsDamagedIsReported) {
    TempFolder folder;
    const auto text = folder.path() / "Tableau.sqlite";
    testing::writeBytes(text, std::string(4096, 'x'));
    EXPECT_EQ(errorMessage([&] { openSqliteBackend(text); }),
              "Impossibile leggere il file di database '" + text.string() +
                  "': non è un database SQLite");

    // A big table cut short: SQLite finds the file shorter than its header says.
    const auto whole = folder.path() / "Whole.sqlite";
    std::vector<testing::Row> rows;
    for (int i = 0; i < 5000; ++i) {
        rows.push_back({num(i), txt("Ospite numero " + std::to_string(i))});
    }
    writeTable(whole, "Scheda_Cliente", {{"N", "INTEGER"}, {"NomeCliente", "TEXT"}}, rows);
    std::ifstream in(whole, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    const auto cut = folder.path() / "Cut.sqlite";
    testing::writeBytes(cut, bytes.substr(0, bytes.size() / 3));
    EXPECT_EQ(
        errorMessage([&] { openSqliteBackend(cut)->loadTable("Scheda_Cliente"); }),
        "Impossibile leggere il file di database '" + cut.string() + "': il file è danneggiato");
}

TEST(SqliteBackend, LoadedGuestCardsNeedAtMostTwiceTheFileSize) {
    TempFolder folder;
    const auto file = folder.path() / "Scheda_Cliente.sqlite";
    std::vector<testing::Row> rows;
    const int count = 100000;
    for (int i = 0; i < count; ++i) {
        const std::string day = std::to_string(20240101 + i % 28);
        rows.push_back({num(1), txt(std::to_string(100 + i % 2000)), num(i), num(1 + i % 3),
                        txt(day), txt(day), txt(day), txt(i % 2 ? "S" : ""),
                        txt("COGNOME" + std::to_string(i % 977) + " NOME"), Value(), num(i % 50),
                        num(0), num(i / 3)});
    }
    writeTable(file, "Scheda_Cliente",
               {{"NumeroHotel", "INTEGER"},
                {"NumeroCamera", "TEXT"},
                {"NumeroProgressivo", "INTEGER"},
                {"NumeroComponente", "INTEGER"},
                {"DataArrivo", "TEXT"},
                {"DataPartenza", "TEXT"},
                {"DataPartenzaReale", "TEXT"},
                {"Partito", "TEXT"},
                {"NomeCliente", "TEXT"},
                {"Commento", "TEXT"},
                {"CodiceAgenzia", "INTEGER"},
                {"CodiceCapoGruppo", "INTEGER"},
                {"CodiceCapoFamiglia", "INTEGER"}},
               rows);
    const TablePtr table = openSqliteBackend(file)->loadTable("Scheda_Cliente");
    ASSERT_EQ(table->rowCount(), static_cast<std::size_t>(count));
    EXPECT_EQ(table->value(count - 1, 8), rows.back()[8]);
    EXPECT_EQ(table->value(count - 1, 12), rows.back()[12]);
    const auto fileSize = std::filesystem::file_size(file);
    EXPECT_LE(table->memoryBytes(), 2 * fileSize)
        << table->memoryBytes() << " bytes for a file of " << fileSize;
}

}  // namespace
}  // namespace planora::db
