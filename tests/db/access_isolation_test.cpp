#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "access_process_check.h"
#include "db/access_isolation.h"

namespace planora::db::access {
namespace {

using namespace std::chrono_literals;

AccessReadLimits quickLimits() {
    AccessReadLimits limits;
    limits.timePerTable = 500ms;
    limits.readerMemoryBytes = std::size_t{64} << 20;
    limits.streamBytes = std::size_t{4} << 20;
    return limits;
}

void writeTable(StreamWriter& out, int rows) {
    out.tableNames({"Camere"});
    out.tableBegin("Camere", rows, {{"NumeroCamera", ColumnType::Text}});
    for (int i = 0; i < rows; ++i) {
        const Value v = Value::text(std::to_string(100 + i));
        out.row({&v, 1});
    }
    out.tableEnd(rows);
}

class IsolatedReader : public ::testing::Test {
  protected:
    void SetUp() override { descriptorsBefore_ = test::openDescriptorCount(); }
    void TearDown() override {
        EXPECT_EQ(test::openDescriptorCount(), descriptorsBefore_) << "a descriptor stayed open";
        EXPECT_TRUE(test::noChildLeft()) << "a reader process was left behind";
    }
    IsolatedRun run(const std::function<void(int)>& reader) {
        return runIsolated(reader, quickLimits());
    }

  private:
    int descriptorsBefore_ = 0;
};

TEST_F(IsolatedReader, ACompleteStreamDeliversItsTables) {
    const auto out = run([](int fd) {
        StreamWriter writer(fd);
        writeTable(writer, 5000);  // more than a pipe holds
        writer.done();
    });
    EXPECT_EQ(out.fault, Fault::None) << out.detail;
    ASSERT_EQ(out.result.tables.size(), 1u);
    EXPECT_EQ(out.result.tables[0]->rowCount(), 5000u);
    EXPECT_EQ(out.result.tables[0]->value(4999, 0), Value::text("5099"));
}

TEST_F(IsolatedReader, ACrashIsCaught) {
    const auto aborted = run([](int fd) {
        StreamWriter writer(fd);
        writer.tableNames({"Camere"});
        std::abort();
    });
    EXPECT_EQ(aborted.fault, Fault::Crashed);
    const auto killed = run([](int) { ::kill(::getpid(), SIGKILL); });
    EXPECT_EQ(killed.fault, Fault::Crashed);
    const auto failed = run([](int) { throw std::runtime_error("lost"); });
    EXPECT_EQ(failed.fault, Fault::Crashed);
}

TEST_F(IsolatedReader, AHangIsStoppedAtTheTimeLimit) {
    const auto start = std::chrono::steady_clock::now();
    const auto out = run([](int) {
        for (;;) {
            ::pause();
        }
    });
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(out.fault, Fault::TimedOut);
    EXPECT_GE(took, 500ms);
    EXPECT_LT(took, 5s);
}

TEST_F(IsolatedReader, TheClockRestartsAtEachTable) {
    // Three steps of 300 ms each: longer than the limit in all, shorter than it each.
    const auto out = run([](int fd) {
        StreamWriter writer(fd);
        std::this_thread::sleep_for(300ms);
        writer.tableNames({"A", "B"});
        for (const char* name : {"A", "B"}) {
            std::this_thread::sleep_for(300ms);
            writer.tableFailed(name, "unreadable");
        }
        writer.done();
    });
    EXPECT_EQ(out.fault, Fault::None) << out.detail;
    EXPECT_EQ(out.result.failedTables.size(), 2u);

    const auto slowTable = run([](int fd) {
        StreamWriter writer(fd);
        writer.tableNames({"A"});
        writer.tableBegin("A", 2, {{"Sigla", ColumnType::Text}});
        std::this_thread::sleep_for(800ms);
        writer.tableEnd(0);
        writer.done();
    });
    EXPECT_EQ(slowTable.fault, Fault::TimedOut);
    ASSERT_TRUE(slowTable.result.tableNames);  // what came before the fault is kept
    EXPECT_EQ(slowTable.result.tableNames->size(), 1u);
}

TEST_F(IsolatedReader, MemoryGrowthIsStoppedAtTheLimit) {
    const auto out = run([](int) {
        std::vector<char*> blocks;
        for (;;) {
            auto* block = static_cast<char*>(std::malloc(std::size_t{16} << 20));
            std::memset(block, 1, std::size_t{16} << 20);
            blocks.push_back(block);
            std::this_thread::sleep_for(5ms);
        }
    });
    EXPECT_EQ(out.fault, Fault::OutOfMemory);
}

TEST_F(IsolatedReader, BadStreamsAreRecognised) {
    const auto garbage = run([](int fd) {
        const char bytes[] = "\x09garbage that is no message";
        [[maybe_unused]] auto n = ::write(fd, bytes, sizeof bytes);
    });
    EXPECT_EQ(garbage.fault, Fault::Malformed);

    const auto cutShort = run([](int fd) {
        StreamWriter writer(fd);
        writeTable(writer, 3);
        // no Done: the reader ended early without crashing
    });
    EXPECT_EQ(cutShort.fault, Fault::BrokenOff);

    const auto endless = run([](int fd) {
        StreamWriter writer(fd);
        writer.tableNames({"Note"});
        writer.tableBegin("Note", 0, {{"Testo", ColumnType::Text}});
        const Value text = Value::text(std::string(4096, 'x'));
        for (;;) {
            writer.row({&text, 1});
        }
    });
    EXPECT_EQ(endless.fault, Fault::TooMuchOutput);
}

TEST(IsolatedReaderFaults, ReasonsTellTheUserTheFileSeemsDamaged) {
    const auto limits = quickLimits();
    EXPECT_EQ(describeFault(Fault::Crashed, "", limits),
              "il file sembra danneggiato (il programma di lettura si è interrotto)");
    EXPECT_EQ(
        describeFault(Fault::TimedOut, "", limits),
        "il file sembra danneggiato (il programma di lettura non è andato avanti per 500 ms)");
    EXPECT_EQ(describeFault(Fault::OutOfMemory, "", limits),
              "il file sembra danneggiato (il programma di lettura ha chiesto più di 64 MiB di "
              "memoria)");
    EXPECT_EQ(describeFault(Fault::TooMuchOutput, "", limits),
              "il file sembra danneggiato (il programma di lettura ha mandato più di 4 MiB)");
    EXPECT_EQ(describeFault(Fault::Malformed, "un messaggio è fuori posto", limits),
              "il file sembra danneggiato (il programma di lettura ha mandato dati non validi: un "
              "messaggio è fuori posto)");
    EXPECT_EQ(describeFault(Fault::BrokenOff, "", limits),
              "il file sembra danneggiato (il programma di lettura si è fermato prima della fine)");
    EXPECT_EQ(describeFault(Fault::None, "", limits), "");
}

}  // namespace
}  // namespace planora::db::access
