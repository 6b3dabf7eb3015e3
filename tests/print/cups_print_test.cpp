// Raw jobs through a real CUPS server that the test starts itself: the queue's backend must
// receive every byte, and a job that CUPS refuses, that fails or that waits on a stopped
// printer must be reported and cancelled.
#include <gtest/gtest.h>

#include <chrono>

#include "cups_server.h"
#include "db/error.h"
#include "print/cups_job.h"
#include "print/print_run.h"
#include "print_fixture.h"

namespace planora::print {
namespace {

using testing::groups;

class CupsPrintTest : public testing::CupsFolderTest {
  protected:
    void SetUp() override {
        CupsFolderTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        testing::PrintData data;
        data.destinations = {{1, "Ricevimento", 1, "Ufficio"}, {1, "Altrove", 1, "altro.prn"}};
        data.commandSets = {{1, groups({27, 15, 0, 0, 0, 0, 27, 18}), groups({0, 0, 0, 0, 0, 1})}};
        data.counters = {{1, 70, 60}};
        writeData(data);
        writeBoard({"Tableau \xB3 CITT\xC0", "\f", "seconda pagina"});
    }

    PrintJob job(const std::string& destination, const std::string& printer = "") const {
        PrintOptions options;
        options.destination = destination;
        options.printer = printer;
        return preparePrint({folder_, "", 1, ""}, options);
    }

    // The failure a print gives, or "" when it printed.
    std::string failureOf(const PrintJob& printJob) const {
        try {
            printRaw(printJob);
        } catch (const Error& error) {
            ::testing::Test::RecordProperty("message", error.what());
            return error.what();
        }
        return "";
    }
};

TEST_F(CupsPrintTest, ARawJobReachesTheQueuesDeviceByteForByte) {
    const auto out = folder_ / "ricevuto.bin";
    ASSERT_TRUE(cups_->addQueue("Ufficio", "planoratest:" + out.string()));
    EXPECT_TRUE(isCupsQueue("Ufficio"));
    EXPECT_TRUE(isCupsQueue("ufficio"));  // CUPS names are without regard to case
    EXPECT_FALSE(isCupsQueue("Cantina"));

    const PrintJob printJob = job("Ricevimento");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(printRaw(printJob), "Ufficio");
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started);
    RecordProperty("round_trip_ms", static_cast<int>(took.count()));
    EXPECT_EQ(get("ricevuto.bin"), rawStream(printJob.boardLines, rawLayout(printJob), 1));
    EXPECT_EQ(get("ricevuto.bin"), std::string("\x1B\x12\0\0\0", 5) +
                                       " \r\nTableau | CITT-\r\n\f \r\nseconda pagina\r\n\f");
    EXPECT_EQ(cups_->pendingJobs(), "");
}

TEST_F(CupsPrintTest, TheChosenPrinterTakesThePlaceOfTheDestinationsLine) {
    const auto out = folder_ / "scelta.bin";
    ASSERT_TRUE(cups_->addQueue("Scelta", "planoratest:" + out.string()));
    EXPECT_EQ(printRaw(job("Altrove", "Scelta")), "Scelta");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "altro.prn"));
    EXPECT_EQ(get("scelta.bin").substr(0, 2), "\x1B\x12");
}

TEST_F(CupsPrintTest, AQueueThatRejectsJobsIsReported) {
    ASSERT_TRUE(cups_->addQueue("Ufficio", "planoratest:" + (folder_ / "x.bin").string()));
    ASSERT_TRUE(cups_->run("cupsreject Ufficio"));
    const std::string failure = failureOf(job("Ricevimento"));
    EXPECT_NE(failure.find("La stampante 'Ufficio' non ha accettato la stampa: non accetta stampe"),
              std::string::npos)
        << failure;
    EXPECT_FALSE(std::filesystem::exists(folder_ / "x.bin"));
}

TEST_F(CupsPrintTest, AJobThatFailsIsReportedWithThePrintersReason) {
    ASSERT_TRUE(
        cups_->addQueue("Ufficio", "planoratest:fail", "-o printer-error-policy=abort-job"));
    const std::string failure = failureOf(job("Ricevimento"));
    EXPECT_NE(failure.find("sulla stampante 'Ufficio' è fallita"), std::string::npos) << failure;
    EXPECT_EQ(cups_->pendingJobs(), "");
}

TEST_F(CupsPrintTest, AJobWaitingOnAStoppedPrinterIsCancelledAndReported) {
    ASSERT_TRUE(
        cups_->addQueue("Ufficio", "planoratest:fail", "-o printer-error-policy=stop-printer"));
    const std::string failure = failureOf(job("Ricevimento"));
    EXPECT_NE(failure.find("La stampante 'Ufficio' è ferma"), std::string::npos) << failure;
    EXPECT_NE(failure.find("è stata annullata"), std::string::npos) << failure;
    EXPECT_EQ(cups_->pendingJobs(), "");  // nothing left to print later as a surprise
}

}  // namespace
}  // namespace planora::print
