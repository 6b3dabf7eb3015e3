// System-printer mode on a printer of a private CUPS server: Qt lists the queue, the board
// reaches it as one PDF job with the options of the menu.
#include <gtest/gtest.h>

#include "board_pdf.h"
#include "db/error.h"
#include "print/qt/stampa.h"
#include "print/qt/system_printers.h"
#include "tests/print/cups_server.h"

namespace planora::print {
namespace {

using testing::groups;

class SystemPrinterTest : public testing::CupsFolderTest {
  protected:
    void SetUp() override {
        CupsFolderTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        testing::PrintData data;
        data.destinations = {{1, "Laser", 2, "Ufficio"},
                             {1, "Stampante PDF", 2, "Ufficio"},
                             {1, "Senza", 2, "Nessuna"}};
        data.commandSets = {{2, groups({7, 0, 0, 0, 0, 1, 9}), groups({0, 0, 0, 0, 0, 1})}};
        writeData(data);
        writeBoard(testing::boardLines({testing::guestRow("101", "Rossi Mario", "Ferrari")}));
    }

    qt::PrintOutcome print(const std::string& destination, bool duplex = false) const {
        PrintOptions options;
        options.destination = destination;
        options.duplex = duplex;
        return qt::stampa({folder_, "", 1, ""}, options);
    }
};

TEST_F(SystemPrinterTest, TheBoardReachesThePrinterAsOnePdfJob) {
    const auto out = folder_ / "laser.pdf";
    ASSERT_TRUE(cups_->addQueue("Ufficio", "planoratest:" + out.string()));
    EXPECT_EQ(qt::installedPrinter("ufficio"), "Ufficio");
    const qt::PrintOutcome outcome = print("Laser", true);
    EXPECT_EQ(outcome.kind, qt::PrintOutcome::Kind::SystemPrinter);
    EXPECT_EQ(outcome.where, "Ufficio");
    EXPECT_EQ(get("laser.pdf").substr(0, 5), "%PDF-");
    const std::string row = testing::lineWith(testing::pdfText(out), "Rossi Mario");
    EXPECT_EQ(row.find("Ferrari") - row.find("Rossi"), 26u) << row;
    EXPECT_NE(get("laser.pdf.options").find("sides=two-sided-long-edge"), std::string::npos)
        << get("laser.pdf.options");
}

TEST_F(SystemPrinterTest, APdfDestinationOnAnInstalledPrinterPrintsThere) {
    ASSERT_TRUE(cups_->addQueue("Ufficio", "planoratest:" + (folder_ / "pdf.pdf").string()));
    const qt::PrintOutcome outcome = print("Stampante PDF");
    EXPECT_EQ(outcome.kind, qt::PrintOutcome::Kind::SystemPrinter);
    EXPECT_TRUE(std::filesystem::exists(folder_ / "pdf.pdf"));
    EXPECT_FALSE(std::filesystem::exists(folder_ / "fd.pdf"));
}

TEST_F(SystemPrinterTest, WithoutTheNamedPrinterTheDefaultOneOrAMessage) {
    try {
        print("Senza");
        FAIL() << "printed without a printer";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "La stampante 'Nessuna' non è installata e non c'è una stampante di sistema "
                  "predefinita: sceglierne una dall'elenco delle stampanti");
    }
    const auto out = folder_ / "predefinita.pdf";
    ASSERT_TRUE(cups_->addQueue("Banco", "planoratest:" + out.string()));
    ASSERT_TRUE(cups_->run("lpadmin -d Banco"));
    EXPECT_EQ(print("Senza").where, "Banco");
    EXPECT_EQ(get("predefinita.pdf").substr(0, 5), "%PDF-");
}

}  // namespace
}  // namespace planora::print
