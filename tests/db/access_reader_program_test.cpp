#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <thread>

#include "db/access_backend.h"
#include "db/access_reader_program.h"
#include "db/access_request.h"
#include "db/error.h"
#include "messages/db_messages.h"
#include "sqlite_fixture.h"

namespace planora::db::access {
namespace {

namespace fs = std::filesystem;

TEST(ReaderArguments, EveryRequestComesBackFromItsCommandLine) {
    const ReaderInvocation invocations[] = {
        {4242, "/dati/Tableau.mdb", ReadRequest::everyTable()},
        {7, "--all", ReadRequest::ofTable("Camere Prenotazione")},
        {1, "/dati/-x.mdb", ReadRequest::tableList(false)},
        {3, "/dati/D.mdb", ReadRequest::tableList(true)},
        {9, "/dati/S.mdb", ReadRequest::ofTable("Scheda_Cliente", "[DataArrivo] <= '-- x'")},
        {5, "--serve", ReadRequest::tableList(true), true},
        {6, "/dati/T.mdb", ReadRequest::ofTable("--serve"), true},
        {8, "/dati/A.mdb", ReadRequest::columnsOf("Storico", {3, 0, 12})},
        {8, "/dati/A.mdb", ReadRequest::columnsOf("Storico", {})},
        {8, "/dati/A.mdb", ReadRequest::rowsOf("Storico", {(1ull << 40) + 7, 65536})},
    };
    for (const auto& sent : invocations) {
        const auto received = parseReaderArguments(readerArguments(sent));
        ASSERT_TRUE(received) << sent.file;
        EXPECT_EQ(received->parent, sent.parent);
        EXPECT_EQ(received->file, sent.file);
        EXPECT_EQ(received->request.allTables, sent.request.allTables);
        EXPECT_EQ(received->request.table, sent.request.table);
        EXPECT_EQ(received->request.where, sent.request.where);
        EXPECT_EQ(received->request.definitions, sent.request.definitions);
        EXPECT_EQ(received->serve, sent.serve);
        EXPECT_EQ(received->request.columns, sent.request.columns);
        EXPECT_EQ(received->request.rows, sent.request.rows);
    }
}

TEST(ReaderArguments, MalformedCommandLinesAreRefused) {
    const std::vector<std::vector<std::string>> malformed = {
        {},
        {"--all", "--", "x.mdb"},
        {"--parent", "0", "--all", "--", "x.mdb"},
        {"--parent", "12x", "--all", "--", "x.mdb"},
        {"--parent", "12", "--table"},
        {"--parent", "12", "--all", "x.mdb"},
        {"--parent", "12", "--all", "--", ""},
        {"--parent", "12", "--all", "--", "x.mdb", "y.mdb"},
        {"--parent", "12", "--tutte", "--", "x.mdb"},
        {"--parent", "12", "--table", "T", "--where", "--", "x.mdb"},
        {"--parent", "12", "--table", "T", "--where", "", "--", "x.mdb"},
        {"--parent", "12", "--all", "--where", "A = 1", "--", "x.mdb"},
        {"--parent", "12", "--serve", "--", "x.mdb"},
        {"--serve", "--parent", "12", "--all", "--", "x.mdb"},
        {"--parent", "12", "--table", "T", "--columns", "--", "x.mdb"},
        {"--parent", "12", "--table", "T", "--columns", "1,,2", "--", "x.mdb"},
        {"--parent", "12", "--table", "T", "--columns", "1,", "--", "x.mdb"},
        {"--parent", "12", "--table", "T", "--columns", "-1", "--", "x.mdb"},
        {"--parent", "12", "--table", "T", "--rows", "7x", "--", "x.mdb"},
        {"--parent", "12", "--table", "T", "--rows", "1", "--columns", "1", "--", "x.mdb"},
        {"--parent", "12", "--all", "--rows", "1", "--", "x.mdb"},
    };
    for (const auto& arguments : malformed) {
        EXPECT_FALSE(parseReaderArguments(arguments)) << ::testing::PrintToString(arguments);
    }
}

// The frames of a serving reader's input, written to a pipe as the program writes them.
class RequestFrames : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::pipe(fds_), 0);
        requests_ = RequestReader(fds_[0]);
    }
    void TearDown() override {
        ::close(fds_[0]);
        if (fds_[1] >= 0) {
            ::close(fds_[1]);
        }
    }
    void write(const std::string& bytes) {
        ASSERT_EQ(::write(fds_[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void endInput() {
        ::close(fds_[1]);
        fds_[1] = -1;
    }
    FrameRead read(std::vector<std::string>& words) { return requests_.next(words); }

    int fds_[2] = {-1, -1};
    RequestReader requests_{-1};
};

TEST_F(RequestFrames, RequestsComeBackWordForWordUntilTheInputEnds) {
    const std::vector<std::string> first = {"--parent", "12", "--serve", "--all", "--", "/a b/c"};
    const std::vector<std::string> second = {"", std::string("a\0b", 3), "[Nome] = 'x'"};
    write(requestFrame(first) + requestFrame(second) + requestFrame({}));
    endInput();
    std::vector<std::string> words;
    ASSERT_EQ(read(words), FrameRead::Request);
    EXPECT_EQ(words, first);
    ASSERT_EQ(read(words), FrameRead::Request);
    EXPECT_EQ(words, second);
    ASSERT_EQ(read(words), FrameRead::Request);
    EXPECT_TRUE(words.empty());
    EXPECT_EQ(read(words), FrameRead::End);
}

TEST_F(RequestFrames, FramesArrivingInPiecesOrLargerThanOneReadComeBackWhole) {
    const std::vector<std::string> large = {"--where", std::string(200'000, 'x'), "end"};
    const std::string frames = requestFrame(large) + requestFrame({"next"});
    std::thread writer([&] {
        for (std::size_t at = 0; at < frames.size(); at += 777) {
            const std::string piece = frames.substr(at, 777);
            if (::write(fds_[1], piece.data(), piece.size()) !=
                static_cast<ssize_t>(piece.size())) {
                break;
            }
        }
        endInput();
    });
    std::vector<std::string> words;
    EXPECT_EQ(read(words), FrameRead::Request);
    EXPECT_EQ(words, large);
    EXPECT_EQ(read(words), FrameRead::Request);
    EXPECT_EQ(words, std::vector<std::string>{"next"});
    EXPECT_EQ(read(words), FrameRead::End);
    writer.join();
}

TEST_F(RequestFrames, AFrameCutShortOrTooLargeIsMalformed) {
    const std::string frame = requestFrame({"--parent", "12"});
    write(frame.substr(0, frame.size() - 1));
    endInput();
    std::vector<std::string> words;
    EXPECT_EQ(read(words), FrameRead::Malformed);
}

TEST_F(RequestFrames, AWordLongerThanAnyRequestIsRefusedUnread) {
    write(std::string("\x01\x00\x00\x00\xff\xff\xff\x7f", 8));
    endInput();
    std::vector<std::string> words;
    EXPECT_EQ(read(words), FrameRead::Malformed);
}

// A folder with a program file in it, and a running program of the search placed around it.
class ReaderLookupTest : public ::testing::Test {
  protected:
    fs::path makeProgram(const fs::path& folder) const {
        fs::create_directories(folder);
        const fs::path program = folder / kReaderProgramName;
        std::ofstream(program) << "#!/bin/sh\n";
        fs::permissions(program, fs::perms::owner_all);
        return program;
    }

    testing::TempFolder root;
};

TEST_F(ReaderLookupTest, BesideTheRunningProgramComesFirst) {
    const fs::path installed = makeProgram(root.path() / "bin");
    makeProgram(root.path() / "env");
    ReaderSearch search;
    search.runningProgram = root.path() / "bin" / "planora";
    search.environmentFolder = root.path() / "env";
    EXPECT_EQ(findReaderProgram(search).program, installed);
}

TEST_F(ReaderLookupTest, TheEnvironmentFolderAndTheBuildFolderFollow) {
    const fs::path named = makeProgram(root.path() / "env");
    const fs::path built = makeProgram(root.path() / "build" / "app");
    ReaderSearch search;
    search.runningProgram = root.path() / "build" / "tests" / "db" / "planora_tests_db";
    search.environmentFolder = root.path() / "env";
    search.buildRoot = root.path() / "build";
    search.buildFolder = root.path() / "build" / "app";
    EXPECT_EQ(findReaderProgram(search).program, named);
    search.environmentFolder.clear();
    EXPECT_EQ(findReaderProgram(search).program, built);
    // A program outside the build tree never takes the build's reader.
    search.runningProgram = root.path() / "usr" / "bin" / "planora";
    EXPECT_FALSE(findReaderProgram(search).program);
}

TEST_F(ReaderLookupTest, AFileThatCannotRunIsNoReader) {
    // Without any execute bit even root cannot run it.
    const fs::path program = makeProgram(root.path() / "bin");
    fs::permissions(program, fs::perms::owner_read | fs::perms::owner_write);
    ReaderSearch search;
    search.runningProgram = root.path() / "bin" / "planora";
    EXPECT_FALSE(findReaderProgram(search).program);
    // Nor is a folder of that name.
    fs::create_directories(root.path() / "other" / kReaderProgramName);
    search.runningProgram = root.path() / "other" / "planora";
    EXPECT_FALSE(findReaderProgram(search).program);
}

TEST_F(ReaderLookupTest, AMissingReaderIsNamedWithThePlacesLookedIn) {
    ReaderSearch search;
    search.runningProgram = root.path() / "bin" / "planora";
    search.environmentFolder = root.path() / "env";
    const auto lookup = findReaderProgram(search);
    EXPECT_FALSE(lookup.program);
    const std::string bin = "'" + (root.path() / "bin").string() + "'";
    const std::string env = "'" + (root.path() / "env").string() + "'";
    EXPECT_EQ(msg::readerMissing(kReaderProgramName, lookup.searched),
              "il programma di lettura \"planora-mdbread\" non si trova in " + bin + " né in " +
                  env + ": installarlo accanto a planora");
}

TEST(ReaderLookup, TestProgramsFindTheBuiltReader) {
    const auto lookup = findReaderProgram(ReaderSearch::ofThisProcess());
    ASSERT_TRUE(lookup.program);
    EXPECT_EQ(lookup.program->filename(), kReaderProgramName);
    EXPECT_EQ(lookup.program->parent_path().filename(), "app");
}

TEST(ReaderLookup, AReaderThatCannotStartStopsTheOpenWithItsReason) {
    testing::TempFolder folder;
    const fs::path file = folder.path() / "Stampanti.mdb";
    testing::writeBytes(
        file, std::string("\x00\x01\x00\x00Standard Jet DB\x00", 20) + std::string(64, '\x01'));
    AccessReadLimits limits;
    limits.readerProgram = folder.path() / "manca" / kReaderProgramName;
    EXPECT_EQ(testing::errorMessage([&] { openAccessBackend(file, limits); }),
              "Impossibile aprire il file '" + file.string() +
                  "' come database Access: impossibile avviare il programma di lettura '" +
                  limits.readerProgram.string() + "': il file o la cartella non esiste");
}

}  // namespace
}  // namespace planora::db::access
