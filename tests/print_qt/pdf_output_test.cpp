// The built-in PDF writer and the print commands of the command line, checked through the PDF
// that poppler's tools read back: text in its columns, pages, orientation, bold faces.
#include <gtest/gtest.h>

#include <sstream>

#include "board_pdf.h"
#include "cli/cli.h"
#include "cli/qt/print_commands_qt.h"
#include "db/error.h"
#include "print/qt/stampa.h"

namespace planora::print {
namespace {

using testing::groups;

class PdfOutputTest : public testing::PrintFolderTest {
  protected:
    void SetUp() override {
        PrintFolderTest::SetUp();
        testing::PrintData data;
        // "PDF vecchio" has a top margin of 9 in pages of 10 lines: one board line a page.
        data.destinations = {{1, "PDF vecchio", 5, ""},
                             {1, "Laser", 2, ""},
                             {1, "Stampante PDF", 4, ""},
                             {1, "archivio pdf", 1, "archivio.prn"},
                             {1, "Aghi", 1, "aghi.prn"}};
        data.commandSets = {{4, groups({7, 0, 0, 0, 0, 1, 9}), groups({0, 0, 0, 0, 0, 1})},
                            {5, groups({7, 0, 0, 0, 0, 1, 9}), groups({0, 0, 0, 0, 0, 9})},
                            {1, groups({27, 15, 0, 0, 0, 0, 27, 18}), groups({})}};
        data.counters = {{1, 20, 10}};
        writeData(data);
    }

    qt::PrintOutcome pdf(bool landscape = false) const {
        PrintOptions options;
        options.landscape = landscape;
        const auto outcome = qt::stampaPdf({folder_, "", 1, ""}, options);
        EXPECT_TRUE(outcome.has_value());
        return outcome.value_or(qt::PrintOutcome{});
    }

    const std::vector<std::string> rows_{
        testing::guestRow("101", "Rossi Mario", "Ferrari & Figli"),
        testing::guestRow("102", "Esposito Annalisa", "CITTÀ SRL")};
};

TEST_F(PdfOutputTest, TheLastPdfDestinationWritesThePdfOfTheDataFolder) {
    writeBoard(testing::boardLines(rows_));  // 12 lines
    const qt::PrintOutcome outcome = pdf();
    EXPECT_EQ(outcome.kind, qt::PrintOutcome::Kind::Pdf);
    EXPECT_EQ(outcome.where, (folder_ / "fd.pdf").string());
    // Pages of 10 lines with one of margin: 9 board lines, then 3 ("PDF vecchio" would give 12).
    EXPECT_EQ(testing::pdfPages(outcome.where), 2);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "archivio.prn"));
}

TEST_F(PdfOutputTest, TheBoardStandsInItsColumns) {
    writeBoard(testing::boardLines(rows_), "12");
    const auto outcome = qt::stampaPdf({folder_, "12", 1, ""}, {});
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->where, (folder_ / "fd12.pdf").string());
    const std::string text = testing::pdfText(outcome->where);
    const std::string row = testing::lineWith(text, "Rossi Mario");
    ASSERT_FALSE(row.empty()) << text;
    EXPECT_EQ(row.find("Ferrari") - row.find("Rossi"), 26u) << row;
    EXPECT_EQ(row.find("101"), row.find('|') + 1) << row;
    const std::string titles = testing::lineWith(text, "NOME CLIENTE");
    EXPECT_EQ(titles.find("NOME DITTA") - titles.find("NOME CLIENTE"), 26u) << titles;
    // Printing keeps the conversion of the frame bytes that are also capitals: À prints à.
    EXPECT_NE(text.find("CITTà SRL"), std::string::npos) << text;
}

TEST_F(PdfOutputTest, FormFeedLinesStartOneNewPageEach) {
    writeBoard({"prima", "\f", "seconda", "\f", "\f", "terza", "\f"});
    EXPECT_EQ(testing::pdfPages(pdf().where), 3);
}

TEST_F(PdfOutputTest, LandscapePagesAreWiderThanHigh) {
    writeBoard(testing::boardLines(rows_));
    std::istringstream upright(testing::pdfPageSize(pdf(false).where));
    double width = 0, height = 0;
    std::string by;
    upright >> width >> by >> height;
    EXPECT_LT(width, height);
    std::istringstream turned(testing::pdfPageSize(pdf(true).where));
    turned >> width >> by >> height;
    EXPECT_GT(width, height) << testing::pdfPageSize(folder_ / "fd.pdf");
}

