#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Every text the program shows a user about a failure, in Italian, in one place. Each names
// what failed (file, table, field, value, room) and, where the system gave one, its reason.
// The tests pin these texts.
namespace planora::msg {

// A path as the user should read it: normalised, without "/./" or a trailing separator.
std::string shown(const std::filesystem::path& path);

// A path in single quotes, as every message shows one: '/dati/Tableau.mdb'.
std::string quoted(const std::filesystem::path& path);

// A value as it can be shown on one line: control characters written as escapes ("\n", "\x1B").
std::string printable(std::string_view value);

// The system's reason for an errno value, in Italian ("il disco è pieno", "permesso negato");
// an unusual one falls back to the C library's text with its number.
std::string systemReason(int errnum);

// --- Files the program writes or looks up ---
std::string cannotCreateTemporary(const std::filesystem::path& folder, int errnum);
std::string cannotWriteFile(const std::filesystem::path& file, int errnum);
std::string cannotReplaceFile(const std::filesystem::path& file, int errnum);
std::string notARegularFile(const std::filesystem::path& path);
std::string cannotReadFile(const std::filesystem::path& file, int errnum);
std::string cannotListFolder(const std::filesystem::path& folder, int errnum);
// The board file is read before it has been written.
std::string boardFileMissing(const std::filesystem::path& file);

// --- The station code ---
std::string badStationCode(std::string_view variable, std::string_view value);

}  // namespace planora::msg
