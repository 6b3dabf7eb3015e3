#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace planora::print {

// The board file of the station as printing, the preview and the CSV export read it: the name
// the board run writes, found without regard to case. Throws planora::Error naming the file
// when there is none.
std::filesystem::path existingBoardFile(const std::filesystem::path& folder,
                                        std::string_view stationCode);

// The lines of the board file (Windows-1252 bytes, without their CR LF).
std::vector<std::string> readBoardLines(const std::filesystem::path& boardFile);

}  // namespace planora::print
