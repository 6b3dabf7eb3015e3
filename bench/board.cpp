// The board run of a generated hotel against the same board written as SQL over the same
// SQLite files (bench/sql), run side by side and checked to give the same rows and totals, and
// against loading once the tables that the run reads; with the run's peak memory against the
// size of the data files, both in MiB. Three sizes: 1/100, 1/10 and the full hotel; each as
// SQLite files and as their Access (.mdb) copies, whose load is also set against the SQLite
// load. Three modes: a past day, when most rooms come from the history files; today; and
// today's arrivals. The board and the SQL run as many times each: wall times are the best run,
// processor times the mean, as the system counts them in ticks of a few milliseconds.
//
// The Access files are read by reader programs: their processor time counts with this
// process's. Their memory is not counted: it is a few MiB each (their own peak, VmHWM), while
// the peak that getrusage gives for children counts the memory of this process at each start.
// The peak of a run is this process's resident memory at its highest during the first board
// run of a case, the high-water mark being reset before it.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "bench/sql/board_sql.h"
#include "board/builder.h"
#include "board/clock.h"
#include "db/backend.h"
#include "db/error.h"
#include "tools/demo/demo_hotel.h"
#include "tools/mdb/sqlite_to_mdb.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Today of the generated hotels; the board looks at a day about 400 days before, which only
// the history cards reach for most rooms.
const planora::board::FixedClock kToday({2026, 12, 8, 10, 0, 0});
constexpr const char* kPastDay = "03/11/2025";
constexpr const char* kTodayText = "08/12/2026";

enum Mode { kPastDayMode = 0, kTodayMode = 1, kArrivalsMode = 2 };

planora::demo::DemoSize sizeOf(int divisor) {
    planora::demo::DemoSize size;
    size.rooms = 2000 / divisor;
    size.cards = 200000 / divisor;
    size.history = 2000000 / divisor;
    return size;
}

enum Format { kSqlite = 0, kMdb = 1 };

const char* extensionOf(int format) {
    return format == kMdb ? ".mdb" : ".sqlite";
}

// Made once into a cache beside the benchmark's build folder; a folder left half-written by an
// interrupted run has no marker and is made again.
fs::path cachedFolder(const std::string& name, const std::function<void(const fs::path&)>& make) {
    const fs::path cache =
        fs::canonical("/proc/self/exe").parent_path().parent_path() / "bench-cache";
    const fs::path folder = cache / name;
    const fs::path marker = folder / "complete";
    if (!fs::exists(marker)) {
        fs::remove_all(folder);
        const auto start = Clock::now();
        make(folder);
        const std::chrono::duration<double> took = Clock::now() - start;
        std::ofstream(marker) << "made in " << took.count() << " s\n";
    }
    return folder;
}

fs::path dataFolder(int divisor, int format) {
    const std::string name = "board-1-" + std::to_string(divisor);
    const fs::path sqlite = cachedFolder(name, [&](const fs::path& folder) {
        planora::demo::writeDemoHotel(folder, sizeOf(divisor), kToday);
    });
    if (format == kSqlite) {
        return sqlite;
    }
    return cachedFolder(name + "-mdb", [&](const fs::path& folder) {
        planora::jet::writeMdbFolder(sqlite, folder, {2026, 12, 8, 10, 0, 0},
                                     [](const std::string&) {});
    });
}

// The files and tables the board run reads.
const std::vector<std::pair<const char*, const char*>> kTablesRead{
    {"NumeriCamere", "NumeriCamere"},
    {"TipiCamere", "TipiCamere"},
    {"AnagraficaHotels", "AnagraficaHotels"},
    {"Tableau", "Tableau"},
    {"Scheda_Cliente", "Scheda_Cliente"},
    {"Ditta_Intestataria", "Ditta_Intestataria"},
    {"Arrangiamento", "Arrangiamento"},
    {"Camere_Prenotazione", "Camere_Prenotazione"},
    {"Scheda_Prenotazione", "Scheda_Prenotazione"},
    {"Arrangiamenti", "NomiArrangiamenti"},
    {"AgenzieAbituali", "AgenzieAbituali"},
    {"SchedaStoricoClienti", "Scheda_Cliente"},
    {"DittaStoricoClienti", "Ditta_Intestataria"},
    {"ArrangiamentoStoricoClienti", "Arrangiamento"},
};

// Processor time of the process and of its finished children (the Access readers), which
// other programs on a busy machine do not inflate.
double cpuSeconds() {
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    double total = 0;
    for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        total += seconds(usage.ru_utime) + seconds(usage.ru_stime);
    }
    return total;
}

struct Seconds {
    double wall = 0;
    double cpu = 0;
};

Seconds loadOnce(const fs::path& folder, int format) {
    const auto start = Clock::now();
    const double cpuStart = cpuSeconds();
    for (const auto& [file, table] : kTablesRead) {
        const fs::path path = folder / (std::string(file) + extensionOf(format));
        const auto backend = format == kMdb ? planora::db::openAccessBackend(path)
                                            : planora::db::openSqliteBackend(path);
        benchmark::DoNotOptimize(backend->loadTable(table)->rowCount());
    }
    return {std::chrono::duration<double>(Clock::now() - start).count(), cpuSeconds() - cpuStart};
}

// The better of two loads.
Seconds loadSeconds(const fs::path& folder, int format) {
    Seconds best{1e9, 1e9};
    for (int i = 0; i < 2; ++i) {
        const Seconds once = loadOnce(folder, format);
        best = {std::min(best.wall, once.wall), std::min(best.cpu, once.cpu)};
    }
    return best;
}

