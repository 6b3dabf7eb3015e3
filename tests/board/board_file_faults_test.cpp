// Faults of the board file's folder, made real: a full disk and a read-only disk (a small tmpfs,
// when the tests may mount one), a read-only folder, a link planted at the board file, a folder
// in its way. Each run fails with the system's reason in Italian and leaves the old board, or
// writes the board without touching what is not the board file.

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "board/builder.h"
#include "db/error.h"
#include "tests/board/board_fixture.h"

namespace planora::boardtest {
namespace {

namespace fs = std::filesystem;

// The names of a folder that are neither database files nor the board file.
std::vector<std::string> strayFiles(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".sqlite" && name != "FD" && name != "filler") {
            names.push_back(name);
        }
    }
    return names;
}

class BoardFileFaultsTest : public TestHotelSuite {
  protected:
    void TearDown() override {
        if (mounted_) {
            ::umount2(mount_.c_str(), MNT_DETACH);
        }
    }

    // A data folder of its own with the test hotel's databases and an old board.
    fs::path copyOfTheHotel(const fs::path& where) {
        fs::create_directories(where);
        for (const auto& entry : fs::directory_iterator(folder())) {
            if (entry.path().extension() == ".sqlite") {
                fs::copy_file(entry.path(), where / entry.path().filename());
            }
        }
        std::ofstream(where / "FD", std::ios::binary) << "OLD BOARD";
        return where;
    }

    // A tmpfs of `size` bytes holding a copy of the hotel; empty (the test is skipped) when the
    // tests may not mount one.
    std::optional<fs::path> hotelOnTmpfs(std::size_t size) {
        mount_ = scratch_.path() / "mount";
        fs::create_directories(mount_);
        const std::string options = "size=" + std::to_string(size);
        if (::mount("tmpfs", mount_.c_str(), "tmpfs", 0, options.c_str()) != 0) {
            reason_ =
                std::string("mounting a tmpfs is not permitted here: ") + std::strerror(errno);
            return std::nullopt;
        }
        mounted_ = true;
        return copyOfTheHotel(mount_ / "dati");
    }

    static std::string refusal(const fs::path& data) {
        try {
            board::CreaTableau(dayRequest(), {}, {data, "", &testClock()});
        } catch (const Error& error) {
            return error.what();
        }
        ADD_FAILURE() << "the run did not fail";
        return {};
    }

    ScratchFolder scratch_;
    fs::path mount_;
    bool mounted_ = false;
    std::string reason_;
};

TEST_F(BoardFileFaultsTest, AFullDiskIsNamedAndTheOldBoardStays) {
    const auto data = hotelOnTmpfs(1 << 20);
    if (!data) {
        GTEST_SKIP() << reason_;
    }
    // Fill what is left of the disk.
    {
        std::ofstream filler(*data / "filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size())) {
        }
    }
    const std::string message = refusal(*data);
    EXPECT_NE(message.find("il disco è pieno"), std::string::npos) << message;
    EXPECT_NE(message.find(data->string()), std::string::npos) << message;
    EXPECT_EQ(readBytes(*data / "FD"), "OLD BOARD");
    EXPECT_EQ(strayFiles(*data), std::vector<std::string>{});
}

TEST_F(BoardFileFaultsTest, AReadOnlyFolderIsNamedAndTheOldBoardStays) {
    fs::path data;
    std::string reason;
    if (::geteuid() == 0) {
        // Root passes over permissions: a disk mounted read-only stops it.
        const auto onTmpfs = hotelOnTmpfs(4 << 20);
        if (!onTmpfs) {
            GTEST_SKIP() << reason_;
        }
        ASSERT_EQ(::mount(nullptr, mount_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0)
            << std::strerror(errno);
        data = *onTmpfs;
        reason = "il disco o la cartella è di sola lettura";
    } else {
        data = copyOfTheHotel(scratch_.path() / "dati");
        fs::permissions(data, fs::perms::owner_read | fs::perms::owner_exec);
        reason = "permesso negato";
    }
    const std::string message = refusal(data);
    if (::geteuid() != 0) {
        fs::permissions(data, fs::perms::owner_all);
    }
    EXPECT_EQ(message, "Impossibile creare un file temporaneo nella cartella '" + data.string() +
                           "': " + reason);
    EXPECT_EQ(readBytes(data / "FD"), "OLD BOARD");
    EXPECT_EQ(strayFiles(data), std::vector<std::string>{});
}

TEST_F(BoardFileFaultsTest, ALinkPlantedAtTheBoardFileIsReplacedNotFollowed) {
    const fs::path data = copyOfTheHotel(scratch_.path() / "dati");
    const fs::path secret = scratch_.path() / "secret";
    std::ofstream(secret, std::ios::binary) << "SECRET";
    fs::remove(data / "FD");
    fs::create_symlink(secret, data / "FD");
    const board::BoardResult result =
        board::CreaTableau(dayRequest(), {}, {data, "", &testClock()});
    EXPECT_EQ(readBytes(secret), "SECRET") << "the link's target was written";
    EXPECT_FALSE(fs::is_symlink(data / "FD"));
    EXPECT_EQ(readBytes(result.file), goldenBytes("day"));
    EXPECT_EQ(strayFiles(data), std::vector<std::string>{});
}

TEST_F(BoardFileFaultsTest, AFolderInTheWayIsNamed) {
    const fs::path data = copyOfTheHotel(scratch_.path() / "dati");
    fs::remove(data / "FD");
    fs::create_directory(data / "fD");
    std::ofstream(data / "fD" / "inside", std::ios::binary) << "KEPT";
    EXPECT_EQ(refusal(data), "'" + (data / "fD").string() +
                                 "' non è un file ma una cartella o un altro oggetto: rinominarlo "
                                 "o spostarlo altrove");
    EXPECT_EQ(readBytes(data / "fD" / "inside"), "KEPT");
    EXPECT_EQ(strayFiles(data), std::vector<std::string>{"fD"});
}

}  // namespace
}  // namespace planora::boardtest
