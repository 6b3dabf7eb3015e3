#include "postex/handoff.h"

#include <vector>

#include "board/encoding.h"
#include "db/error.h"
#include "files/no_case.h"
#include "files/safe_writer.h"
#include "messages/postex_messages.h"
#include "preview/mail_handoff.h"
#include "preview/screen_text.h"

namespace planora::postex {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Trimmed, every run of blanks made one space.
std::string collapsed(std::string_view line) {
    std::string out;
    bool pendingBlank = false;
    for (const char c : line) {
        if (isBlank(c)) {
            pendingBlank = !out.empty();
            continue;
        }
        if (pendingBlank) {
            out += ' ';
            pendingBlank = false;
        }
        out += c;
    }
    return out;
}

std::string trimmedRight(std::string_view line) {
    while (!line.empty() && isBlank(line.back())) {
        line.remove_suffix(1);
    }
    return std::string(line);
}

}  // namespace

HandOff parseHandOff(std::string_view bytes, const std::filesystem::path& file) {
    std::vector<std::string> lines = preview::splitBoardLines(bytes);
    if (lines.empty() || trimmedRight(lines.front()) != preview::kSubjectMarker) {
        throw Error(msg::handOffWithoutSubjectLine(file));
    }
    lines.erase(lines.begin());
    HandOff handOff;
    for (std::string& line : lines) {
        line = board::cp1252ToUtf8(line);
        if (handOff.subject.empty()) {
            handOff.subject = collapsed(line);
        }
    }
    handOff.body = preview::joinLines(lines, "\n", true);
    return handOff;
}

HandOff readHandOff(const std::filesystem::path& dataFolder, std::string_view stationCode,
                    std::filesystem::path* file) {
    const std::filesystem::path found =
        files::fileNoCase(dataFolder, preview::handOffFileName(stationCode));
    if (file != nullptr) {
        *file = found;
    }
    std::error_code ignored;
    if (!std::filesystem::exists(found, ignored)) {
        throw Error(msg::handOffMissing(found));
    }
    return parseHandOff(files::readFile(found), found);
}

}  // namespace planora::postex
