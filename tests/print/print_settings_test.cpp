// The settings of a print run: the destination, its target, the command set, the page length
// and the font; the conversions for system printers and the pages of system-printer mode.
#include <gtest/gtest.h>

#include "db/error.h"
#include "print/converti2.h"
#include "print/page_plan.h"
#include "print/print_settings.h"
#include "print/raw_target.h"
#include "print_fixture.h"

namespace planora::print {
namespace {

using testing::groups;
using testing::PrintFolderTest;

Environment environmentWith(std::string name, std::string value) {
    return [name, value](const std::string& asked) { return asked == name ? value : ""; };
}

TEST(ResolveTarget, EnvironmentThenLineaWithTheChosenPrinterWinning) {
    const Destination laser{"Laser", 2, "/dev/usb/lp0"};
    const Environment none = [](const std::string&) { return std::string(); };
    EXPECT_EQ(resolveTarget(laser, "", none), "/dev/usb/lp0");
    EXPECT_EQ(resolveTarget(laser, "", environmentWith("Laser", "cassa.prn")), "cassa.prn");
    EXPECT_EQ(resolveTarget(laser, "Ufficio", environmentWith("Laser", "cassa.prn")), "Ufficio");
    // Blanks and the entry of an empty printer list choose no printer.
    EXPECT_EQ(resolveTarget(laser, "   ", none), "/dev/usb/lp0");
    EXPECT_EQ(resolveTarget(laser, "<nessuna stampante>", none), "/dev/usb/lp0");
}

TEST(CommandSet, GroupsOfThreeDigits) {
    const auto a = commandGroups("027015  7abc12");
    EXPECT_EQ(a[0], 27);
    EXPECT_EQ(a[1], 15);
    EXPECT_EQ(a[2], 7);   // "  7": leading blanks skipped
    EXPECT_EQ(a[3], 0);   // "abc"
    EXPECT_EQ(a[4], 12);  // a short last group
    EXPECT_EQ(a[5], 0);   // past the end
    CommandSet none;
    EXPECT_EQ(none.filledLength(true), 66);
    EXPECT_FALSE(none.systemPrinter());
}

TEST(PdfDestination, TheLastNameHoldingPdfInCapitals) {
    EXPECT_EQ(lastPdfDestination({"PDF uno", "Laser", "Stampante PDF", "pdf minuscolo"}),
              "Stampante PDF");
    EXPECT_EQ(lastPdfDestination({"pdf", "Pdf"}), std::nullopt);
}

TEST(Converti2, AccentsAndFrameBytesForASystemPrinter) {
    std::string line = "\xB4\xC0\xC8\xC9\xCC\xD9\xD2\xC4\xDA\xB3\xC3\xE7x";
    EXPECT_EQ(Converti2(line), "'\xE0\xE8\xE9\xEC\xF9\xF2--||\xE7x");
}

TEST(RawTargets, QueuesThenPortsThenPathsOfTheDataFolder) {
    const auto queues = [](std::string_view name) { return name == "Ufficio"; };
    const std::filesystem::path folder = "/dati";
    EXPECT_EQ(classifyRawTarget("Ufficio", "D", folder, queues).kind, RawTarget::Kind::CupsQueue);
    EXPECT_EQ(classifyRawTarget("LPT2", "D", folder, queues).path, "/dev/lp1");
    EXPECT_EQ(classifyRawTarget("lpt1:", "D", folder, queues).path, "/dev/lp0");
    EXPECT_EQ(classifyRawTarget("PRN", "D", folder, queues).path, "/dev/lp0");
    EXPECT_EQ(classifyRawTarget("LPT3", "D", folder, queues).kind, RawTarget::Kind::Port);
    EXPECT_EQ(classifyRawTarget("/dev/null", "D", folder, queues).kind, RawTarget::Kind::Device);
    const RawTarget file = classifyRawTarget("stampe/cassa.prn", "D", folder, queues);
    EXPECT_EQ(file.kind, RawTarget::Kind::File);
    EXPECT_EQ(file.path, "/dati/stampe/cassa.prn");
}

TEST_F(PrintFolderTest, AnEmptyTargetNamesTheDestination) {
    try {
        classifyRawTarget("", "Cassa", folder_, [](std::string_view) { return false; });
        FAIL() << "an empty target was accepted";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find("'Cassa'"), std::string::npos) << error.what();
    }
}

TEST_F(PrintFolderTest, AFileThatCannotBeWrittenIsReportedWithItsReason) {
    const RawTarget target =
        classifyRawTarget("manca/out.prn", "D", folder_, [](std::string_view) { return false; });
    try {
        sendRaw(target, "x", {});
        FAIL() << "a file in a missing folder was written";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find("non esiste"), std::string::npos) << error.what();
    }
}

TEST_F(PrintFolderTest, ADeviceTakesTheBytesAsTheyAre) {
    const RawTarget target =
        classifyRawTarget("/dev/null", "D", folder_, [](std::string_view) { return false; });
    EXPECT_EQ(sendRaw(target, "abc\f", {}), "/dev/null");
    const RawTarget port =
        classifyRawTarget("LPT3", "D", folder_, [](std::string_view) { return false; });
    if (!std::filesystem::exists("/dev/lp2")) {
        // An absent port is reported and never created as a file.
        EXPECT_THROW(sendRaw(port, "x", {}), Error);
        EXPECT_FALSE(std::filesystem::exists("/dev/lp2"));
    }
}