// MiB, as the peaks.
double dataMebibytes(const fs::path& folder, int format) {
    double bytes = 0;
    for (const auto& [file, table] : kTablesRead) {
        bytes +=
            static_cast<double>(fs::file_size(folder / (std::string(file) + extensionOf(format))));
    }
    return bytes / (1024.0 * 1024.0);
}

// Resets the high-water mark of this process's resident memory to what is resident now,
// after giving freed memory back to the system.
void resetPeak() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The high-water mark of resident memory since the last reset, in MiB.
double peakMebibytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;  // in kB
        }
    }
    return 0;
}

// Each room shown takes its row and a rule; the frame and the totals take 11 lines.
long roomsShown(const fs::path& board) {
    std::ifstream in(board, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    long lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++lines;
    }
    return (lines - 11) / 2;
}

planora::board::BoardRequest requestOf(std::int64_t lastFloor, std::int64_t mode) {
    planora::board::BoardRequest request;
    request.hotel = 1;
    request.tableau = 1;
    request.firstRoom = "0";
    // A last floor of 0 is the whole layout; at the full size its counts pass 999, which the
    // board refuses, so floors 1 to 5 are run there.
    request.lastRoom = lastFloor == 0 ? "99999" : std::to_string(lastFloor) + "99";
    request.referenceDate = mode == kPastDayMode ? kPastDay : kTodayText;
    if (mode == kArrivalsMode) {
        request.selectionDate = kTodayText;
    }
    return request;
}

void BM_Board(benchmark::State& state) {
    const int divisor = static_cast<int>(state.range(0));
    const int format = static_cast<int>(state.range(2));
    const fs::path folder = dataFolder(divisor, format);
    const planora::board::BoardRequest request = requestOf(state.range(1), state.range(3));
    const planora::board::BoardOptions options;  // arrivals, no company
    const planora::board::BoardContext context{folder, "BENCH", &kToday};

    const Seconds load = loadSeconds(folder, format);
    // The SQLite load of the same data, for the Access copy's load to be set against.
    const Seconds sqliteLoad =
        format == kMdb ? loadSeconds(dataFolder(divisor, kSqlite), kSqlite) : load;
    Seconds board{1e9, 0};
    int present = 0;
    fs::path file;
    double peak = 0;
    for (auto _ : state) {
        const bool first = peak == 0;
        if (first) {
            resetPeak();
        }
        const auto start = Clock::now();
        const double cpuStart = cpuSeconds();
        planora::board::BoardResult result;
        try {
            result = planora::board::CreaTableau(request, options, context);
        } catch (const planora::Error& error) {
            state.SkipWithError(error.what());
            return;
        }
        const Seconds once{std::chrono::duration<double>(Clock::now() - start).count(),
                           cpuSeconds() - cpuStart};
        board = {std::min(board.wall, once.wall), board.cpu + once.cpu};
        if (first) {
            peak = peakMebibytes();
        }
        present = result.totals.presenze;
        file = result.file;
    }
    // The same board as SQL over the same data (the SQLite files), checked against the board
    // just written.
    const auto runs = static_cast<double>(state.iterations());
    board.cpu /= runs;
    Seconds sql{1e9, 0};
    planora::bench::SqlBoard expected;
    for (benchmark::IterationCount i = 0; i < state.iterations(); ++i) {
        const auto start = Clock::now();
        const double cpuStart = cpuSeconds();
        expected = planora::bench::sqlBoard(dataFolder(divisor, kSqlite), request, options);
        sql = {std::min(sql.wall, std::chrono::duration<double>(Clock::now() - start).count()),
               sql.cpu + cpuSeconds() - cpuStart};
    }
    sql.cpu /= runs;
    const std::string difference =
        planora::bench::compareBoards(expected, planora::bench::readBoardFile(file));
    if (!difference.empty()) {
        state.SkipWithError(("the SQL board differs: " + difference).c_str());
        return;
    }
    state.counters["sql_s"] = sql.wall;
    state.counters["ratio_sql"] = board.wall / sql.wall;
    state.counters["ratio_sql_cpu"] = board.cpu / sql.cpu;
    state.counters["load_s"] = load.wall;
    state.counters["board_s"] = board.wall;
    state.counters["ratio"] = board.wall / load.wall;
    state.counters["load_cpu_s"] = load.cpu;
    state.counters["board_cpu_s"] = board.cpu;
    state.counters["ratio_cpu"] = board.cpu / load.cpu;
    state.counters["present"] = present;
    state.counters["rooms_shown"] = static_cast<double>(roomsShown(file));
    state.counters["load_vs_sqlite"] = load.wall / sqliteLoad.wall;
    state.counters["load_cpu_vs_sqlite"] = load.cpu / sqliteLoad.cpu;
    state.counters["peak_MiB"] = peak;
    const double data = dataMebibytes(folder, format);
    state.counters["data_MiB"] = data;
    state.counters["peak_vs_data"] = peak / data;
}

void boardCases(benchmark::internal::Benchmark* cases) {
    cases->ArgNames({"divisor", "last_floor", "mdb", "mode"});
    for (const int mode : {kPastDayMode, kTodayMode, kArrivalsMode}) {
        for (const auto& [divisor, lastFloor] : {std::pair{100, 0}, {10, 0}, {1, 5}}) {
            for (const int format : {kSqlite, kMdb}) {
                cases->Args({divisor, lastFloor, format, mode});
            }
        }
    }
}

BENCHMARK(BM_Board)->Apply(boardCases)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
