#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace planora::postex {

constexpr int kExitSent = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// What one run of postex came to: its exit status and the message for the user (what was done,
// or why it failed).
struct Outcome {
    int status = kExitSent;
    std::string message;
};

// Sends the hand-off file of the station in the data folder: through SMTP when "postex.conf"
// names a server, else through the desktop's mail program (xdg-email on the PATH). Never
// throws.
Outcome sendHandOff(const std::filesystem::path& dataFolder);

// The command line: "--help", "--data DIR". Prints the outcome ("postex: <message>" on err
// for a failure) and returns the exit status.
Outcome runPostex(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace planora::postex
