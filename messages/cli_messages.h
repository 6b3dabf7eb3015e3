#pragma once

#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

// The texts of the command line, in Italian, and the text of any failure that reaches the edge
// of a command or a window.
namespace planora::msg {

// --- Command lines that do not fit a command ---
std::string unknownCommand(std::string_view command);
std::string unknownOption(std::string_view option);
std::string optionNeedsValue(std::string_view option);
std::string optionRequired(std::string_view option);
std::string optionNeedsNumber(std::string_view option, long long minimum, long long maximum,
                              std::string_view value);
std::string unexpectedArgument(std::string_view word);
std::string noWindowInThisBuild();
// "pdf" and "print" draw through Qt, which a build without windows lacks.
std::string commandNeedsQt(std::string_view command);
std::string dataFolderMissing();
std::string oneDataFolderOnly();
std::string dataFolderHoldsDatabases(const std::filesystem::path& folder,
                                     const std::filesystem::path& file);
std::string demoWritten(const std::filesystem::path& folder);
// A warning of a run that succeeded, as the command line prints it.
std::string warningLine(std::string_view warning);

// --- Any failure ---
// The text of a failure for the user: a planora::Error says it itself; memory, file system and
// other failures of the library are named and given the system's reason.
std::string failureText(const std::exception_ptr& failure);

}  // namespace planora::msg
