#include "preview/screen_text.h"

#include "board/board_file.h"
#include "board/encoding.h"
#include "board/helpers.h"

namespace planora::preview {

std::string lineForScreen(std::string_view boardLine) {
    std::string out;
    out.reserve(boardLine.size() * 2);
    std::size_t plainFrom = 0;
    for (std::size_t i = 0; i < boardLine.size(); ++i) {
        if (!board::grid::isFrameAt(boardLine, i)) {
            continue;
        }
        out += board::cp1252ToUtf8(boardLine.substr(plainFrom, i - plainFrom));
        std::string frame(1, boardLine[i]);
        out += board::ConvertiGrafici(frame);
        plainFrom = i + 1;
    }
    out += board::cp1252ToUtf8(boardLine.substr(plainFrom));
    return out;
}

std::vector<std::string> splitBoardLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        lines.emplace_back(bytes.substr(start, end - start));
        const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        start = end + (crlf ? 2 : 1);
    }
    return lines;
}

std::vector<std::string> splitScreenLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines, std::string_view separator,
                      bool endLast) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        if (endLast || i + 1 < lines.size()) {
            out += separator;
        }
    }
    return out;
}

}  // namespace planora::preview
