// Board runs over databases whose fields hold values of the wrong kind: the run stops with the
// engine's type mismatch naming the field, the table and the file, and writes no board.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "board/builder.h"
#include "db/error.h"
#include "tests/board/board_fixture.h"

namespace planora::boardtest {
namespace {

void execute(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string text = error ? error : "?";
        sqlite3_free(error);
        throw std::runtime_error(sql + ": " + text);
    }
}

// Declares the column of the table with another type and converts its values with SQLite's
// CAST, as a database made by another program may have it.
void retypeColumn(const std::filesystem::path& file, const std::string& table,
                  const std::string& column, const std::string& type) {
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + file.string());
    }
    std::vector<std::pair<std::string, std::string>> columns;
    sqlite3_stmt* info = nullptr;
    sqlite3_prepare_v2(db, ("PRAGMA table_info(\"" + table + "\")").c_str(), -1, &info, nullptr);
    while (sqlite3_step(info) == SQLITE_ROW) {
        columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info, 1)),
                             reinterpret_cast<const char*>(sqlite3_column_text(info, 2)));
    }
    sqlite3_finalize(info);
    std::string declared, selected;
    for (const auto& [name, declaredType] : columns) {
        const bool retyped = name == column;
        declared += (declared.empty() ? "" : ", ") + ("\"" + name + "\" ") +
                    (retyped ? type : declaredType);
        selected += (selected.empty() ? "" : ", ") +
                    (retyped ? "CAST(\"" + name + "\" AS " + type + ")" : "\"" + name + "\"");
    }
    execute(db, "ALTER TABLE \"" + table + "\" RENAME TO Vecchia");
    execute(db, "CREATE TABLE \"" + table + "\" (" + declared + ")");
    execute(db, "INSERT INTO \"" + table + "\" SELECT " + selected + " FROM Vecchia");
    execute(db, "DROP TABLE Vecchia");
    sqlite3_close(db);
}

struct Mistyped {
    const char* file;
    const char* table;
    const char* column;
    const char* type;
    const char* whatIsCompared;  // the part of the message that names the field and its value
};

class BoardOverMistypedFields : public ::testing::TestWithParam<Mistyped> {};

TEST_P(BoardOverMistypedFields, StopTheRunWithTheTypeMismatch) {
    const Mistyped& mistyped = GetParam();
    ScratchFolder folder;
    writeTestHotels(folder.path());
    const auto file = folder.path() / mistyped.file;
    retypeColumn(file, mistyped.table, mistyped.column, mistyped.type);

    std::string message = "no error";
    try {
        board::CreaTableau(dayRequest(), {}, {folder.path(), "", &testClock()});
    } catch (const Error& e) {
        message = e.what();
    }
    EXPECT_EQ(message.rfind("Tipo di dati non corrispondente nell'espressione criterio", 0), 0u)
        << message;
    EXPECT_NE(message.find("sulla tabella \"" + std::string(mistyped.table) + "\" del file '" +
                           file.string() + "'"),
              std::string::npos)
        << message;
    EXPECT_NE(message.find(mistyped.whatIsCompared), std::string::npos) << message;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "FD"));
}

const Mistyped kMistyped[] = {
    {"NumeriCamere.sqlite", "NumeriCamere", "NumeroCamera", "INTEGER",
     "il campo \"NumeroCamera\" (che contiene il numero "},
    {"Scheda_Cliente.sqlite", "Scheda_Cliente", "DataArrivo", "REAL",
     "il campo \"DataArrivo\" (che contiene il numero 2026"},
    {"Tableau.sqlite", "Tableau", "NumeroHotel", "TEXT",
     "il campo \"NumeroHotel\" (che contiene il testo \"1\")"},
};

INSTANTIATE_TEST_SUITE_P(RoomsDatesAndHotels, BoardOverMistypedFields,
                         ::testing::ValuesIn(kMistyped),
                         [](const auto& info) { return std::string(info.param.column); });

}  // namespace
}  // namespace planora::boardtest
