#include "board/station.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <system_error>

extern char** environ;

namespace planora::board {

namespace {

bool equalNoCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::string stationCode() {
    constexpr std::string_view kVariable = "PCLocal";
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string_view setting = *entry;
        const auto equals = setting.find('=');
        if (equals != std::string_view::npos && equalNoCase(setting.substr(0, equals), kVariable)) {
            return std::string(setting.substr(equals + 1));
        }
    }
    return {};
}

std::string boardFileName(const std::string& stationCode) {
    return "FD" + stationCode;
}

std::filesystem::path findFileNoCase(const std::filesystem::path& folder, const std::string& name) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (equalNoCase(entry.path().filename().string(), name)) {
            return entry.path();
        }
    }
    return folder / name;
}

}  // namespace planora::board
