#pragma once

#include <array>
#include <string_view>

namespace planora::print {

// A printer's command set, the SetStampa record of a print type: the twelve numbers of
// Compresso (A) and of Grassetto (B), each written as three digits.
struct CommandSet {
    std::array<int, 12> a{};
    std::array<int, 12> b{};
    bool found = false;  // false: the print type has no SetStampa record

    // A(k) and B(k), k from 1 to 12.
    int A(int k) const { return a.at(static_cast<std::size_t>(k - 1)); }
    int B(int k) const { return b.at(static_cast<std::size_t>(k - 1)); }

    // A(6) = 1 draws through a system printer; anything else writes raw bytes.
    bool systemPrinter() const { return found && A(6) == 1; }
    // Blank lines at the top of each page; a negative value counts as none.
    int topMargin() const { return B(6) > 0 ? B(6) : 0; }
    // The page length the letter "U" fills pages to.
    int filledLength(bool compressed) const;
};

// Twelve groups of three characters, each read as a number (a missing group reads 0).
std::array<int, 12> commandGroups(std::string_view text);

}  // namespace planora::print
