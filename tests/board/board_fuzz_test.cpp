// Random data folders and random requests against the whole board run: every run either
// writes a board whose every line keeps the grid, or fails with a planora::Error and leaves
// the previous board as it was. Runs for a bounded time; for a longer hunt by hand:
//   PLANORA_FUZZ_SECONDS=600 PLANORA_FUZZ_SEED=7 planora_tests_board --gtest_filter='BoardFuzz*'

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <limits>
#include <map>
#include <random>
#include <variant>

#include "board/builder.h"
#include "board/validation.h"
#include "db/error.h"
#include "tests/board/board_checks.h"
#include "tests/board/board_fixture.h"
#include "tools/demo/hotel_schema.h"

namespace planora::boardtest {
namespace {

long long setting(const char* name, long long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::atoll(text) : fallback;
}

// Pieces of text as the databases of a hotel may hold them, and worse.
const std::vector<std::string> kTextPieces = {
    "ROSSI",  "Mario",  " ",       "  ",   "'",       "CITTÀ",    "àèéìòù",
    "ÀÈÉÌÒÙ", "€",      "Šž",      "œŸ",   "Łukasz",  "Żółć",     "Đorđe",
    "Москва", "Αθήνα",  "北京",    "😀",    "e\u0301", "A\u0300",  "q\u0303",
    "\r\n",   "\t",     "\x1B[2J", "\x0C", "\x07",    "\x7F",     std::string(1, '\0'),
    "\u0085", "\u009B", "\xFF",    "\xC3", "│┼┐",     "\xB3\xC4", "\u202E",
    "\uFEFF", "0",      "-1",      "3e9",  "1e300",   "%",        "_",
    "*",      "#",      "\"",      "\\",   "/../",    "ÿ"};

class Generator {
  public:
    explicit Generator(std::uint64_t seed) : random_(seed) {}

    int below(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }

    std::string text(int longest = 30) {
        std::string out;
        const int pieces = chance(5) ? 60 : 1 + below(longest / 4);
        for (int i = 0; i < pieces; ++i) {
            out += pick(kTextPieces);
        }
        return out;
    }

    // A value of the wrong kind or out of every range.
    db::Value hostile() {
        switch (below(12)) {
            case 0:
                return db::Value();
            case 1:
                return db::Value::integer(std::numeric_limits<std::int64_t>::max());
            case 2:
                return db::Value::integer(-1 - below(3'000'000));
            case 3:
                return db::Value::real(1e300);
            case 4:
                return db::Value::real(-2.5);
            case 5:
                return db::Value::real(HUGE_VAL);
            case 6:
                return db::Value::real(std::nan(""));
            case 7:
                return db::Value::currency({std::numeric_limits<std::int64_t>::min()});
            case 8:
                return db::Value::real(5e14);
            case 9:
                return db::Value::integer(3'000'000'000);
            case 10:
                return db::Value::real(0.5);
            default:
                return db::Value::text(text());
        }
    }

    // A value that fits the field most of the time, a hostile one otherwise.
    db::Value field(const std::string& name) {
        // Counts and amounts are where numbers overflow: they get the most hostile values.
        const bool counted = name == "ImportoTotale" || name == "Prezzo" || name == "NumeroPersone";
        if (chance(counted ? 30 : 10)) {
            return hostile();
        }
        const auto number = [](long long n) { return db::Value::integer(n); };
        const auto word = [](std::string w) { return db::Value::text(std::move(w)); };
        // Most rows belong to hotel 1, layout 1 and three rooms, so that stays meet rooms.
        if (name == "NumeroHotel" || name == "Numero") {
            return number(chance(85) ? 1 : 2);
        }
        if (name == "NumeroTableau" || name == "Codice") {
            return number(chance(85) ? 1 : below(3));
        }
        if (name == "NumeroCamera") {
            return word(chance(85) ? pick<std::string>({"101", "102", "9"})
                                   : pick<std::string>(
                                         {"1'A", "CITTÀ", "ÿ", "B\u0141", "12345", "1234567"}));
        }
        if (name == "TipoCamera" || name == "Sigla") {
            return word(chance(85) ? pick<std::string>({"DOP", "HB", "BB", "FB"})
                                   : pick<std::string>({"SIN", "SUPERIOR"}));
        }
        if (name == "Tipologia") {
            return word(chance(85) ? "C" : pick<std::string>({"A", "X"}));
        }
        if (name.rfind("Data", 0) == 0) {
            return word("202612" + twoDigits(below(kDays) + 1));
        }
        if (name == "Partito") {
            return word(pick<std::string>({"S", "N", "", "s"}));
        }
        if (name == "NumeroComponente" || name == "NumeroConto") {
            return number(below(3) + 1);
        }
        if (name == "NumeroPersone") {
            return number(below(5));
        }
        if (name == "TipoPrenotazione") {
            return word(pick<std::string>({"C", "O", "D", "T", "A", "W"}));
        }
        if (name == "Arrangiamento" || name == "Trattamento") {
            return word(pick<std::string>({"HB", "BB", "FB", "PN", "MP", ""}));
        }
        if (name == "Tipo") {
            return word(pick<std::string>({"S", "C", "M", "1", "P", "Z"}));
        }
        if (name == "ImportoTotale" || name == "Prezzo") {
            const std::int64_t euros = chance(10) ? 100'000 + below(900'000) : below(2'000);
            return db::Value::currency({euros * 10'000 + below(10'000)});
        }
        if (name.rfind("Codice", 0) == 0 || name.rfind("Numero", 0) == 0) {
            return number(below(6));
        }
        return word(text());
    }