TEST_F(PdfOutputTest, BoldMarksPrintInABoldFace) {
    writeBoard(testing::boardLines(rows_));
    const std::string plain = testing::pdfFonts(pdf().where);
    EXPECT_NE(plain.find("LiberationMono"), std::string::npos) << plain;
    EXPECT_NE(plain.find("LiberationSerif"), std::string::npos) << plain;
    EXPECT_EQ(plain.find("Bold"), std::string::npos) << plain;

    writeBoard(testing::boardLines({testing::guestRow("101", "çROSSIç Mario", "Ferrari")}));
    const std::filesystem::path file = pdf().where;
    EXPECT_NE(testing::pdfFonts(file).find("LiberationMono-Bold"), std::string::npos)
        << testing::pdfFonts(file);
    const std::string row = testing::lineWith(testing::pdfText(file), "ROSSI");
    EXPECT_NE(row.find("ROSSI Mario"), std::string::npos) << row;  // the marks are not printed
}

TEST_F(PdfOutputTest, APictureOfTheFirstPageIsKeptInTheTestOutput) {
    writeBoard(testing::boardLines(rows_));
    const std::filesystem::path output = std::filesystem::path(PLANORA_BUILD_DIR) / "test-output";
    std::filesystem::create_directories(output);
    std::filesystem::remove(output / "print-board-1.png");
    testing::commandOutput("pdftoppm -png -r 72 -f 1 -l 1 -singlefile '" + pdf().where + "' '" +
                           (output / "print-board-1").string() + "'");
    ASSERT_TRUE(std::filesystem::exists(output / "print-board-1.png"));
    EXPECT_GT(std::filesystem::file_size(output / "print-board-1.png"), 1000u);
}

struct CliOutcome {
    int status;
    std::string out, err;
};

CliOutcome runCli(std::vector<std::string> words) {
    cli::addPrintCommands();
    words.insert(words.begin(), "planora");
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    std::ostringstream out, err;
    const int status = cli::run(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

TEST_F(PdfOutputTest, TheCommandLineRunsTheSameCommands) {
    writeBoard(testing::boardLines(rows_));
    const CliOutcome pdfRun = runCli({"pdf", "--data", folder_.string(), "--landscape"});
    EXPECT_EQ(pdfRun.status, 0) << pdfRun.err;
    EXPECT_EQ(pdfRun.out, (folder_ / "fd.pdf").string() + "\n");
    EXPECT_EQ(testing::pdfPages(folder_ / "fd.pdf"), 2);

    const CliOutcome raw = runCli({"print", "--destination", "Aghi", "--data", folder_.string()});
    EXPECT_EQ(raw.status, 0) << raw.err;
    EXPECT_EQ(raw.out, (folder_ / "aghi.prn").string() + "\n");
    EXPECT_EQ(get("aghi.prn").substr(0, 5), std::string("\x1B\x12\0\0\0", 5));

    const CliOutcome unknown =
        runCli({"print", "--destination", "Cantina", "--data", folder_.string()});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err,
              "planora: La destinazione di stampa 'Cantina' non esiste nella tabella Stampanti "
              "di Stampanti.mdb\n");
    EXPECT_EQ(runCli({"print", "--data", folder_.string()}).status, 2);  // no destination
    const CliOutcome stray = runCli({"pdf", "fd.pdf", "--data", folder_.string()});
    EXPECT_EQ(stray.status, 2);
    EXPECT_EQ(stray.err.rfind("planora pdf: argomento inatteso 'fd.pdf'\n", 0), 0u) << stray.err;
    const CliOutcome help = runCli({"print", "--help"});
    for (const char* option : {"--destination", "--printer", "--compressed", "--landscape",
                               "--duplex", "--hotel", "--data"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
}

TEST(PdfCommandLine, WithoutAPdfDestinationItSaysSo) {
    testing::PrintFolderTest::TearDownTestSuite();
    std::string pattern = (std::filesystem::temp_directory_path() / "planora-pdf-XXXXXX");
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    {
        demo::HotelData data(pattern);
        data.insert(
            "Stampanti", "Stampanti",
            {{"NumeroHotel", 1}, {"Destinazione", "solo pdf minuscolo"}, {"TipoStampa", 1}});
    }
    std::ofstream(std::filesystem::path(pattern) / "FD") << "x\r\n";
    const CliOutcome outcome = runCli({"pdf", "--data", pattern});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "planora: Nessuna stampante PDF impostata!\n");
    std::filesystem::remove_all(pattern);
}

}  // namespace
}  // namespace planora::print
