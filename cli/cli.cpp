#include "cli/cli.h"

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/print_commands.h"
#include "messages/cli_messages.h"

namespace planora::cli {

namespace {

std::map<std::string, CommandFunction>& addedCommands() {
    static std::map<std::string, CommandFunction> commands;
    return commands;
}

}  // namespace

void addCommand(const std::string& name, CommandFunction function) {
    addedCommands()[name] = function;
}

bool wantsWindow(int argc, char** argv) {
    return argc <= 1 || (argc == 3 && std::string(argv[1]) == "--data");
}

int run(int argc, char** argv, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (words.empty()) {
        err << kMainUsage;
        return kExitUsage;
    }
    const std::string& command = words.front();
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (isHelp(command)) {
        out << kMainUsage;
        return kExitOk;
    }
    if (command == "board") {
        return boardCommand(rest, out, err);
    }
    if (command == "demo") {
        return demoCommand(rest, out, err);
    }
    if (command == "csv") {
        return csvCommand(rest, out, err);
    }
    if (command == "email") {
        return emailCommand(rest, out, err);
    }
    if (const auto added = addedCommands().find(command); added != addedCommands().end()) {
        return added->second(rest, out, err);
    }
    if (command == "pdf" || command == "print") {
        err << "planora: " << msg::commandNeedsQt(command) << '\n';
        return kExitFailure;
    }
    if (command == "--data") {
        err << "planora: " << msg::noWindowInThisBuild() << '\n';
        return kExitUsage;
    }
    err << "planora: " << msg::unknownCommand(command) << "\n\n" << kMainUsage;
    return kExitUsage;
}

}  // namespace planora::cli
