#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "print/command_set.h"

namespace planora::print {

// How raw mode lays the board out.
struct RawLayout {
    CommandSet commands;
    int pageLength = 60;
    bool compressed = false;
    bool keepFrame = false;  // letter "K": the frame bytes go out unconverted
    bool fillPages = false;  // letter "U": pages end with empty lines instead of a form feed
};

// Whether the option letters of CodiceAssistenza hold a letter (exact case).
bool hasOptionLetter(std::string_view codiceAssistenza, char letter);

// The bytes raw mode sends: the five command bytes of the chosen pitch (none without a command
// set), then each page's top
// margin and board lines ended by CR LF, each page ended by a form feed or filled with empty
// lines. A form-feed line ends the page. A page that would hold only its top margin is not
// sent at the end. Throws planora::Error for a command value that is not a byte.
std::string rawStream(const std::vector<std::string>& boardLines, const RawLayout& layout,
                      int tipoStampa);

}  // namespace planora::print
