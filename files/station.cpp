#include "files/station.h"

#include <algorithm>
#include <cctype>

#include "db/error.h"
#include "files/no_case.h"
#include "messages/messages.h"

extern char** environ;

namespace planora::files {

namespace {

constexpr std::size_t kMaxStationCode = 32;

bool equalNoCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

bool isValidStationCode(std::string_view code) {
    const bool hasControl = std::ranges::any_of(code, [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    return code.size() <= kMaxStationCode && !hasControl &&
           code.find_first_of("/\\") == std::string_view::npos &&
           code.find("..") == std::string_view::npos;
}

std::string stationCode() {
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string_view setting = *entry;
        const auto equals = setting.find('=');
        if (equals == std::string_view::npos ||
            !equalNoCase(setting.substr(0, equals), kStationVariable)) {
            continue;
        }
        const std::string_view value = setting.substr(equals + 1);
        if (!isValidStationCode(value)) {
            throw Error(msg::badStationCode(setting.substr(0, equals), value));
        }
        return std::string(value);
    }
    return {};
}

std::string boardFileName(std::string_view stationCode) {
    return "FD" + std::string(stationCode);
}

std::filesystem::path boardFilePath(const std::filesystem::path& folder,
                                    std::string_view stationCode) {
    return fileNoCase(folder, boardFileName(stationCode));
}

std::filesystem::path existingBoardFile(const std::filesystem::path& folder,
                                        std::string_view stationCode) {
    if (auto file = findFileNoCase(folder, boardFileName(stationCode))) {
        return *file;
    }
    throw Error(msg::boardFileMissing(boardFilePath(folder, stationCode)));
}

}  // namespace planora::files
