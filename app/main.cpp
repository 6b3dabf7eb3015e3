#include <exception>
#include <iostream>

#include "cli/cli.h"
#include "messages/cli_messages.h"

#ifdef PLANORA_WITH_GUI
#include "cli/qt/print_commands_qt.h"
#include "desk/run_desk.h"
#endif

int main(int argc, char** argv) {
    // The commands and the windows report their own failures; nothing that escapes them may end
    // the program through std::terminate without a word.
    try {
#ifdef PLANORA_WITH_GUI
        planora::cli::addPrintCommands();
        if (planora::cli::wantsWindow(argc, argv)) {
            return planora::desk::runDesk(argc, argv);
        }
#endif
        return planora::cli::run(argc, argv, std::cout, std::cerr);
    } catch (...) {
        std::cerr << "planora: " << planora::msg::failureText(std::current_exception()) << '\n';
        return 1;
    }
}
