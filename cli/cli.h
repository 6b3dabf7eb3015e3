#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace planora::cli {

// True when the arguments ask for the main window rather than a command
// (no arguments, or only "--data DIR").
bool wantsWindow(int argc, char** argv);

using CommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out,
                                std::ostream& err);
// Adds a command that lives outside the headless command line: the program adds the print
// commands that draw through Qt.
void addCommand(const std::string& name, CommandFunction function);

// Runs a command ("--help", "board", "demo"); returns the exit status.
int run(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace planora::cli
