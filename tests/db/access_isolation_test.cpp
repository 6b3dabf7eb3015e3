#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

#include "access_process_check.h"
#include "db/access_isolation.h"
#include "db/access_reader_program.h"
#include "db/access_request.h"
#include "sqlite_fixture.h"

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

// The texts of the one table a run of the stand-in delivered.
std::vector<std::string> listed(const IsolatedRun& run) {
    std::vector<std::string> texts;
    if (run.result.tables.size() == 1) {
        const Table& table = *run.result.tables[0];
        for (std::size_t row = 0; row < table.rowCount(); ++row) {
            texts.push_back(table.value(row, 0).asText());
        }
    }
    return texts;
}

class IsolatedReader : public ::testing::Test {
  protected:
    void SetUp() override { descriptorsBefore_ = test::openDescriptorCount(); }
    void TearDown() override {
        EXPECT_EQ(test::openDescriptorCount(), descriptorsBefore_) << "a descriptor stayed open";
        EXPECT_TRUE(test::noChildLeft()) << "a reader process was left behind";
    }
    // A run of the stand-in reader in the given mode.
    static IsolatedRun run(std::vector<std::string> mode,
                           const AccessReadLimits& limits = quickLimits()) {
        return runIsolated({PLANORA_FAKE_READER, std::move(mode)}, limits);
    }

  private:
    int descriptorsBefore_ = 0;
};

TEST_F(IsolatedReader, ACompleteStreamDeliversItsTables) {
    const auto out = run({"table", "5000"});  // more than a pipe holds
    EXPECT_EQ(out.fault, Fault::None) << out.detail;
    ASSERT_EQ(out.result.tables.size(), 1u);
    EXPECT_EQ(out.result.tables[0]->rowCount(), 5000u);
    EXPECT_EQ(out.result.tables[0]->value(4999, 0), Value::text("5099"));
}

TEST_F(IsolatedReader, TheReaderGetsItsArgumentsAndNothingElseOfThisProcess) {
    EXPECT_EQ(listed(run({"arguments", "--table", "Camere Prenotazione", "--", "/a b/c.mdb"})),
              (std::vector<std::string>{"arguments", "--table", "Camere Prenotazione", "--",
                                        "/a b/c.mdb"}));
    // A descriptor of this process that is not marked close-on-exec does not reach the reader.
    const int inherited = ::dup(STDERR_FILENO);
    const auto descriptors = run({"descriptors"});
    ::close(inherited);
    EXPECT_EQ(listed(descriptors), (std::vector<std::string>{"0", "1", "2"}));
    // Signals blocked or ignored here (as a window program's threads may have them) are not
    // the reader's.
    sigset_t terminate, before;
    sigemptyset(&terminate);
    sigaddset(&terminate, SIGTERM);
    ::pthread_sigmask(SIG_BLOCK, &terminate, &before);
    const auto previous = ::signal(SIGPIPE, SIG_IGN);
    const auto signals = run({"signals"});
    ::signal(SIGPIPE, previous);
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    EXPECT_EQ(listed(signals), (std::vector<std::string>{"SIGTERM open", "SIGPIPE default"}));
}

TEST_F(IsolatedReader, ACrashIsCaught) {
    EXPECT_EQ(run({"abort"}).fault, Fault::Crashed);
    EXPECT_EQ(run({"kill"}).fault, Fault::Crashed);
    EXPECT_EQ(run({"fail"}).fault, Fault::Crashed);
}

TEST_F(IsolatedReader, AProgramThatCannotStartOrRefusesItsArgumentsIsNamed) {
    const auto missing = runIsolated({"/nessuna/cartella/planora-mdbread", {}}, quickLimits());
    EXPECT_EQ(missing.fault, Fault::CannotStart);
    EXPECT_EQ(describeFault(missing.fault, missing.detail, quickLimits()),
              "impossibile avviare il programma di lettura '/nessuna/cartella/planora-mdbread': il "
              "file o la cartella non esiste");
    const auto refused = run({"usage"});
    EXPECT_EQ(refused.fault, Fault::CannotStart);
    EXPECT_EQ(refused.detail,
              "il programma di lettura non ha accettato la richiesta: è di un'altra versione di "
              "planora");
}

