#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace planora::print {

// The lines of the board file (Windows-1252 bytes, without their CR LF).
std::vector<std::string> readBoardLines(const std::filesystem::path& boardFile);

}  // namespace planora::print
