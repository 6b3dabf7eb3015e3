#pragma once

// A realistic board for the drawing tests and the poppler tools that read a PDF back.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "board/board_file.h"
#include "board/encoding.h"
#include "tests/print/print_fixture.h"

namespace planora::print::testing {

// The output of a command, or "" when it cannot run.
inline std::string commandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            output.append(buffer, got);
        }
        ::pclose(pipe);
    }
    return output;
}

inline std::string pdfText(const std::filesystem::path& pdf) {
    return commandOutput("pdftotext -layout '" + pdf.string() + "' -");
}

inline int pdfPages(const std::filesystem::path& pdf) {
    const std::string info = commandOutput("pdfinfo '" + pdf.string() + "'");
    const auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// "595 x 842" for A4 upright.
inline std::string pdfPageSize(const std::filesystem::path& pdf) {
    const std::string info = commandOutput("pdfinfo '" + pdf.string() + "'");
    const auto at = info.find("Page size:");
    if (at == std::string::npos) {
        return "";
    }
    const auto start = info.find_first_not_of(' ', at + 10);
    const auto end = info.find(" pts", start);
    return info.substr(start, end - start);
}

inline std::string pdfFonts(const std::filesystem::path& pdf) {
    return commandOutput("pdffonts '" + pdf.string() + "'");
}

// The line of the text holding a word.
inline std::string lineWith(const std::string& text, const std::string& word) {
    const auto at = text.find(word);
    if (at == std::string::npos) {
        return "";
    }
    const auto start = text.rfind('\n', at);
    const auto end = text.find('\n', at);
    return text.substr(start == std::string::npos ? 0 : start + 1,
                       end == std::string::npos ? std::string::npos : end - start - 1);
}

// A board row with a guest and a company (UTF-8 in, board bytes out).
inline std::string guestRow(const std::string& room, const std::string& guest,
                            const std::string& company) {
    std::string row = board::grid::blankRow();
    board::grid::putLeft(row, board::grid::kCamera, room);
    board::grid::putLeft(row, board::grid::kNome, board::utf8ToCp1252(guest));
    board::grid::putLeft(row, board::grid::kDitta, board::utf8ToCp1252(company));
    return row;
}

// Title, frame, two title lines, the rows, totals: about the board the program writes.
inline std::vector<std::string> boardLines(const std::vector<std::string>& rows) {
    std::vector<std::string> lines{
        board::utf8ToCp1252(" Hotel : Hotel Prova   Tableau : Piano terra"), board::grid::topRule(),
        board::grid::firstTitleLine(), board::grid::secondTitleLine(), board::grid::middleRule()};
    for (const std::string& row : rows) {
        lines.push_back(row);
        lines.push_back(board::grid::middleRule());
    }
    lines.push_back(board::grid::bottomRule());
    lines.push_back("Totale Arrivi   :   1");
    return lines;
}

}  // namespace planora::print::testing
