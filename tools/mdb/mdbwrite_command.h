#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "board/clock.h"

namespace planora::jet {

// planora-mdbwrite SRC_FOLDER DST_FOLDER (see msg::kMdbwriteUsage): a line for each file on
// `out`; a failure as "planora-mdbwrite: <message>" on `err`. Returns the exit status: 0, 1
// for a failure, 2 for a wrong command line.
int mdbwriteCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                    const board::Clock& clock);

}  // namespace planora::jet
