#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// Handing the board shown in the preview to the mail program: the hand-off file, then the
// program started in the data folder.
namespace planora::preview {

// The first line of the hand-off file; the subject is the first non-empty line after it.
inline constexpr std::string_view kSubjectMarker = "OGGETTO";
// The mail program, built and installed beside planora.
inline constexpr std::string_view kMailProgram = "postex";

// "e-mail" + station code + ".txt": the code as PCLocal holds it, empty when unset.
std::string handOffFileName(std::string_view stationCode);

// The bytes of the hand-off file for a text as the preview shows it (UTF-8, lines ended by
// '\n'): "OGGETTO", then every line of the text, each ended by CR LF, in Windows-1252.
std::string handOffContent(std::string_view screenText);

// Writes the hand-off file of the station into the data folder (an existing one found without
// regard to case) through the safe file writer; returns its path.
std::filesystem::path writeHandOff(const std::filesystem::path& dataFolder,
                                   std::string_view stationCode, std::string_view screenText);

// The mail program: beside the running program first, then on the PATH. Throws planora::Error
// when there is none.
std::filesystem::path findMailProgram();

// Starts the mail program in the data folder without waiting for it.
void startMailProgram(const std::filesystem::path& dataFolder);

// What starts the mail program for a data folder; the tests put their own in its place.
using MailLauncher = std::function<void(const std::filesystem::path& dataFolder)>;

// Writes the hand-off file, and once it is complete starts the mail program through the
// launcher (startMailProgram when empty). Returns the hand-off file.
std::filesystem::path InviaEMail(const std::filesystem::path& dataFolder,
                                 std::string_view stationCode, std::string_view screenText,
                                 const MailLauncher& launcher);

}  // namespace planora::preview
