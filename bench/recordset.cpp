// Record access on a large guest card table: loading it whole against a plain SQLite scan,
// the find walk of every room (from opening the record set, which reads the columns the finds
// need) against one linear pass over the loaded table, a statement that SQLite narrows
// against a plain SQLite query of the same rows, and the memory of the loaded table.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <unistd.h>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "db/backend.h"
#include "db/database.h"
#include "db/error.h"
#include "db/sql.h"

namespace {

namespace fs = std::filesystem;
using planora::db::Database;
using planora::db::RecordSet;

constexpr int kCards = 1000000;
constexpr int kRooms = 2000;

std::string roomNumber(int room) {
    return std::to_string(100 + room);
}

std::string dayKey(int day) {
    const int month = 1 + day / 28 % 12;
    return "2024" + std::string(month < 10 ? "0" : "") + std::to_string(month) +
           (day % 28 < 9 ? "0" : "") + std::to_string(1 + day % 28);
}

void execute(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw planora::Error(std::string("Benchmark data: ") + sqlite3_errmsg(db));
    }
}

// The guest cards, spread over the rooms so that one room's cards lie far apart in the file.
void writeGuestCards(const fs::path& file) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> closer(db, sqlite3_close);
    execute(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
    execute(db,
            "CREATE TABLE Scheda_Cliente (NumeroHotel INTEGER, NumeroCamera TEXT, "
            "NumeroProgressivo INTEGER, NumeroComponente INTEGER, DataArrivo TEXT, "
            "DataPartenza TEXT, DataPartenzaReale TEXT, Partito TEXT, NomeCliente TEXT, "
            "Commento TEXT, CodiceAgenzia INTEGER, CodiceCapoGruppo INTEGER, "
            "CodiceCapoFamiglia INTEGER)");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Scheda_Cliente VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)", -1,
                       &insert, nullptr);
    for (int i = 0; i < kCards; ++i) {
        const int arrival = i / 400;
        const std::string texts[] = {
            roomNumber(i % kRooms),
            dayKey(arrival),
            dayKey(arrival + 3),
            dayKey(arrival + 2),
            i % 5 == 0 ? "" : "S",
            "COGNOME" + std::to_string(i % 7919) + " NOME" + std::to_string(i % 113)};
        sqlite3_bind_int(insert, 1, i % 10 == 9 ? 2 : 1);
        sqlite3_bind_text(insert, 2, texts[0].c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 3, i);
        sqlite3_bind_int(insert, 4, 1 + i % 3);
        for (int t = 1; t <= 5; ++t) {
            sqlite3_bind_text(insert, 4 + t, texts[t].c_str(), -1, SQLITE_TRANSIENT);
        }
        if (i % 7 == 0) {
            sqlite3_bind_text(insert, 10, "Cliente abituale", -1, SQLITE_STATIC);
        } else {
            sqlite3_bind_null(insert, 10);
        }
        sqlite3_bind_int(insert, 11, i % 40);
        sqlite3_bind_int(insert, 12, i % 11 == 0 ? i : 0);
        sqlite3_bind_int(insert, 13, i - i % 3);
        if (sqlite3_step(insert) != SQLITE_DONE) {
            throw planora::Error(std::string("Benchmark data: ") + sqlite3_errmsg(db));
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    execute(db, "COMMIT");
}

// The data folder, made once per run and removed at its end.
class DataFolder {
  public:
    DataFolder()
        : path_(fs::temp_directory_path() /
                ("planora-bench-recordset-" + std::to_string(::getpid()))) {
        fs::create_directories(path_);
        writeGuestCards(file());
    }
    ~DataFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }
    fs::path file() const { return path_ / "Scheda_Cliente.sqlite"; }

  private:
    fs::path path_;
};

const DataFolder& data() {
    static const DataFolder folder;
    return folder;
}

// What any reader of the table must at least do: step every row and read every column.
std::size_t plainScan(const fs::path& file) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> closer(db, sqlite3_close);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM \"Scheda_Cliente\"", -1, &statement, nullptr);
    const int columns = sqlite3_column_count(statement);
    std::size_t sum = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(statement, c)) {
                case SQLITE_INTEGER:
                    sum += static_cast<std::size_t>(sqlite3_column_int64(statement, c));
                    break;
                case SQLITE_TEXT:
                    sum += *sqlite3_column_text(statement, c);
                    sum += static_cast<std::size_t>(sqlite3_column_bytes(statement, c));
                    break;
                default:
                    break;
            }
        }
    }
    sqlite3_finalize(statement);
    return sum;
}