TEST_F(PrintFolderTest, SettingsOfTheDataFolder) {
    testing::PrintData data;
    data.destinations = {{2, "Altro", 1, "x"}, {1, "L'Ufficio", 7, "lp"}, {1, "Banco", 8, "b"}};
    data.commandSets = {{7, groups({9, 0, 0, 0, 0, 1, 11}), groups({0, 0, 0, 0, 0, 3})}};
    data.counters = {{4, 70, 0}};
    data.codiceAssistenza = "KU";
    writeData(data);

    EXPECT_EQ(destinationNames(folder_), (std::vector<std::string>{"L'Ufficio", "Banco"}));
    EXPECT_EQ(readCodiceAssistenza(folder_), "KU");
    const auto destination = findDestination(folder_, "L'Ufficio");
    ASSERT_TRUE(destination);
    EXPECT_EQ(destination->tipoStampa, 7);
    const CommandSet set = readCommandSet(folder_, 7);
    EXPECT_TRUE(set.systemPrinter());
    EXPECT_EQ(set.topMargin(), 3);
    EXPECT_FALSE(readCommandSet(folder_, 8).found);
    EXPECT_EQ(readPageLength(folder_, 4, true), 70);
    EXPECT_EQ(readPageLength(folder_, 4, false), 60);  // 0 lines a page: the default
    EXPECT_EQ(readPageLength(folder_, 5, true), 60);   // no record
}

TEST_F(PrintFolderTest, FontFromTheFirstLineOfFontStp) {
    EXPECT_EQ(readFontName(folder_), "Courier New");
    put("FONTSTP.TXT", "  Lucida Console \r\nignored\r\n");
    EXPECT_EQ(readFontName(folder_), "Lucida Console");
    put("FONTSTP.TXT", "   \r\n");
    EXPECT_EQ(readFontName(folder_), "Courier New");
}

// The text of every line of a page, runs joined.
std::vector<std::string> pageText(const PlannedPage& page) {
    std::vector<std::string> lines;
    for (const PrintedLine& line : page.lines) {
        std::string text;
        for (const TextRun& run : line.runs) {
            text += run.text;
        }
        lines.push_back(text);
    }
    return lines;
}

PageLayout systemLayout(int margin, int pageLength) {
    PageLayout layout;
    layout.commands.a = {8, 0, 0, 0, 0, 1, 11};
    layout.commands.b = {0, 0, 0, 0, 0, margin};
    layout.commands.found = true;
    layout.fontName = "Courier New";
    layout.pageLength = pageLength;
    return layout;
}

TEST(PagePlan, EachPageStartsWithTheHeadingLineAndTheMargin) {
    const PagePlan plan = planPages({"A", "\xB3\xC0", "C"}, systemLayout(1, 3));
    ASSERT_EQ(plan.pages.size(), 2u);
    EXPECT_EQ(pageText(plan.pages[0]), (std::vector<std::string>{" ", " ", "A", "|à"}));
    EXPECT_EQ(pageText(plan.pages[1]), (std::vector<std::string>{" ", " ", "C"}));
    EXPECT_EQ(plan.pages[0].lines[0].font, "Times New Roman");
    EXPECT_EQ(plan.pages[0].lines[0].runs[0].points, 8);
    EXPECT_EQ(plan.pages[0].lines[2].font, "Courier New");
    EXPECT_EQ(plan.pages[0].lines[2].runs[0].points, 11);
}

TEST(PagePlan, AFormFeedStartsOneNewPageAndNeverAnEmptyOne) {
    const PagePlan plan = planPages({"A", "\f", "\f", "B", "\f"}, systemLayout(0, 60));
    ASSERT_EQ(plan.pages.size(), 2u);
    EXPECT_EQ(pageText(plan.pages[1]), (std::vector<std::string>{" ", "B"}));
    const PagePlan full = planPages({"A", "B"}, systemLayout(0, 2));
    EXPECT_EQ(full.pages.size(), 1u);  // full, and nothing follows
    EXPECT_EQ(planPages({}, systemLayout(0, 2)).pages.size(), 1u);
}

TEST(PagePlan, BoldMarksToggleBoldAndTheSize) {
    PageLayout layout = systemLayout(0, 60);
    const PagePlan plan = planPages({"a\xE7"
                                     "b\xE7"
                                     "c",
                                     "d\xE7"
                                     "e",
                                     "f",
                                     "g\xE7"
                                     "h"},
                                    layout);
    const auto& lines = plan.pages[0].lines;
    ASSERT_EQ(lines[1].runs.size(), 3u);
    EXPECT_FALSE(lines[1].runs[0].bold);
    EXPECT_TRUE(lines[1].runs[1].bold);
    EXPECT_DOUBLE_EQ(lines[1].runs[1].points, 10.6);
    EXPECT_FALSE(lines[1].runs[2].bold);
    EXPECT_DOUBLE_EQ(lines[1].runs[2].points, 11);
    // An odd number of marks leaves bold on, 0.4 points lower, for the lines that follow.
    EXPECT_TRUE(lines[3].runs[0].bold);
    EXPECT_DOUBLE_EQ(lines[3].runs[0].points, 10.6);
    EXPECT_EQ(lines[3].runs[0].text, "f");
    EXPECT_FALSE(lines[4].runs[1].bold);
    EXPECT_EQ(lines[4].runs[1].text, "h");
}

TEST(PagePlan, SizesOfCompressedPrintAndTheirDefaults) {
    PageLayout layout = systemLayout(0, 60);
    layout.compressed = true;
    EXPECT_EQ(boardPoints(layout), 8);
    layout.commands.a[0] = 0;
    EXPECT_EQ(boardPoints(layout), kDefaultCompressedPoints);
    layout.commands.a[5] = 0;  // a raw command set: its values are no sizes
    layout.compressed = false;
    EXPECT_EQ(boardPoints(layout), kDefaultNormalPoints);
    layout.keepFrame = true;
    EXPECT_EQ(pageText(planPages({"\xB3"}, layout).pages[0])[1], "³");
}

}  // namespace
}  // namespace planora::print
