#pragma once

#include <string>
#include <vector>

#include "print/command_set.h"

namespace planora::print {

inline constexpr const char* kHeadingFont = "Times New Roman";
// Sizes used when the command set gives none (or is not a system printer's).
inline constexpr double kDefaultCompressedPoints = 7;
inline constexpr double kDefaultNormalPoints = 10;
// What each bold mark "ç" changes the size by.
inline constexpr double kBoldStep = 0.4;

// A piece of a printed line in one font state. Text is UTF-8.
struct TextRun {
    std::string text;
    bool bold = false;
    double points = 0;
};

// One printed line: its font family and its runs, drawn one after the other; the last run
// holds the font state at the end of the line (its text may be empty), which sets the line's
// height.
struct PrintedLine {
    std::string font;
    std::vector<TextRun> runs;
};

struct PlannedPage {
    std::vector<PrintedLine> lines;
};

// The pages of system-printer mode, whatever draws them: a system printer or the PDF writer.
struct PagePlan {
    std::vector<PlannedPage> pages;
    bool landscape = false;
    bool duplex = false;
};

struct PageLayout {
    CommandSet commands;
    std::string fontName;
    int pageLength = 60;
    bool compressed = false;
    bool landscape = false;
    bool duplex = false;
    bool keepFrame = false;  // letter "K": no conversion of the frame bytes
};

// The size of the board text: A(1) for compressed print, else A(7); the defaults when the
// command set is not a system printer's or gives no positive size.
double boardPoints(const PageLayout& layout);
double headingPoints(const PageLayout& layout);

// Lays the board out as system-printer mode prints it: every page starts with one blank line
// in Times New Roman and the top margin, then board lines until the line count (margin
// included) reaches the page length. A form-feed line ends the page; the next page starts
// only when a line follows, so no page is ever empty. Each "ç" switches bold on (the size
// 0.4 points lower) or off again and is not printed; the state carries over to the next
// lines, and a new page sets the size back.
PagePlan planPages(const std::vector<std::string>& boardLines, const PageLayout& layout);

}  // namespace planora::print
