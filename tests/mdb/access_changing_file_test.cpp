// The Access reader over a file that the hotel system rewrites in place while it is read: the
// rows of one version, read again when the file changed, or a stop with a message when it keeps
// changing; never a mix of versions.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <thread>

#include "board/builder.h"
#include "db/access_backend.h"
#include "db/error.h"
#include "messages/db_messages.h"
#include "tests/db/sqlite_fixture.h"
#include "tests/mdb/mdb_test_support.h"
#include "tools/demo/demo_hotel.h"
#include "tools/mdb/sqlite_to_mdb.h"

namespace planora::mdbtest {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kRows = 40'000;
constexpr std::size_t kPage = 4096;

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The same table in two versions of the same layout: every row says which version it is.
std::string versionFile(const fs::path& folder, char version) {
    TableContent table{"Scheda_Cliente",
                       {{"NumeroProgressivo", jet::ColumnType::LongInteger},
                        {"NomeCliente", jet::ColumnType::Text}},
                       {}};
    for (int r = 0; r < kRows; ++r) {
        table.rows.push_back(
            {db::Value::integer(r), db::Value::text(std::string(30, version) + "-ospite")});
    }
    const fs::path file = folder / (std::string(1, version) + ".mdb");
    writeTables(file, {table});
    return bytesOf(file);
}

// Writes the content over the file in place, page by page from the last, as a database does.
void rewriteInPlace(const fs::path& file, const std::string& content,
                    std::chrono::microseconds pause) {
    const int fd = ::open(file.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    for (std::size_t page = content.size() / kPage; page-- > 0;) {
        ASSERT_EQ(
            ::pwrite(fd, content.data() + page * kPage, kPage, static_cast<off_t>(page * kPage)),
            static_cast<ssize_t>(kPage));
        std::this_thread::sleep_for(pause);
    }
    ::close(fd);
}

// "A", "B", or "mixed" when rows of both versions came back.
std::string versionRead(const db::Table& table) {
    EXPECT_EQ(table.rowCount(), static_cast<std::size_t>(kRows));
    std::map<char, int> seen;
    for (std::size_t r = 0; r < table.rowCount(); ++r) {
        EXPECT_EQ(table.value(r, 0), db::Value::integer(static_cast<std::int64_t>(r)));
        ++seen[table.value(r, 1).asText().front()];
    }
    return seen.size() == 1 ? std::string(1, seen.begin()->first) : "mixed";
}

class ChangingAccessFile : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        versions_ = std::make_unique<Versions>();
        ASSERT_EQ(versions_->a.size(), versions_->b.size());
    }
    static void TearDownTestSuite() { versions_.reset(); }

    fs::path file() const { return folder_.path() / "Scheda_Cliente.mdb"; }
    void reset() const { testing::writeBytes(file(), versions_->a); }

    static db::AccessReadLimits limits() {
        db::AccessReadLimits limits = generousLimits();
        limits.timePerTable = 10s;
        // The file read in one run, table list and rows: the rewrite lands within that run.
        limits.readAllTablesUpToFileBytes = std::uintmax_t{64} << 20;
        return limits;
    }

    struct Versions {
        Versions() : a(versionFile(scratch.path(), 'A')), b(versionFile(scratch.path(), 'B')) {}
        testing::TempFolder scratch;
        std::string a, b;
    };
    static inline std::unique_ptr<Versions> versions_;
    testing::TempFolder folder_;
};

TEST(ChangingAccessFileMessage, SaysTheFileIsBeingWrittenAndTheBoardCanWait) {
    EXPECT_EQ(msg::accessFileBeingWritten("/dati/Scheda_Cliente.mdb"),
              "Il file '/dati/Scheda_Cliente.mdb' è cambiato mentre lo si leggeva, e poi ancora "
              "alla seconda lettura: lo sta scrivendo il programma dell'albergo. Il tableau si "
              "può rifare tra un momento");
}

// One rewrite while the table is read: the read that saw it is made again, on the new version.
TEST_F(ChangingAccessFile, OneRewriteDuringTheReadGivesOneWholeVersion) {
    std::map<std::string, int> outcomes;
    for (int round = 0; round < 4; ++round) {
        reset();
        std::thread writer(rewriteInPlace, file(), versions_->b, 100us);
        try {
            const auto backend = db::openAccessBackend(file(), limits());
            ++outcomes[versionRead(*backend->loadTable("Scheda_Cliente"))];
        } catch (const Error& e) {
            // A rewrite that outlasts a whole read as well: the second read saw it too.
            EXPECT_EQ(std::string(e.what()), msg::accessFileBeingWritten(file()));
            ++outcomes["stopped"];
        }
        writer.join();
    }
    std::cout << "one rewrite during the read:";
    for (const auto& [outcome, count] : outcomes) {
        std::cout << " " << outcome << " " << count;
    }
    std::cout << "\n";
    EXPECT_EQ(outcomes["mixed"], 0);
    EXPECT_GT(outcomes["B"], 0) << "the rewrite must land while the file is read";
}

// A writer that never stops: the run stops with the message, twice read and never mixed.
TEST_F(ChangingAccessFile, AFileThatKeepsChangingStopsTheRun) {
    reset();
    std::atomic<bool> stop = false;
    std::thread writer([&] {
        for (int n = 0; !stop; ++n) {
            rewriteInPlace(file(), n % 2 ? versions_->a : versions_->b, 20us);
        }
    });
    std::string outcome;
    try {
        const auto backend = db::openAccessBackend(file(), limits());
        outcome = versionRead(*backend->loadTable("Scheda_Cliente"));
    } catch (const Error& e) {
        outcome = e.what();
    }
    stop = true;
    writer.join();
    EXPECT_EQ(outcome, msg::accessFileBeingWritten(file()));
}

// The same at the board, over the demo hotel whose history file is being rewritten with the
// history of another demo hotel: the run stops with the message and the previous board stays.
TEST_F(ChangingAccessFile, TheBoardStopsAndKeepsThePreviousOne) {
    const board::FixedClock clock({2026, 12, 8, 9, 30, 0});
    const auto hotel = [&](const std::string& name, std::uint64_t seed) {
        const fs::path sqlite = folder_.path() / (name + "-sqlite");
        demo::writeDemoHotel(sqlite, {.rooms = 40, .cards = 60, .history = 3000, .seed = seed},
                             clock);
        jet::writeMdbFolder(sqlite, folder_.path() / name, kCreated, [](const std::string&) {});
        return folder_.path() / name;
    };
    const fs::path data = hotel("dati", 1);
    const fs::path history = data / "SchedaStoricoClienti.mdb";
    const std::string versions[] = {bytesOf(history),
                                    bytesOf(hotel("altro", 2) / "SchedaStoricoClienti.mdb")};
    testing::writeBytes(data / "FD", "THE PREVIOUS BOARD");
    std::atomic<bool> stop = false;
    std::thread writer([&] {
        for (int n = 1; !stop; ++n) {
            const std::string& content = versions[n % 2];
            ASSERT_EQ(::truncate(history.c_str(), static_cast<off_t>(content.size())), 0);
            rewriteInPlace(history, content, 20us);
        }
    });
    const std::string message = testing::errorMessage([&] {
        board::CreaTableau({1, 1, "0", "9999", "08/11/2026", 0, ""}, {}, {data, "", &clock});
    });
    stop = true;
    writer.join();
    EXPECT_NE(message.find(msg::accessFileBeingWritten(history)), std::string::npos) << message;
    EXPECT_EQ(bytesOf(data / "FD"), "THE PREVIOUS BOARD");
}

}  // namespace
}  // namespace planora::mdbtest
