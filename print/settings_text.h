#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace planora::print {

// The text of a small settings file as UTF-8: kept as it is when it is valid UTF-8 (a leading
// byte-order mark dropped), otherwise read as Windows-1252, as the hotel's other PCs write it.
std::string decodeSettingsText(std::string_view bytes);

// The lines of a text, each without its CR LF (or LF); a last line without an end counts.
std::vector<std::string> splitLines(std::string_view text);

// The lines of a settings file of the data folder, found without regard to case; nothing when
// the file is not there.
std::optional<std::vector<std::string>> readSettingsLines(const std::filesystem::path& folder,
                                                          std::string_view name);

}  // namespace planora::print
