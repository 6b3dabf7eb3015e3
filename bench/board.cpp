// The board run of a generated hotel on a past day, when most rooms come from the history
// files, against loading once the tables that the run reads; with peak memory against the
// size of the data files. Three sizes: 1/100, 1/10 and the full hotel.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <fstream>
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

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Today of the generated hotels; the board looks at a day about 400 days before, which only
// the history cards reach for most rooms.
const planora::board::FixedClock kToday({2026, 12, 8, 10, 0, 0});
constexpr const char* kPastDay = "03/11/2025";

planora::demo::DemoSize sizeOf(int divisor) {
    planora::demo::DemoSize size;
    size.rooms = 2000 / divisor;
    size.cards = 200000 / divisor;
    size.history = 2000000 / divisor;
    return size;
}

// Generated once per size into a cache beside the benchmark's build folder; a folder left
// half-written by an interrupted run has no marker and is made again.
fs::path dataFolder(int divisor) {
    const fs::path cache =
        fs::canonical("/proc/self/exe").parent_path().parent_path() / "bench-cache";
    const fs::path folder = cache / ("board-1-" + std::to_string(divisor));
    const fs::path marker = folder / "complete";
    if (!fs::exists(marker)) {
        fs::remove_all(folder);
        const auto start = Clock::now();
        planora::demo::writeDemoHotel(folder, sizeOf(divisor), kToday);
        const std::chrono::duration<double> took = Clock::now() - start;
        std::ofstream(marker) << "generated in " << took.count() << " s\n";
    }
    return folder;
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

// Processor time of the process, which other programs on a busy machine do not inflate.
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Seconds {
    double wall = 0;
    double cpu = 0;
};

Seconds loadSeconds(const fs::path& folder) {
    const auto start = Clock::now();
    const double cpuStart = cpuSeconds();
    for (const auto& [file, table] : kTablesRead) {
        const auto backend =
            planora::db::openSqliteBackend(folder / (std::string(file) + ".sqlite"));
        benchmark::DoNotOptimize(backend->loadTable(table)->rowCount());
    }
    return {std::chrono::duration<double>(Clock::now() - start).count(), cpuSeconds() - cpuStart};
}

double dataMegabytes(const fs::path& folder) {
    double bytes = 0;
    for (const auto& [file, table] : kTablesRead) {
        bytes += static_cast<double>(fs::file_size(folder / (std::string(file) + ".sqlite")));
    }
    return bytes / 1e6;
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
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

void BM_BoardPastDay(benchmark::State& state) {
    const fs::path folder = dataFolder(static_cast<int>(state.range(0)));
    planora::board::BoardRequest request;
    request.hotel = 1;
    request.tableau = 1;
    request.firstRoom = "0";
    // A last floor of 0 is the whole layout; at the full size its counts pass 999, which the
    // board refuses, so floors 1 to 5 are run as well.
    const auto lastFloor = state.range(1);
    request.lastRoom = lastFloor == 0 ? "99999" : std::to_string(lastFloor) + "99";
    request.referenceDate = kPastDay;
    const planora::board::BoardContext context{folder, "BENCH", &kToday};

    Seconds load{1e9, 1e9};
    for (int i = 0; i < 2; ++i) {
        const Seconds once = loadSeconds(folder);
        load = {std::min(load.wall, once.wall), std::min(load.cpu, once.cpu)};
    }
    Seconds board;
    int present = 0;
    fs::path file;
    for (auto _ : state) {
        const auto start = Clock::now();
        const double cpuStart = cpuSeconds();
        planora::board::BoardResult result;
        try {
            result = planora::board::CreaTableau(request, {}, context);
        } catch (const planora::Error& error) {
            state.SkipWithError(error.what());
            return;
        }
        board.wall += std::chrono::duration<double>(Clock::now() - start).count();
        board.cpu += cpuSeconds() - cpuStart;
        present = result.totals.presenze;
        file = result.file;
    }
    // The same board as SQL over the same files, checked against the board just written.
    Seconds sql{1e9, 1e9};
    planora::bench::SqlBoard expected;
    for (int i = 0; i < 2; ++i) {
        const auto start = Clock::now();
        const double cpuStart = cpuSeconds();
        expected = planora::bench::sqlBoard(folder, request, {});
        sql = {std::min(sql.wall, std::chrono::duration<double>(Clock::now() - start).count()),
               std::min(sql.cpu, cpuSeconds() - cpuStart)};
    }
    const std::string difference =
        planora::bench::compareBoards(expected, planora::bench::readBoardFile(file));
    if (!difference.empty()) {
        state.SkipWithError(("the SQL board differs: " + difference).c_str());
        return;
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["sql_s"] = sql.wall;
    state.counters["ratio_sql"] = board.wall / runs / sql.wall;
    state.counters["ratio_sql_cpu"] = board.cpu / runs / sql.cpu;
    state.counters["load_s"] = load.wall;
    state.counters["board_s"] = board.wall / runs;
    state.counters["ratio"] = board.wall / runs / load.wall;
    state.counters["load_cpu_s"] = load.cpu;
    state.counters["board_cpu_s"] = board.cpu / runs;
    state.counters["ratio_cpu"] = board.cpu / runs / load.cpu;
    state.counters["present"] = present;
    state.counters["rooms_shown"] = static_cast<double>(roomsShown(file));
    state.counters["peak_MB"] = peakMegabytes();
    state.counters["data_MB"] = dataMegabytes(folder);
}

// Smallest first, so that the peak after each size is that size's own.
BENCHMARK(BM_BoardPastDay)
    ->ArgNames({"divisor", "last_floor"})
    ->Args({100, 0})
    ->Args({10, 0})
    ->Args({1, 0})
    ->Args({1, 5})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
