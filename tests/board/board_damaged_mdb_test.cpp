// Boards over hotel-shaped Access files that the hotel system left damaged: cut short, bytes
// changed, pages zeroed, usage maps broken. A board is built or the run fails with a message
// naming the file; never a crash or a hang, and a failed run keeps the previous board.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <random>

#include "board/builder.h"
#include "db/error.h"
#include "tests/board/board_fixture.h"
#include "tools/demo/demo_hotel.h"
#include "tools/mdb/sqlite_to_mdb.h"

namespace planora::boardtest {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kPage = 4096;
const board::FixedClock kToday({2026, 3, 1, 9, 30, 0});
const std::string kPrevious = "THE PREVIOUS BOARD";

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::uint32_t le(const std::string& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i) {
        value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
    }
    return value;
}

// Where things are in a file of one table, as the writer lays it out: the table's definition
// is the first definition page after the catalog's; its usage map is the row it points to.
struct Layout {
    explicit Layout(const std::string& file) {
        pages = file.size() / kPage;
        for (std::size_t p = 3; p < pages && definition == 0; ++p) {
            definition = file[p * kPage] == 0x02 ? p : 0;
        }
        const std::uint32_t pointer = le(file, definition * kPage + 55, 4);
        mapPage = pointer >> 8;
        map = mapPage * kPage + le(file, mapPage * kPage + 14 + 2 * (pointer & 0xFF), 2);
        for (std::size_t p = 3; p < pages; ++p) {
            if (file[p * kPage] == 0x01 && le(file, p * kPage + 4, 4) == definition) {
                data.push_back(p);
            }
            if (file[p * kPage] == 0x05) {
                mapPages.push_back(p);
            }
        }
    }
    std::size_t pages = 0, definition = 0, mapPage = 0, map = 0;
    std::vector<std::size_t> data, mapPages;
};

struct Damage {
    std::string name;
    std::function<void(std::string&, const Layout&)> apply;
};

void zeroPage(std::string& file, std::size_t page) {
    std::memset(file.data() + page * kPage, 0, kPage);
}

void scramble(std::string& file, std::size_t from, std::size_t length, unsigned seed) {
    std::mt19937 random(seed);
    for (int i = 0; i < 24; ++i) {
        file[from + random() % length] = static_cast<char>(random());
    }
}

std::vector<Damage> damages() {
    return {
        {"cut to the header page", [](std::string& f, const Layout&) { f.resize(kPage); }},
        {"cut at half", [](std::string& f, const Layout&) { f.resize(f.size() / 2); }},
        {"cut inside the last page",
         [](std::string& f, const Layout&) { f.resize(f.size() - 2000); }},
        {"catalog definition zeroed", [](std::string& f, const Layout&) { zeroPage(f, 2); }},
        {"table definition zeroed",
         [](std::string& f, const Layout& l) { zeroPage(f, l.definition); }},
        {"table definition scrambled",
         [](std::string& f, const Layout& l) { scramble(f, l.definition * kPage, 400, 1); }},
        {"a data page zeroed",
         [](std::string& f, const Layout& l) { zeroPage(f, l.data[l.data.size() / 2]); }},
        {"data pages scrambled",
         [](std::string& f, const Layout& l) {
             for (std::size_t i = 0; i < l.data.size(); i += 3) {
                 scramble(f, l.data[i] * kPage, kPage, static_cast<unsigned>(i));
             }
         }},
        {"row counts too high",
         [](std::string& f, const Layout& l) {
             for (const std::size_t page : l.data) {
                 f[page * kPage + 12] = '\xFF';
             }
         }},
        {"row offsets past the page",
         [](std::string& f, const Layout& l) {
             std::memset(f.data() + l.data.front() * kPage + 14, 0xEF, 40);
         }},
        {"usage map of an unknown kind", [](std::string& f, const Layout& l) { f[l.map] = 7; }},
        {"usage map pointing past the end",
         [](std::string& f, const Layout& l) { std::memset(f.data() + l.map + 1, 0xFF, 63); }},
        {"usage map emptied",
         [](std::string& f, const Layout& l) { std::memset(f.data() + l.map + 1, 0, 63); }},
        {"map pages zeroed or filled",
         [](std::string& f, const Layout& l) {
             for (std::size_t i = 0; i < l.mapPages.size(); ++i) {
                 std::memset(f.data() + l.mapPages[i] * kPage, i % 2 ? 0xFF : 0, kPage);
             }
         }},
        {"usage map row removed",
         [](std::string& f, const Layout& l) {
             std::memset(f.data() + l.mapPage * kPage + 12, 0, 2);
         }},
    };
}

