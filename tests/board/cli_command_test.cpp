#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "board/clock.h"
#include "cli/cli.h"
#include "demo_temp_folder.h"
#include "files/station.h"
#include "tools/demo/hotel_schema.h"

namespace planora::cli {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome runCli(std::vector<std::string> words) {
    words.insert(words.begin(), "planora");
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    std::ostringstream out, err;
    const int status = run(static_cast<int>(words.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

bool wants(std::vector<std::string> words) {
    words.insert(words.begin(), "planora");
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    return wantsWindow(static_cast<int>(words.size()), argv.data());
}

void expectMentions(const std::string& text, const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        EXPECT_NE(text.find(word), std::string::npos) << word << " missing from:\n" << text;
    }
}

TEST(CliHelp, EveryOptionIsDescribed) {
    const Outcome main = runCli({"--help"});
    EXPECT_EQ(main.status, 0);
    expectMentions(main.out, {"board", "demo", "--data", "--help"});
    const Outcome board = runCli({"board", "--help"});
    EXPECT_EQ(board.status, 0);
    expectMentions(board.out, {"--hotel", "--tableau", "--from", "--to", "--date", "--amounts",
                               "--select-date", "--departures", "--company", "--data", "--show"});
    const Outcome demo = runCli({"demo", "--help"});
    EXPECT_EQ(demo.status, 0);
    expectMentions(demo.out, {"--rooms", "--cards", "--history", "--seed", "--format", "--force"});
}

TEST(CliWindow, OnlyWithoutACommand) {
    EXPECT_TRUE(wants({}));
    EXPECT_TRUE(wants({"--data", "hotel"}));
    EXPECT_FALSE(wants({"--data"}));
    EXPECT_FALSE(wants({"--help"}));
    EXPECT_FALSE(wants({"board", "--data", "x"}));
    EXPECT_FALSE(wants({"demo", "x"}));
}

TEST(CliUsage, PrintCommandsNeedTheQtPartOfTheProgram) {
    // This program links the headless command line only: pdf and print are known but absent.
    for (const char* command : {"pdf", "print"}) {
        const Outcome o = runCli({command, "--destination", "Laser"});
        EXPECT_EQ(o.status, 1) << command;
        EXPECT_EQ(o.err,
                  std::string("planora: il comando ") + command +
                      " stampa attraverso Qt e questo programma è stato compilato senza Qt\n");
    }
}

TEST(CliUsage, BadCommandLinesExitTwo) {
    const std::vector<std::vector<std::string>> bad = {
        {"stampa"},
        {"board", "--colour", "red"},
        {"board", "--hotel"},
        {"board", "--hotel", "x", "--tableau", "1", "--from", "1", "--to", "2", "--date",
         "01/01/2026"},
        {"board", "--tableau", "1", "--from", "1", "--to", "2", "--date", "01/01/2026"},
        {"board", "--hotel", "1", "--tableau", "1", "--from", "1", "--to", "2"},
        {"board", "--hotel", "1", "--tableau", "1", "--from", "1", "--to", "2", "--date",
         "01/01/2026", "extra"},
        {"demo"},
        {"demo", "a", "b"},
        {"demo", "x", "--rooms", "many"},
        {"demo", "x", "--seed"},
        {"demo", "x", "--format", "access"},
    };
    for (const auto& words : bad) {
        const Outcome o = runCli(words);
        EXPECT_EQ(o.status, 2) << words.back();
        EXPECT_NE(o.err.find("Uso: planora"), std::string::npos) << words.back();
        EXPECT_TRUE(o.out.empty());
    }
}

TEST(CliUsage, MessagesAreItalianAndNameWhatIsWrong) {
    const auto errorLine = [](std::vector<std::string> words) {
        const Outcome o = runCli(std::move(words));
        EXPECT_EQ(o.status, 2);
        return o.err.substr(0, o.err.find('\n'));
    };
    EXPECT_EQ(errorLine({"board", "--colour", "red"}),
              "planora board: opzione sconosciuta '--colour'");
    EXPECT_EQ(
        errorLine({"board", "--tableau", "1", "--from", "1", "--to", "2", "--date", "01/01/2026"}),
        "planora board: manca l'opzione obbligatoria --hotel");
    EXPECT_EQ(errorLine({"board", "--hotel", "x", "--tableau", "1", "--from", "1", "--to", "2",
                         "--date", "01/01/2026"}),
              "planora board: --hotel richiede un numero intero da -32768 a 32767, non 'x'");
    EXPECT_EQ(errorLine({"board", "--hotel", "1", "--tableau", "1", "--from", "1", "--to", "2",
                         "--date", "01/01/2026", "extra"}),
              "planora board: argomento inatteso 'extra'");
    EXPECT_EQ(errorLine({"demo"}), "planora demo: manca la cartella dei dati DIR");
    EXPECT_EQ(errorLine({"demo", "a", "b"}),
              "planora demo: si può indicare una sola cartella dei dati");
    EXPECT_EQ(errorLine({"stampa"}), "planora: comando sconosciuto 'stampa'");
}

TEST(CliUsage, AMissingValueIsReportedAsSuch) {
    // The option's value is missing, whether the line ends or another option follows.
    const Outcome between = runCli(
        {"board", "--hotel", "1", "--tableau", "1", "--from", "--to", "9", "--date", "01/01/2026"});
    EXPECT_EQ(between.status, 2);
    EXPECT_EQ(between.err.rfind("planora board: --from richiede un valore\n", 0), 0u)
        << between.err;
    const Outcome last = runCli({"board", "--hotel", "1", "--tableau"});
    EXPECT_EQ(last.err.rfind("planora board: --tableau richiede un valore\n", 0), 0u) << last.err;
    // A value that merely starts with a dash is a value.
    const Outcome dash = runCli({"board", "--hotel", "-1", "--tableau", "1", "--from", "-A", "--to",
                                 "-B", "--date", "31/04/2026"});
    EXPECT_EQ(dash.status, 2);
    EXPECT_EQ(dash.err.rfind("Data errata!", 0), 0u) << dash.err;
}

TEST(CliBoard, TypedValuesAreHeldToTheWindowsFields) {
    const auto refused = [](const std::string& from, const std::string& date) {
        return runCli({"board", "--hotel", "1", "--tableau", "1", "--from", from, "--to", "9",
                       "--date", date, "--data", "/nonexistent"});
    };
    const Outcome blanks = refused("1", " 08/12/2026 ");
    EXPECT_EQ(blanks.status, 2);
    EXPECT_EQ(blanks.err,
              "Valore troppo lungo!\nIl campo \"Data riferim.\" accetta al più 10 caratteri: \" "
              "08/12/2026 \" è troppo lungo\n");
    const Outcome newline = refused("1", "08/12\n2026");
    EXPECT_EQ(newline.status, 2);
    EXPECT_EQ(newline.err.rfind("Valore non valido!\nIl campo \"Data riferim.\"", 0), 0u)
        << newline.err;
    EXPECT_EQ(refused("1234567", "08/12/2026").status, 2);
}

TEST(CliBoard, RejectedRequestsPrintTheMessage) {
    const Outcome rooms = runCli({"board", "--hotel", "1", "--tableau", "1", "--from", "9", "--to",
                                  "10", "--date", "01/01/2026"});
    EXPECT_EQ(rooms.status, 2);
    expectMentions(rooms.err, {"Camere errate!", "Controllare l'intervallo di camere richiesto!"});
    const Outcome date = runCli({"board", "--hotel", "1", "--tableau", "1", "--from", "1", "--to",
                                 "9", "--date", "31/04/2026"});
    EXPECT_EQ(date.status, 2);
    expectMentions(date.err, {"Data errata!", "nel formato gg/mm/aaaa"});
    EXPECT_EQ(date.err.find('\r'), std::string::npos);
}

class CliFolderTest : public planora::test_support::TempFolderTest {};

TEST_F(CliFolderTest, DemoWritesAFreshFolderOnce) {
    const std::string dir = (folder_ / "hotel").string();
    const Outcome first =
        runCli({"demo", dir, "--rooms", "40", "--cards", "50", "--history", "60"});
    ASSERT_EQ(first.status, 0) << first.err;
    for (const demo::DatabaseSchema& database : demo::hotelSchema()) {
        EXPECT_TRUE(std::filesystem::exists(folder_ / "hotel" / database.file)) << database.file;
    }
    const auto written = std::filesystem::last_write_time(folder_ / "hotel" / "Tableau.sqlite");
    const Outcome again = runCli({"demo", dir});
    EXPECT_EQ(again.status, 1);
    expectMentions(again.err, {"--force"});
    EXPECT_EQ(std::filesystem::last_write_time(folder_ / "hotel" / "Tableau.sqlite"), written);
    const Outcome forced = runCli({"demo", dir, "--force", "--seed", "3"});
    EXPECT_EQ(forced.status, 0) << forced.err;
}

TEST_F(CliFolderTest, AFileSystemFailureIsReportedInItalianWithTheSystemsReason) {
    // Without --data the board works in the current folder, which has been removed.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::create_directories(folder_ / "gone");
    std::filesystem::current_path(folder_ / "gone");
    std::filesystem::remove(folder_ / "gone");
    const Outcome o = runCli({"board", "--hotel", "1", "--tableau", "1", "--from", "1", "--to", "9",
                              "--date", "01/01/2026"});
    std::filesystem::current_path(before);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, "planora: Operazione non riuscita: il file o la cartella non esiste\n");
}

TEST_F(CliFolderTest, MissingDataFolderIsAnError) {
    const Outcome o = runCli({"board", "--hotel", "1", "--tableau", "1", "--from", "1", "--to", "9",
                              "--date", "01/01/2026", "--data", (folder_ / "none").string()});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err.rfind("planora: ", 0), 0u) << o.err;
}

TEST_F(CliFolderTest, BoardOfTheDemoHotel) {
    ASSERT_EQ(runCli({"demo", folder_.string()}).status, 0);
    const std::string today = board::todayText(board::SystemClock());
    const Outcome o = runCli({"board", "--hotel", "1", "--tableau", "1", "--from", "1", "--to",
                              "9999", "--date", today, "--data", folder_.string(), "--show"});
    ASSERT_EQ(o.status, 0) << o.err;
    const auto file = files::boardFilePath(folder_, files::stationCode());
    ASSERT_TRUE(std::filesystem::exists(file));
    // The board first, in box drawing, then the file's path.
    expectMentions(o.out, {"Hotel Belvedere sul Lago", "┌", "│", "┘", "Rossi Mario", "ARRIVATO",
                           "PARTENZA", "IN ARRIVO", "Totale Generale", file.string()});
    EXPECT_EQ(o.out.find('\r'), std::string::npos);
    EXPECT_EQ(o.out.substr(o.out.rfind('\n', o.out.size() - 2) + 1), file.string() + "\n");

    const Outcome quiet =
        runCli({"board", "--hotel", "2", "--tableau", "1", "--from", "1", "--to", "9999", "--date",
                today, "--data", folder_.string(), "--amounts", "--company", "Meccanica"});
    ASSERT_EQ(quiet.status, 0) << quiet.err;
    EXPECT_EQ(quiet.out, file.string() + "\n");
    std::ifstream in(file, std::ios::binary);
    const std::string board{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(board.find("Leone Davide"), std::string::npos);
    EXPECT_EQ(board.find("Fontana Lorenzo"), std::string::npos);
}

TEST_F(CliFolderTest, SelectionDateListsArrivalsOrDepartures) {
    ASSERT_EQ(runCli({"demo", folder_.string()}).status, 0);
    const std::string today = board::todayText(board::SystemClock());
    const auto boardOf = [&](std::vector<std::string> extra) {
        std::vector<std::string> words = {
            "board",         "--hotel", "1",      "--tableau", "1",      "--from",         "101",
            "--to",          "116",     "--date", today,       "--data", folder_.string(), "--show",
            "--select-date", today};
        words.insert(words.end(), extra.begin(), extra.end());
        const Outcome o = runCli(words);
        EXPECT_EQ(o.status, 0) << o.err;
        return o.out;
    };
    const std::string arrivals = boardOf({});
    const std::string departures = boardOf({"--departures"});
    EXPECT_NE(arrivals.find("Esposito Annalisa"), std::string::npos);
    EXPECT_EQ(arrivals.find("Colombo Andrea"), std::string::npos);
    EXPECT_NE(departures.find("Colombo Andrea"), std::string::npos);
    EXPECT_EQ(departures.find("Esposito Annalisa"), std::string::npos);
    EXPECT_EQ(departures.find("Rossi Mario"), std::string::npos);
}

// The demo hotel as Access files: the same board as from its SQLite files; either format counts
// as existing database files, and --force replaces them with the other.
TEST_F(CliFolderTest, DemoInAccessFormat) {
    const std::vector<std::string> size = {"--rooms", "40", "--cards", "60", "--history", "90"};
    const auto demo = [&](const std::string& dir, std::vector<std::string> extra) {
        std::vector<std::string> words = {"demo", (folder_ / dir).string()};
        words.insert(words.end(), size.begin(), size.end());
        words.insert(words.end(), extra.begin(), extra.end());
        return runCli(words);
    };
    ASSERT_EQ(demo("mdb", {"--format", "mdb"}).status, 0);
    ASSERT_EQ(demo("sqlite", {}).status, 0);
    for (const demo::DatabaseSchema& database : demo::hotelSchema()) {
        const auto mdb = folder_ / "mdb" / database.file;
        EXPECT_FALSE(std::filesystem::exists(mdb)) << mdb;
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(mdb).replace_extension(".mdb")))
            << mdb;
    }
    EXPECT_TRUE(std::filesystem::exists(folder_ / "mdb" / "FontStp.txt"));
    const std::string today = board::todayText(board::SystemClock());
    const auto boardOf = [&](const std::string& dir) {
        const Outcome o =
            runCli({"board", "--hotel", "1", "--tableau", "1", "--from", "1", "--to", "9999",
                    "--date", today, "--data", (folder_ / dir).string(), "--show", "--amounts"});
        EXPECT_EQ(o.status, 0) << o.err;
        // Without the title line, which shows the time of the run, and without the path.
        const std::size_t body = o.out.find('\n') + 1;
        return o.out.substr(body, o.out.rfind('\n', o.out.size() - 2) - body);
    };
    const std::string fromAccess = boardOf("mdb");
    EXPECT_EQ(fromAccess, boardOf("sqlite"));
    expectMentions(fromAccess, {"Rossi Mario", "ARRIVATO", "Totale Generale"});

    EXPECT_EQ(demo("mdb", {}).status, 1);
    ASSERT_EQ(demo("mdb", {"--force"}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(folder_ / "mdb" / "Tableau.sqlite"));
    EXPECT_FALSE(std::filesystem::exists(folder_ / "mdb" / "Tableau.mdb"));
    const Outcome wrong = demo("mdb", {"--format", "Access", "--force"});
    EXPECT_EQ(wrong.status, 2);
    expectMentions(wrong.err, {"il formato \"Access\" non esiste: i formati sono sqlite e mdb"});
}

}  // namespace
}  // namespace planora::cli
