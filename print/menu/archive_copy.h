#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "board/clock.h"

namespace planora::print {

// "doc/fd" + station code + yyyymmddhhnn + ".doc" in the data folder: the archive copy of the
// board that the print menu makes when it opens ("doc" found without regard to case).
std::filesystem::path archiveCopyPath(const std::filesystem::path& dataFolder,
                                      std::string_view stationCode,
                                      const board::LocalDateTime& now);

// Creates the folder "doc" when missing and copies the board file of the station there
// through the safe writer. Throws planora::Error naming what failed.
void writeArchiveCopy(const std::filesystem::path& dataFolder, std::string_view stationCode,
                      const std::filesystem::path& copy);

}  // namespace planora::print
