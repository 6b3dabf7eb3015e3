#include "tests/board/board_checks.h"

#include <array>
#include <cctype>

#include "board/board_file.h"

namespace planora::boardtest {

namespace {

constexpr std::size_t kTotalsLines = 5;
constexpr std::array<std::size_t, 11> kFrameColumns{1, 8, 15, 41, 67, 74, 78, 84, 90, 101, 132};

std::string controlProblem(const std::string& line, std::size_t number) {
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return "line " + std::to_string(number) + " holds the control byte " +
                   std::to_string(byte);
        }
    }
    return {};
}

std::string framedProblem(const std::string& line, std::size_t number) {
    if (line.size() != board::grid::kWidth) {
        return "framed line " + std::to_string(number) + " has " + std::to_string(line.size()) +
               " characters";
    }
    for (const std::size_t column : kFrameColumns) {
        if (!board::grid::isFrameAt(line, column - 1)) {
            return "framed line " + std::to_string(number) + " has no frame at column " +
                   std::to_string(column);
        }
    }
    return {};
}

// Every number after a ':' of a totals line is a count: never negative.
std::string totalsProblem(const std::string& line) {
    for (std::size_t colon = line.find(':'); colon != std::string::npos;
         colon = line.find(':', colon + 1)) {
        const std::size_t value = line.find_first_not_of(' ', colon + 1);
        if (value == std::string::npos || line[value] == '-' ||
            !std::isdigit(static_cast<unsigned char>(line[value]))) {
            return "totals line without a count of zero or more: " + line;
        }
    }
    return {};
}

}  // namespace

std::vector<std::string> boardLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::string boardProblem(const std::string& bytes) {
    if (bytes.size() < 2 || bytes.substr(bytes.size() - 2) != "\r\n") {
        return "the board does not end in CR LF";
    }
    const std::vector<std::string> lines = boardLines(bytes);
    if (lines.size() < 1 + 5 + kTotalsLines) {
        return "the board has only " + std::to_string(lines.size()) + " lines";
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (std::string problem = controlProblem(lines[i], i + 1); !problem.empty()) {
            return problem;
        }
    }
    if (lines[0].size() != 133) {
        return "the title has " + std::to_string(lines[0].size()) + " characters";
    }
    const std::size_t firstTotals = lines.size() - kTotalsLines;
    for (std::size_t i = 1; i < firstTotals; ++i) {
        if (std::string problem = framedProblem(lines[i], i + 1); !problem.empty()) {
            return problem;
        }
    }
    for (std::size_t i = firstTotals; i < lines.size(); ++i) {
        if (std::string problem = totalsProblem(lines[i]); !problem.empty()) {
            return problem;
        }
    }
    return {};
}

}  // namespace planora::boardtest
