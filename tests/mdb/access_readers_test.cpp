// The reader programs of a run: one serves the reads of all the run's Access files, and one
// that failed, met a damaged file or died while waiting is replaced without the run noticing.

#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <memory>

#include "db/access_backend.h"
#include "db/access_readers.h"
#include "db/database.h"
#include "db/error.h"
#include "tests/db/access_process_check.h"
#include "tests/db/sqlite_fixture.h"
#include "tests/mdb/mdb_test_support.h"

namespace planora::mdbtest {
namespace {

using db::Value;

TableContent rooms(const std::string& name, int count) {
    TableContent table{
        name,
        {{"NumeroCamera", jet::ColumnType::Text}, {"Piano", jet::ColumnType::LongInteger}},
        {}};
    for (int i = 0; i < count; ++i) {
        table.rows.push_back({Value::text(std::to_string(101 + i)), Value::integer(i / 10)});
    }
    return table;
}

class AccessReadersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        writeTables(tableau_, {rooms("Tableau", 30)});
        writeTables(numbers_, {rooms("NumeriCamere", 12), rooms("Piani", 3)});
    }
    void TearDown() override {
        EXPECT_TRUE(test::noChildLeft()) << "a reader process was left behind";
    }

    // Every table read when first asked for, as in large files.
    static std::shared_ptr<db::AccessReaders> readers() {
        db::AccessReadLimits limits = generousLimits();
        limits.readAllTablesUpToFileBytes = 0;
        return std::make_shared<db::AccessReaders>(limits);
    }

    static std::size_t rowsOf(const db::Backend& backend, const std::string& table) {
        return backend.loadTable(table)->rowCount();
    }

    testing::TempFolder folder_;
    const std::filesystem::path tableau_ = folder_.path() / "Tableau.mdb";
    const std::filesystem::path numbers_ = folder_.path() / "NumeriCamere.mdb";
};

TEST_F(AccessReadersTest, OneReaderServesEveryReadOfTheRun) {
    auto shared = readers();
    {
        const auto tableau = db::openAccessBackend(tableau_, shared);
        const auto numbers = db::openAccessBackend(numbers_, shared);
        EXPECT_EQ(rowsOf(*numbers, "Piani"), 3u);
        EXPECT_EQ(rowsOf(*tableau, "Tableau"), 30u);
        const auto table = numbers->loadTable("NumeriCamere");
        ASSERT_EQ(table->rowCount(), 12u);
        EXPECT_EQ(table->value(11, 0), Value::text("112"));
        EXPECT_EQ(table->value(11, 1), Value::integer(1));
    }
    EXPECT_EQ(shared->programsStarted(), 1u);
    EXPECT_NE(test::childOf(::getpid()), 0) << "the reader waits for the next read";
    shared.reset();
    EXPECT_EQ(test::childOf(::getpid()), 0) << "the reader outlived the run";
}

