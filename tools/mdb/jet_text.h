#pragma once

#include <string>
#include <string_view>

namespace planora::jet {

// The UTF-16 code units of a UTF-8 text. Throws ValueRejected (jet_values.h) for bytes that are
// not UTF-8 and for characters beyond U+FFFF, which libmdb, reading UCS-2, cannot give back.
std::u16string utf16Of(std::string_view utf8);

// A text as Jet 4 stores it: UTF-16LE, or, when `compress` is set and it comes out shorter,
// "compressed": the marker FF FE, then one byte for each character below U+0100 and two for
// the others, a 0 byte switching between the two modes. A text with a character whose low byte
// is 0 cannot be compressed (the 0 would read as a switch).
std::string storedText(std::u16string_view text, bool compress);

}  // namespace planora::jet
