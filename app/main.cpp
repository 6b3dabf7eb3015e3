#include <iostream>

#include "cli/cli.h"

#ifdef PLANORA_WITH_GUI
#include "cli/qt/print_commands_qt.h"
#include "desk/run_desk.h"
#endif

int main(int argc, char** argv) {
#ifdef PLANORA_WITH_GUI
    planora::cli::addPrintCommands();
    if (planora::cli::wantsWindow(argc, argv)) {
        return planora::desk::runDesk(argc, argv);
    }
#endif
    return planora::cli::run(argc, argv, std::cout, std::cerr);
}