// A read runs its reader beside the thread that asked, on one processor, and leaves the thread
// free to run anywhere again.
TEST_F(AccessReadersTest, AReadLeavesItsReaderBesideTheThreadAndTheThreadAsItWas) {
    cpu_set_t before;
    ASSERT_EQ(pthread_getaffinity_np(pthread_self(), sizeof before, &before), 0);
    auto shared = readers();
    const auto tableau = db::openAccessBackend(tableau_, shared);
    const auto numbers = db::openAccessBackend(numbers_, shared);
    EXPECT_EQ(rowsOf(*tableau, "Tableau"), 30u);
    EXPECT_EQ(rowsOf(*numbers, "Piani"), 3u);
    cpu_set_t after;
    ASSERT_EQ(pthread_getaffinity_np(pthread_self(), sizeof after, &after), 0);
    EXPECT_TRUE(CPU_EQUAL(&before, &after));
    const pid_t reader = test::childOf(::getpid());
    ASSERT_NE(reader, 0);
    cpu_set_t readerProcessors;
    ASSERT_EQ(sched_getaffinity(reader, sizeof readerProcessors, &readerProcessors), 0);
    EXPECT_EQ(CPU_COUNT(&readerProcessors), 1);

    // The thread moved elsewhere: its next read brings the waiting reader along.
    int elsewhere = -1;
    for (int cpu = 0; cpu < CPU_SETSIZE && elsewhere < 0; ++cpu) {
        if (CPU_ISSET(cpu, &before) && !CPU_ISSET(cpu, &readerProcessors)) {
            elsewhere = cpu;
        }
    }
    if (elsewhere < 0) {
        GTEST_SKIP() << "one processor only";
    }
    cpu_set_t moved;
    CPU_ZERO(&moved);
    CPU_SET(elsewhere, &moved);
    ASSERT_EQ(pthread_setaffinity_np(pthread_self(), sizeof moved, &moved), 0);
    EXPECT_EQ(numbers->loadTable("NumeriCamere")->rowCount(), 12u);
    ASSERT_EQ(sched_getaffinity(reader, sizeof readerProcessors, &readerProcessors), 0);
    pthread_setaffinity_np(pthread_self(), sizeof before, &before);
    EXPECT_EQ(test::childOf(::getpid()), reader) << "the same reader served";
    EXPECT_TRUE(CPU_EQUAL(&readerProcessors, &moved));
}

TEST_F(AccessReadersTest, AStatementOverAnotherFileIsReadByTheSameReader) {
    auto shared = readers();
    {
        const auto tableau = db::Database::open(folder_.path(), "Tableau.mdb", shared);
        const auto inRange = tableau.openRecordset(
            "Select * From Tableau Where NumeroCamera In (Select NumeroCamera From NumeriCamere "
            "In 'NumeriCamere.mdb' Where Piano = 1)");
        EXPECT_EQ(inRange.recordCount(), 2u);  // 111 and 112
        EXPECT_EQ(test::childrenOf(::getpid()).size(), 1u) << "one reader for both files";
    }
    EXPECT_EQ(shared->programsStarted(), 1u);
}

TEST_F(AccessReadersTest, FilesOpenedOnTheirOwnHaveReadersOfTheirOwn) {
    const auto tableau = db::openAccessBackend(tableau_, generousLimits());
    const auto numbers = db::openAccessBackend(numbers_, generousLimits());
    EXPECT_EQ(rowsOf(*tableau, "Tableau"), 30u);
    EXPECT_EQ(rowsOf(*numbers, "NumeriCamere"), 12u);
}

TEST_F(AccessReadersTest, AReaderThatDiedWhileWaitingIsReplaced) {
    const auto shared = readers();
    const auto tableau = db::openAccessBackend(tableau_, shared);
    const pid_t waiting = test::childOf(::getpid());
    ASSERT_NE(waiting, 0);
    ASSERT_EQ(::kill(waiting, SIGKILL), 0);
    EXPECT_EQ(rowsOf(*tableau, "Tableau"), 30u);
    EXPECT_EQ(shared->programsStarted(), 2u);
}

TEST_F(AccessReadersTest, AReaderThatMetADamagedFileDoesNotServeAgain) {
    const auto shared = readers();
    const auto damaged = folder_.path() / "Rotto.mdb";
    std::ofstream(damaged) << std::string(8192, 'x');
    EXPECT_THROW(db::openAccessBackend(damaged, shared), Error);
    const std::size_t afterDamage = shared->programsStarted();
    const auto tableau = db::openAccessBackend(tableau_, shared);
    EXPECT_EQ(rowsOf(*tableau, "Tableau"), 30u);
    EXPECT_EQ(shared->programsStarted(), afterDamage + 1);
    const auto numbers = db::openAccessBackend(numbers_, shared);
    EXPECT_EQ(rowsOf(*numbers, "Piani"), 3u);
    EXPECT_EQ(shared->programsStarted(), afterDamage + 1) << "a sound reader serves on";
}

}  // namespace
}  // namespace planora::mdbtest
