#pragma once

#include <filesystem>
#include <string>

namespace planora::board {

// The station code: the environment variable PCLocal, looked up without regard to case;
// empty when missing.
std::string stationCode();

// "FD" + station code.
std::string boardFileName(const std::string& stationCode);

// The file of that name in the folder, found without regard to case; the name as given when
// no such file exists yet.
std::filesystem::path findFileNoCase(const std::filesystem::path& folder, const std::string& name);

}  // namespace planora::board