    static std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }
    // A day of the few around which the stays of the hotel are dated: stays and requests meet.
    std::string day() { return twoDigits(below(kDays) + 1) + "/12/2026"; }
    static constexpr int kDays = 6;

  private:
    std::mt19937_64 random_;
};

// Every table the board reads, with a few random rows.
void writeRandomHotel(const std::filesystem::path& folder, Generator& random) {
    demo::HotelData data(folder);
    for (const demo::DatabaseSchema& database : demo::hotelSchema()) {
        for (const demo::TableSchema& table : database.tables) {
            const int rows = random.below(16);
            for (int row = 0; row < rows; ++row) {
                demo::Fields fields;
                for (const demo::ColumnDecl& column : table.columns) {
                    if (!random.chance(5)) {  // a field left out is Null
                        fields.emplace_back(column.name, random.field(column.name));
                    }
                }
                data.insert(database.file, table.name, fields);
            }
        }
    }
    data.finish();
}

board::RequestEntry randomEntry(Generator& random) {
    board::RequestEntry entry;
    entry.hotel = static_cast<std::int16_t>(random.chance(90) ? 1 : random.below(3) - 1);
    entry.tableau = static_cast<std::int16_t>(random.chance(90) ? 1 : 2);
    entry.firstRoom =
        random.chance(90) ? random.pick<std::string>({"1", "10", "101", "", "9"}) : random.text(8);
    entry.lastRoom =
        random.chance(90) ? random.pick<std::string>({"999", "9", "ZZZ", "103"}) : random.text(8);
    entry.referenceDate = random.chance(95) ? random.day() : random.text(12);
    entry.addArrangement = random.chance(50);
    entry.selectionDate = random.chance(70)   ? ""
                          : random.chance(80) ? random.day()
                                              : random.text(12);
    entry.ditta = random.chance(80) ? "" : random.text(10);
    return entry;
}

std::vector<std::string> otherFiles(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".sqlite" && entry.path().filename() != "FD") {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

struct Tally {
    int folders = 0, runs = 0, boards = 0, refusedRequests = 0, errors = 0;
    int rows = 0, warnings = 0;  // room rows (each with its rule) and warnings of the boards
    std::map<std::string, int> errorKinds;  // the start of each message
};

// What a message is about, without its room and values: "il tipo di camera", ...
std::string kindOf(std::string message) {
    if (message.rfind("Camera ", 0) == 0 && message.find(": ") != std::string::npos) {
        message.erase(0, message.find(": ") + 2);
    }
    return message.substr(0, std::min(message.find(" vale "), std::size_t{24}));
}

// One request over the folder; false when the run broke a rule (the failure is reported).
bool checkOneRun(const std::filesystem::path& folder, Generator& random, Tally& tally,
                 const std::string& where) {
    const board::RequestEntry entry = randomEntry(random);
    board::GiorniMese giorniMese;
    const auto checked = board::validaRichiesta(entry, giorniMese);
    if (!std::holds_alternative<board::BoardRequest>(checked)) {
        ++tally.refusedRequests;
        return true;
    }
    ++tally.runs;
    const std::filesystem::path boardFile = folder / "FD";
    const std::string before = readBytes(boardFile);
    const board::BoardOptions options{random.chance(70), !entry.ditta.empty(), entry.ditta};
    try {
        const board::BoardResult result = board::CreaTableau(std::get<board::BoardRequest>(checked),
                                                             options, {folder, "", &testClock()});
        ++tally.boards;
        tally.rows += static_cast<int>(boardLines(readBytes(result.file)).size()) - 11;
        tally.warnings += static_cast<int>(result.warnings.size());
        const std::string problem = boardProblem(readBytes(result.file));
        EXPECT_EQ(problem, "") << where;
        EXPECT_EQ(result.file, boardFile) << where;
        return problem.empty();
    } catch (const Error& error) {
        ++tally.errors;
        ++tally.errorKinds[kindOf(error.what())];
        EXPECT_EQ(readBytes(boardFile), before) << where << ": " << error.what();
        return readBytes(boardFile) == before;
    } catch (const std::exception& other) {
        ADD_FAILURE() << where << ": not a planora::Error: " << other.what();
        return false;
    }
}

TEST(BoardFuzz, EveryRunWritesAWholeBoardOrFailsWithAMessageLeavingTheOldOne) {
    const auto seed = static_cast<std::uint64_t>(setting("PLANORA_FUZZ_SEED", 20261208));
    const auto seconds = setting("PLANORA_FUZZ_SECONDS", 40);
    Generator random(seed);
    const ScratchFolder scratch;
    Tally tally;
    const auto stop = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    bool sound = true;
    while (sound && std::chrono::steady_clock::now() < stop) {
        const std::filesystem::path folder = scratch.path() / std::to_string(tally.folders++);
        std::filesystem::create_directory(folder);
        writeRandomHotel(folder, random);
        std::ofstream(folder / "FD", std::ios::binary) << "PREVIOUS BOARD";
        for (int request = 0; sound && request < 8; ++request) {
            const std::string where = "seed " + std::to_string(seed) + ", folder " +
                                      std::to_string(tally.folders - 1) + ", request " +
                                      std::to_string(request);
            sound = checkOneRun(folder, random, tally, where);
        }
        EXPECT_EQ(otherFiles(folder), std::vector<std::string>{}) << "temporary files left";
        std::filesystem::remove_all(folder);
    }
    std::cout << "board fuzz: seed " << seed << ", " << tally.folders << " data folders, "
              << tally.runs << " runs: " << tally.boards << " boards (" << tally.rows / 2
              << " room rows, " << tally.warnings << " warnings), " << tally.errors
              << " refused with a message; " << tally.refusedRequests
              << " requests refused by the checks\n";
    for (const auto& [kind, count] : tally.errorKinds) {
        std::cout << "  " << count << " x " << kind << "...\n";
    }
    EXPECT_GT(tally.boards, 0) << "no run wrote a board: the generator is too hostile";
    EXPECT_GT(tally.errors, 0) << "no run was refused: the generator is too tame";
}

}  // namespace
}  // namespace planora::boardtest