// The thread's processor time: the machine may be busy with other work while this runs.
double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void BM_LoadVsPlainScan(benchmark::State& state) {
    const DataFolder& folder = data();
    double scanSeconds = 0;
    double loadSeconds = 0;
    std::size_t memory = 0;
    for (auto _ : state) {
        double start = cpuSeconds();
        benchmark::DoNotOptimize(plainScan(folder.file()));
        scanSeconds += cpuSeconds() - start;
        start = cpuSeconds();
        const auto table =
            planora::db::openSqliteBackend(folder.file())->loadTable("Scheda_Cliente");
        const double load = cpuSeconds() - start;
        loadSeconds += load;
        state.SetIterationTime(load);
        memory = table->memoryBytes();
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["scan_ms"] = scanSeconds / iterations * 1000;
    state.counters["load_ms"] = loadSeconds / iterations * 1000;
    state.counters["load_vs_scan"] = loadSeconds / scanSeconds;
    state.counters["memory_MB"] = static_cast<double>(memory) / 1e6;
    state.counters["file_MB"] = static_cast<double>(fs::file_size(folder.file())) / 1e6;
    state.counters["memory_vs_file"] =
        static_cast<double>(memory) / static_cast<double>(fs::file_size(folder.file()));
}
BENCHMARK(BM_LoadVsPlainScan)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

std::string roomCriteria(int room) {
    return "NumeroHotel = 1 and NumeroCamera = '" + roomNumber(room) + "'";
}

// One pass over the whole table evaluating a room's criteria on every row: the cost of one
// find that cannot use an index.
std::size_t linearPass(const planora::db::Table& table) {
    const auto expr = planora::db::sql::parseCriteria(roomCriteria(kRooms / 2));
    const planora::db::sql::BoundExpr bound(
        *expr,
        [&](std::string_view name, std::size_t& column) {
            const auto index = table.columnIndex(name);
            column = index.value_or(0);
            return index.has_value();
        },
        [](const planora::db::sql::SelectStatement&) { return std::vector<planora::db::Value>{}; });
    std::size_t row = 0;
    const planora::db::sql::RowReader reader = [&](std::size_t column) {
        return table.value(row, column);
    };
    std::size_t matches = 0;
    for (; row < table.rowCount(); ++row) {
        matches += bound.matches(reader) ? 1 : 0;
    }
    return matches;
}

void BM_RoomWalkVsLinearPass(benchmark::State& state) {
    const DataFolder& folder = data();
    const auto table = planora::db::openSqliteBackend(folder.file())->loadTable("Scheda_Cliente");
    double walkSeconds = 0;
    double linearSeconds = 0;
    std::size_t visited = 0;
    for (auto _ : state) {
        // A fresh database and record set, as a run opens them, so that reading the columns the
        // finds need and building the index are part of the walk.
        double start = cpuSeconds();
        RecordSet cards =
            Database::open(folder.path(), "Scheda_Cliente.mdb").openRecordset("Scheda_Cliente");
        for (int room = 0; room < kRooms; ++room) {
            const std::string criteria = roomCriteria(room);
            for (cards.findFirst(criteria); !cards.noMatch(); cards.findNext(criteria)) {
                ++visited;
            }
        }
        const double walk = cpuSeconds() - start;
        walkSeconds += walk;
        state.SetIterationTime(walk);
        start = cpuSeconds();
        benchmark::DoNotOptimize(linearPass(*table));
        linearSeconds += cpuSeconds() - start;
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["cards_per_walk"] = static_cast<double>(visited) / iterations;
    state.counters["walk_ms"] = walkSeconds / iterations * 1000;
    state.counters["linear_ms"] = linearSeconds / iterations * 1000;
    state.counters["walk_vs_linear"] = walkSeconds / linearSeconds;
}
BENCHMARK(BM_RoomWalkVsLinearPass)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// The guests present on a day, with every column, counted by SQLite alone.
std::size_t plainQuery(const fs::path& file, const std::string& day) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> closer(db, sqlite3_close);
    sqlite3_stmt* statement = nullptr;
    const std::string sql =
        "SELECT * FROM Scheda_Cliente WHERE NumeroHotel = 1 AND DataArrivo <= '" + day +
        "' AND DataPartenza >= '" + day + "'";
    sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    std::size_t rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        rows += sqlite3_column_bytes(statement, 8) > 0 ? 1 : 0;
    }
    sqlite3_finalize(statement);
    return rows;
}

// The board's query of the guests of a day: SQLite narrows the rows, the record set filters
// them again and reads what it needs.
void BM_DayQueryVsPlainQuery(benchmark::State& state) {
    const DataFolder& folder = data();
    const std::string day = dayKey(kCards / 400 / 2);
    double querySeconds = 0;
    double plainSeconds = 0;
    std::size_t guests = 0;
    for (auto _ : state) {
        double start = cpuSeconds();
        RecordSet present = Database::open(folder.path(), "Scheda_Cliente.mdb")
                                .openRecordset(
                                    "Select * From Scheda_Cliente Where NumeroHotel = 1 "
                                    "and DataArrivo <= '" +
                                    day + "' and DataPartenza >= '" + day + "'");
        guests = 0;
        const std::string criteria = "NumeroHotel = 1";
        for (present.findFirst(criteria); !present.noMatch(); present.findNext(criteria)) {
            guests += present.field("NomeCliente").isNull() ? 0 : 1;
        }
        const double query = cpuSeconds() - start;
        querySeconds += query;
        state.SetIterationTime(query);
        start = cpuSeconds();
        benchmark::DoNotOptimize(plainQuery(folder.file(), day));
        plainSeconds += cpuSeconds() - start;
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["guests"] = static_cast<double>(guests);
    state.counters["query_ms"] = querySeconds / iterations * 1000;
    state.counters["plain_ms"] = plainSeconds / iterations * 1000;
    state.counters["query_vs_plain"] = querySeconds / plainSeconds;
}
BENCHMARK(BM_DayQueryVsPlainQuery)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
