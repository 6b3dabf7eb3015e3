#pragma once

#include <iosfwd>

namespace planora::cli {

// True when the arguments ask for the main window rather than a command
// (no arguments, or only "--data DIR").
bool wantsWindow(int argc, char** argv);

// Runs a command ("--help", "board", "demo"); returns the exit status.
int run(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace planora::cli