TEST_F(IsolatedReader, AHangIsStoppedAtTheTimeLimit) {
    const auto start = std::chrono::steady_clock::now();
    const auto out = run({"hang"});
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(out.fault, Fault::TimedOut);
    EXPECT_GE(took, 500ms);
    EXPECT_LT(took, 5s);
}

TEST_F(IsolatedReader, TheClockCountsOnlyTimeWithoutData) {
    // Three steps of 300 ms each: longer than the limit in all, shorter than it each.
    const auto steps = run({"steps"});
    EXPECT_EQ(steps.fault, Fault::None) << steps.detail;
    EXPECT_EQ(steps.result.failedTables.size(), 2u);

    // A table whose rows keep coming, one every 150 ms, for four times the limit.
    const auto trickle = run({"trickle"});
    EXPECT_EQ(trickle.fault, Fault::None) << trickle.detail;
    ASSERT_EQ(trickle.result.tables.size(), 1u);
    EXPECT_EQ(trickle.result.tables[0]->rowCount(), 15u);

    // Nothing at all for 800 ms inside a table.
    const auto stuck = run({"stuck-table"});
    EXPECT_EQ(stuck.fault, Fault::TimedOut);
    ASSERT_TRUE(stuck.result.tableNames);  // what came before the fault is kept
    EXPECT_EQ(stuck.result.tableNames->size(), 1u);
}

TEST_F(IsolatedReader, MemoryGrowthIsStoppedAtTheLimit) {
    // A reader that only grows sends nothing: on a loaded machine it may take longer than the
    // quick time limit to pass the memory limit, so the clock here is a generous one.
    AccessReadLimits limits = quickLimits();
    limits.timePerTable = 20s;
    EXPECT_EQ(run({"grow"}, limits).fault, Fault::OutOfMemory);
}

TEST_F(IsolatedReader, BadStreamsAreRecognised) {
    EXPECT_EQ(run({"garbage"}).fault, Fault::Malformed);
    EXPECT_EQ(run({"cut"}).fault, Fault::BrokenOff);
    EXPECT_EQ(run({"endless"}).fault, Fault::TooMuchOutput);
}

// The real reader program, on a named pipe that no one writes: its open never returns.
class RealReaderOnAPipe : public IsolatedReader {
  protected:
    void SetUp() override {
        IsolatedReader::SetUp();
        const auto lookup = findReaderProgram(ReaderSearch::ofThisProcess());
        ASSERT_TRUE(lookup.program) << "the reader program was not built";
        program_ = *lookup.program;
        pipe_ = folder_.path() / "Bloccato.mdb";
        ASSERT_EQ(::mkfifo(pipe_.c_str(), 0600), 0);
    }
    ReaderCommand command() const {
        return {program_, readerArguments({::getpid(), pipe_, ReadRequest::everyTable()})};
    }

    testing::TempFolder folder_;
    std::filesystem::path program_;
    std::filesystem::path pipe_;
};

TEST_F(RealReaderOnAPipe, AReaderThatHangsIsKilledAndReaped) {
    EXPECT_EQ(runIsolated(command(), quickLimits()).fault, Fault::TimedOut);
}

TEST_F(RealReaderOnAPipe, AServingReaderThatHangsServesNoMore) {
    IsolatedRun first;
    const auto serving = ServingReader::start(
        {program_, readerArguments({::getpid(), pipe_, ReadRequest::everyTable(), true})},
        quickLimits(), first);
    EXPECT_EQ(first.fault, Fault::TimedOut);
    EXPECT_FALSE(serving);
}

TEST_F(RealReaderOnAPipe, AReaderDiesWithTheProgramThatStartedIt) {
    const pid_t program = ::fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        AccessReadLimits patient = quickLimits();
        patient.timePerTable = 60s;
        runIsolated({program_, readerArguments({::getpid(), pipe_, ReadRequest::everyTable()})},
                    patient);
        ::_exit(0);
    }
    pid_t reader = 0;
    for (int i = 0; i < 500 && reader == 0; ++i) {
        std::this_thread::sleep_for(10ms);
        reader = test::childOf(program);
    }
    ::kill(program, SIGKILL);
    ::waitpid(program, nullptr, 0);
    ASSERT_NE(reader, 0) << "the reader did not start";
    bool gone = false;
    for (int i = 0; i < 300 && !gone; ++i) {
        std::this_thread::sleep_for(10ms);
        gone = test::ended(reader);
    }
    EXPECT_TRUE(gone) << "reader " << reader << " outlived its program";
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
