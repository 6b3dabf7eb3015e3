#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace planora::files {

// The name of the station variable as the program documents it; it is looked up without
// regard to case.
inline constexpr std::string_view kStationVariable = "PCLocal";

// The station code: the value of PCLocal, empty when missing. Several workstations share one
// data folder and tell their files apart by it, so it must be usable inside a file name: a
// value holding "/", "\", "..", a control character or more than 32 characters throws
// planora::Error naming the variable and the value.
std::string stationCode();

// Whether a code may stand in a file name (the test stationCode() applies).
bool isValidStationCode(std::string_view code);

// "FD" + station code: the board file of the station.
std::string boardFileName(std::string_view stationCode);

// The board file of the station in the folder: an existing one found without regard to case,
// else the folder / "FD" + code. Throws planora::Error when the name is taken by a folder.
std::filesystem::path boardFilePath(const std::filesystem::path& folder,
                                    std::string_view stationCode);

// The board file of the station as it is to be read: throws planora::Error saying so when the
// board has not been written yet.
std::filesystem::path existingBoardFile(const std::filesystem::path& folder,
                                        std::string_view stationCode);

}  // namespace planora::files