struct HotelFolders {
    explicit HotelFolders(int history) {
        demo::writeDemoHotel(sqlite.path(), {.rooms = 60, .cards = 300, .history = history},
                             kToday);
        jet::writeMdbFolder(sqlite.path(), mdb.path(), {2026, 3, 1, 9, 30, 0},
                            [](const std::string&) {});
    }
    ScratchFolder sqlite, mdb;
};

class DamagedHotelFiles : public ::testing::Test {
  protected:
    // A history of 20,000 cards, whose data pages are mapped by map pages; and a hotel of few.
    static void SetUpTestSuite() {
        large_ = std::make_unique<HotelFolders>(20000);
        small_ = std::make_unique<HotelFolders>(300);
    }
    static void TearDownTestSuite() {
        large_.reset();
        small_.reset();
    }

    // Every damage to each file in turn, the other files left whole.
    static void damageEach(const fs::path& pristine, const std::vector<const char*>& files) {
        // A board of a day that reads the history as well as the current files.
        const board::BoardRequest request{1, 1, "0", "9999", "10/01/2026", 1, ""};
        const std::string goodBoard =
            bytesOf(board::CreaTableau(request, {}, {pristine, "", &kToday}).file);
        const ScratchFolder work;
        for (const auto& entry : fs::directory_iterator(pristine)) {
            fs::copy_file(entry.path(), work.path() / entry.path().filename());
        }
        std::map<std::string, int> outcomes;
        for (const char* file : files) {
            const std::string original = bytesOf(pristine / file);
            const Layout layout(original);
            for (const Damage& damage : damages()) {
                SCOPED_TRACE(std::string(file) + ": " + damage.name);
                std::string bytes = original;
                damage.apply(bytes, layout);
                writeBytes(work.path() / file, bytes);
                writeBytes(work.path() / "FD", kPrevious);
                const auto start = Clock::now();
                try {
                    board::CreaTableau(request, {}, {work.path(), "", &kToday});
                    const bool same = bytesOf(work.path() / "FD") == goodBoard;
                    ++outcomes[same ? "same board" : "other board"];
                } catch (const Error& e) {
                    ++outcomes["error"];
                    EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
                    EXPECT_EQ(bytesOf(work.path() / "FD"), kPrevious);
                }
                EXPECT_LT(Clock::now() - start, std::chrono::seconds(30)) << "a reader hung";
            }
            writeBytes(work.path() / file, original);
        }
        std::cout << "damaged hotel files:";
        for (const auto& [outcome, count] : outcomes) {
            std::cout << " " << outcome << " " << count;
        }
        std::cout << "\n";
        EXPECT_GT(outcomes["error"], 0);
    }

    static inline std::unique_ptr<HotelFolders> large_, small_;
};

TEST_F(DamagedHotelFiles, TheHistoryWithItsMapPages) {
    const Layout history(bytesOf(large_->mdb.path() / "SchedaStoricoClienti.mdb"));
    ASSERT_FALSE(history.mapPages.empty()) << "the history must be big enough for map pages";
    damageEach(large_->mdb.path(), {"SchedaStoricoClienti.mdb"});
}

TEST_F(DamagedHotelFiles, TheFilesOfTheCurrentStays) {
    damageEach(small_->mdb.path(),
               {"Scheda_Cliente.mdb", "NumeriCamere.mdb", "Camere_Prenotazione.mdb"});
}

}  // namespace
}  // namespace planora::boardtest
