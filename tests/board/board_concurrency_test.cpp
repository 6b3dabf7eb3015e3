// Ten `planora board` processes of one station at once, each for another date: every run
// succeeds and the board file is, whenever it is read, exactly one of their boards (title, rows
// and totals of one request), never a mix. The rounds can be raised by hand:
//   PLANORA_CONCURRENT_ROUNDS=20 planora_tests_board --gtest_filter='BoardConcurrency*'

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "board/builder.h"
#include "tests/board/board_fixture.h"

extern char** environ;

namespace planora::boardtest {
namespace {

namespace fs = std::filesystem;

constexpr int kProcesses = 10;
constexpr std::size_t kStampColumn = 117;  // the title's date and time from column 118 on

// A board without the date and time of its run, which differ between processes.
std::string withoutStamp(std::string board) {
    if (board.size() > kStampColumn + 16) {
        board.replace(kStampColumn, 16, 16, '*');
    }
    return board;
}

std::string dateOf(int index) {
    return (index + 1 < 10 ? "0" : "") + std::to_string(index + 1) + "/12/2026";
}

// Starts `planora board` for one date with the station code; returns its process id.
pid_t startBoard(const std::string& data, const std::string& date, const fs::path& errors) {
    const std::string program = std::string(PLANORA_BUILD_DIR) + "/app/planora";
    std::vector<std::string> words = {program,  "board",  "--hotel", "1",    "--tableau",
                                      "1",      "--from", "1",       "--to", "999",
                                      "--date", date,     "--data",  data};
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> environment = {"PCLocal=77"};
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::string_view(*variable).substr(0, 8) != "PCLocal=" &&
            std::string_view(*variable).substr(0, 8) != "pclocal=") {
            environment.emplace_back(*variable);
        }
    }
    std::vector<char*> envp;
    for (std::string& variable : environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = -1;
    const int status =
        posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return status == 0 ? pid : -1;
}

class BoardConcurrencyTest : public TestHotelSuite {};

TEST_F(BoardConcurrencyTest, TenRunsOfOneStationAllSucceedAndTheBoardIsAlwaysOneOfTheirs) {
    const char* roundsText = std::getenv("PLANORA_CONCURRENT_ROUNDS");
    const int rounds = roundsText != nullptr ? std::max(1, std::atoi(roundsText)) : 5;
    // The board each date must give, built alone under a station code of its own.
    std::vector<std::string> expected;
    for (int i = 0; i < kProcesses; ++i) {
        board::BoardRequest request = dayRequest();
        request.referenceDate = dateOf(i);
        const auto result =
            board::CreaTableau(request, {}, {folder(), "E" + std::to_string(i), &testClock()});
        expected.push_back(withoutStamp(readBytes(result.file)));
        fs::remove(result.file);
    }
    const fs::path board = folder() / "FD77";
    const auto isOneOfThem = [&](const std::string& bytes) {
        return std::find(expected.begin(), expected.end(), withoutStamp(bytes)) != expected.end();
    };

    int runs = 0, failures = 0, reads = 0, mixed = 0;
    const ScratchFolder logs;
    for (int round = 0; round < rounds; ++round) {
        fs::remove(board);
        std::atomic<bool> running = true;
        std::thread reader([&] {
            // Reads the board file over and over while the processes write it.
            while (running) {
                std::error_code missing;
                if (!fs::exists(board, missing)) {
                    continue;
                }
                ++reads;
                if (!isOneOfThem(readBytes(board))) {
                    ++mixed;
                }
            }
        });
        std::vector<pid_t> processes;
        for (int i = 0; i < kProcesses; ++i) {
            processes.push_back(startBoard(folder().string(), dateOf(i),
                                           logs.path() / ("err" + std::to_string(i))));
        }
        for (int i = 0; i < kProcesses; ++i) {
            int status = -1;
            ++runs;
            if (processes[i] < 0 || ::waitpid(processes[i], &status, 0) != processes[i] ||
                !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
                ++failures;
                ADD_FAILURE() << "run for " << dateOf(i) << " failed: "
                              << readBytes(logs.path() / ("err" + std::to_string(i)));
            }
        }
        running = false;
        reader.join();
        EXPECT_TRUE(isOneOfThem(readBytes(board))) << "round " << round;
        for (const auto& entry : fs::directory_iterator(folder())) {
            EXPECT_NE(entry.path().filename().string().front(), '~')
                << "temporary file left: " << entry.path();
        }
    }
    fs::remove(board);
    std::cout << "concurrent boards: " << runs << " runs of " << kProcesses
              << " processes at once, " << failures << " failed; " << reads
              << " reads of the board file, " << mixed << " mixed boards\n";
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(mixed, 0);
    EXPECT_GT(reads, 0);
}

}  // namespace
}  // namespace planora::boardtest
