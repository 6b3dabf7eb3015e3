#include "print/settings_text.h"

#include "board/encoding.h"
#include "files/no_case.h"
#include "files/safe_writer.h"

namespace planora::print {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Length of the UTF-8 sequence that starts with `lead`, 0 for a byte that starts none.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

bool isValidUtf8(std::string_view bytes) {
    const std::u32string points = board::decodeUtf8(bytes);
    // The decoder turns each bad byte into U+FFFD; a real U+FFFD is three bytes long.
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t length = sequenceLength(static_cast<unsigned char>(bytes[i]));
        if (length == 0 || i + length > bytes.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return board::encodeUtf8(points) == bytes;
}

}  // namespace

std::string decodeSettingsText(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    return isValidUtf8(bytes) ? std::string(bytes) : board::cp1252ToUtf8(bytes);
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::optional<std::vector<std::string>> readSettingsLines(const std::filesystem::path& folder,
                                                          std::string_view name) {
    const auto file = files::findFileNoCase(folder, name);
    if (!file) {
        return std::nullopt;
    }
    return splitLines(decodeSettingsText(files::readFile(*file)));
}

}  // namespace planora::print
