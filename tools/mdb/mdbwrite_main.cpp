// planora-mdbwrite SRC_FOLDER DST_FOLDER: Access (.mdb) copies of the SQLite files of a data
// folder.

#include <iostream>
#include <string>
#include <vector>

#include "board/clock.h"
#include "tools/mdb/mdbwrite_command.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return planora::jet::mdbwriteCommand(args, std::cout, std::cerr, planora::board::SystemClock());
}
