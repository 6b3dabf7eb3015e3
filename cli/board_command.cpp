#include <filesystem>
#include <ostream>
#include <variant>

#include "board/builder.h"
#include "board/encoding.h"
#include "board/validation.h"
#include "cli/arguments.h"
#include "cli/commands.h"
#include "db/error.h"
#include "files/safe_writer.h"
#include "files/station.h"
#include "messages/cli_messages.h"

namespace planora::cli {

namespace {

const std::vector<OptionDef> kBoardOptions = {
    {"--hotel", true},   {"--tableau", true},  {"--from", true},        {"--to", true},
    {"--date", true},    {"--amounts", false}, {"--select-date", true}, {"--departures", false},
    {"--company", true}, {"--data", true},     {"--show", false},       {"--help", false}};

// The texts the main window would hand over, as typed.
board::RequestEntry entryFrom(const Arguments& args) {
    board::RequestEntry entry;
    entry.hotel = static_cast<std::int16_t>(args.number("--hotel", INT16_MIN, INT16_MAX, 0));
    entry.tableau = static_cast<std::int16_t>(args.number("--tableau", INT16_MIN, INT16_MAX, 0));
    entry.firstRoom = args.required("--from");
    entry.lastRoom = args.required("--to");
    entry.referenceDate = args.required("--date");
    entry.addArrangement = args.has("--amounts");
    entry.selectionDate = args.value("--select-date").value_or("");
    entry.ditta = args.value("--company").value_or("");
    return entry;
}

board::BoardOptions optionsFrom(const Arguments& args) {
    board::BoardOptions options;
    options.arrivi = !args.has("--departures");
    options.perDitta = args.has("--company");
    options.ditta = args.value("--company").value_or("");
    return options;
}

// The board file for a terminal: the frame as box drawing, lines without their CR LF.
void showBoard(const std::filesystem::path& file, std::ostream& out) {
    const std::string content = files::readFile(file);
    std::string_view rest(content);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        out << board::boardLineToUtf8(line) << '\n';
    }
}

// Dialog texts break lines with CR LF; a terminal wants LF alone.
std::string terminalText(std::string text) {
    std::erase(text, '\r');
    return text;
}

int runBoard(const Arguments& args, std::ostream& out, std::ostream& err) {
    args.required("--hotel");
    args.required("--tableau");
    const board::RequestEntry entry = entryFrom(args);
    board::GiorniMese giorniMese;
    const auto checked = board::validaRichiesta(entry, giorniMese);
    if (const auto* message = std::get_if<board::Message>(&checked)) {
        err << message->title << '\n' << terminalText(message->text) << '\n';
        return kExitUsage;
    }
    const board::SystemClock clock;
    const board::BoardContext context{
        args.value("--data").value_or(std::filesystem::current_path().string()),
        files::stationCode(), &clock};
    const board::BoardResult result =
        board::CreaTableau(std::get<board::BoardRequest>(checked), optionsFrom(args), context);
    for (const std::string& warning : result.warnings) {
        err << "planora: " << msg::warningLine(warning) << '\n';
    }
    if (args.has("--show")) {
        showBoard(result.file, out);
    }
    out << result.file.string() << '\n';
    return kExitOk;
}

}  // namespace

int boardCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    return optionsCommand("board", kBoardUsage, kBoardOptions, words, out, err,
                          [&](const Arguments& args) { return runBoard(args, out, err); });
}

}  // namespace planora::cli
