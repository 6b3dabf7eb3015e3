#pragma once

#include <filesystem>

#include "board/clock.h"

namespace planora::desk {

// The program with its main window: a QApplication, "--data DIR" (default: the current
// folder), the window until it is closed. Returns the exit status.
int runDesk(int argc, char** argv);

// The main window over a data folder, within an existing QApplication, until it is closed.
// Returns 0, or 1 when the window could not start or closed for want of data.
int runDeskWindow(const std::filesystem::path& dataFolder, const board::Clock& clock);

}  // namespace planora::desk
