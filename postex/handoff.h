#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace planora::postex {

// What the preview handed over, in UTF-8.
struct HandOff {
    std::string subject;  // the first non-empty line after "OGGETTO", trimmed, blanks made one
    std::string body;     // everything after the "OGGETTO" line, lines ended by '\n'
};

// The hand-off bytes (Windows-1252). Throws planora::Error naming `file` when the first line is
// not "OGGETTO".
HandOff parseHandOff(std::string_view bytes, const std::filesystem::path& file);

// The hand-off file of the station in the data folder, found without regard to case. Throws
// planora::Error when it is missing or cannot be read.
HandOff readHandOff(const std::filesystem::path& dataFolder, std::string_view stationCode,
                    std::filesystem::path* file = nullptr);

}  // namespace planora::postex
