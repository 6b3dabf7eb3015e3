#pragma once

// What every board file must be, whatever the data: the checks of the hostile-data and fuzz
// tests.

#include <string>
#include <vector>

namespace planora::boardtest {

// The lines of a board file, without their CR LF.
std::vector<std::string> boardLines(const std::string& bytes);

// The first thing that is wrong with a board file, or the empty text: every line ends in CR LF,
// the title has 133 characters, every framed line (rules, title lines, rows) 132 with bars at
// the frame columns, no line holds a control character, and the five totals lines follow with
// no negative count.
std::string boardProblem(const std::string& bytes);

}  // namespace planora::boardtest
