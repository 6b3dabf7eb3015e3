#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/arguments.h"

namespace planora::cli {

// Exit statuses of the commands.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // a planora::Error
constexpr int kExitUsage = 2;    // a bad command line or a rejected request

// Each takes the words after its name.
int boardCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int demoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int emailCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Runs the body of a command: a UsageError prints the message and the command's usage (exit
// 2); any other failure, a planora::Error or whatever a library throws (memory, files),
// "planora: <message>" (exit 1).
int guarded(const std::string& command, const char* usage, std::ostream& err,
            const std::function<int()>& body);

// Runs, guarded, a command that takes options and no other word: "--help" prints its usage,
// another word is a usage error.
int optionsCommand(const std::string& command, const char* usage,
                   const std::vector<OptionDef>& options, const std::vector<std::string>& words,
                   std::ostream& out, std::ostream& err,
                   const std::function<int(const Arguments&)>& run);

extern const char* const kMainUsage;
extern const char* const kBoardUsage;
extern const char* const kDemoUsage;
extern const char* const kEmailUsage;

}  // namespace planora::cli
