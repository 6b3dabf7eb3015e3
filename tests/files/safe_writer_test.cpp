#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "db/error.h"
#include "files/safe_writer.h"
#include "files_fixture.h"

namespace planora::files {
namespace {

namespace fs = std::filesystem;

using SafeWriter = testing::FolderTest;

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

TEST_F(SafeWriter, ReplacesTheWholeFileAndLeavesNoTemporary) {
    put("FD", "an old and longer board");
    writeFileSafely(folder_ / "FD", "new");
    EXPECT_EQ(get("FD"), "new");
    EXPECT_EQ(names(), std::vector<std::string>{"FD"});
    writeFileSafely(folder_ / "fd.csv", "");
    EXPECT_EQ(names(), (std::vector<std::string>{"FD", "fd.csv"}));
    EXPECT_EQ(get("fd.csv"), "");
}

TEST_F(SafeWriter, UncommittedFileLeavesTheTargetAsItWas) {
    put("FD", "old");
    {
        SafeFile file(folder_ / "FD");
        file.write("half a board");
        EXPECT_TRUE(fs::exists(file.temporary()));
        EXPECT_EQ(file.temporary().parent_path(), folder_);
    }
    EXPECT_EQ(get("FD"), "old");
    EXPECT_EQ(names(), std::vector<std::string>{"FD"});
}

TEST_F(SafeWriter, PlacedWritesFillGapsAndOverwriteInPlace) {
    put("data.mdb", "old");
    SafeFile file(folder_ / "data.mdb");
    file.writeAt(6, "tail");
    file.writeAt(0, "head");
    file.writeAt(2, "AD");
    EXPECT_EQ(get("data.mdb"), "old") << "the target changes only at commit";
    file.commit();
    EXPECT_EQ(get("data.mdb"), std::string("heAD\0\0tail", 10));
}

TEST_F(SafeWriter, TemporaryNamesAreUniquePerWriter) {
    SafeFile first(folder_ / "FD");
    SafeFile second(folder_ / "FD");
    EXPECT_NE(first.temporary(), second.temporary());
}

TEST_F(SafeWriter, ALinkAtTheTargetIsReplacedNeverFollowed) {
    put("secret", "not to be touched");
    fs::create_symlink(folder_ / "secret", folder_ / "FD");
    writeFileSafely(folder_ / "FD", "board");
    EXPECT_EQ(get("secret"), "not to be touched");
    EXPECT_FALSE(fs::is_symlink(folder_ / "FD"));
    EXPECT_EQ(get("FD"), "board");
}

TEST_F(SafeWriter, NewFilesFollowTheUmask) {
    const mode_t old = ::umask(022);
    writeFileSafely(folder_ / "FD", "board");
    ::umask(old);
    EXPECT_EQ(fs::status(folder_ / "FD").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
}

TEST_F(SafeWriter, AFolderInTheWayIsNamed) {
    fs::create_directory(folder_ / "FD");
    EXPECT_EQ(errorOf([&] { writeFileSafely(folder_ / "FD", "x"); }),
              "'" + (folder_ / "FD").string() +
                  "' non è un file ma una cartella o un altro oggetto: rinominarlo o spostarlo "
                  "altrove");
}

TEST_F(SafeWriter, AMissingFolderGivesTheSystemsReason) {
    EXPECT_EQ(errorOf([&] { writeFileSafely(folder_ / "nowhere" / "FD", "x"); }),
              "Impossibile creare un file temporaneo nella cartella '" +
                  (folder_ / "nowhere").string() + "': il file o la cartella non esiste");
}

// In a child process without the rights to write in the folder: as root, the child drops to
// the unprivileged user "nobody"; otherwise the folder loses its write permission.
TEST_F(SafeWriter, AFolderWithoutWriteRightsKeepsTheOldFileAndSaysWhy) {
    put("FD", "old");
    fs::permissions(folder_,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        const std::string text = errorOf([&] { writeFileSafely(folder_ / "FD", "new"); });
        const bool right = text == "Impossibile creare un file temporaneo nella cartella '" +
                                       folder_.string() + "': permesso negato";
        ::_exit(right ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(get("FD"), "old");
}

TEST_F(SafeWriter, ConcurrentWritersLeaveOneWholeContent) {
    constexpr int kWriters = 8;
    constexpr int kRounds = 40;
    std::vector<std::string> contents;
    for (int w = 0; w < kWriters; ++w) {
        contents.push_back(std::string(10000 + w * 997, static_cast<char>('a' + w)));
    }
    std::vector<std::thread> writers;
    std::atomic<int> failures = 0;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&, w] {
            for (int round = 0; round < kRounds; ++round) {
                try {
                    writeFileSafely(folder_ / "FD", contents[static_cast<std::size_t>(w)]);
                } catch (const Error&) {
                    ++failures;
                }
            }
        });
    }
    for (auto& writer : writers) {
        writer.join();
    }
    EXPECT_EQ(failures, 0);
    EXPECT_NE(std::find(contents.begin(), contents.end(), get("FD")), contents.end());
    EXPECT_EQ(names(), std::vector<std::string>{"FD"});
}

TEST_F(SafeWriter, ReadFileNamesWhatItCannotRead) {
    put("FD", std::string("a\0b", 3));
    EXPECT_EQ(readFile(folder_ / "FD"), std::string("a\0b", 3));
    EXPECT_EQ(errorOf([&] { readFile(folder_ / "missing"); }),
              "Impossibile leggere il file '" + (folder_ / "missing").string() +
                  "': il file o la cartella non esiste");
    EXPECT_EQ(errorOf([&] { readFile(folder_); }),
              "'" + folder_.string() +
                  "' non è un file ma una cartella o un altro oggetto: rinominarlo o spostarlo "
                  "altrove");
}

TEST_F(SafeWriter, ReadFileStopsAtTheBytesAskedFor) {
    const std::string big(200'000, 'x');
    put("grande", big + "fine");
    EXPECT_EQ(readFile(folder_ / "grande", 3), "xxx");
    EXPECT_EQ(readFile(folder_ / "grande", 0), "");
    EXPECT_EQ(readFile(folder_ / "grande", big.size() + 2), big + "fi");
    EXPECT_EQ(readFile(folder_ / "grande", big.size() + 100), big + "fine");
}

}  // namespace
}  // namespace planora::files
