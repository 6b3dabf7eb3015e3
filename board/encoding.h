#pragma once

#include <string>
#include <string_view>

namespace planora::board {

// UTF-8 (database text) to the single-byte Windows-1252 of the board file. The text is put in
// normalisation form C first (a decomposed "e" and accent is one "é"); characters the code page
// lacks take their nearest Latin form ("Łukasz" -> "Lukasz", "Москва" -> "Moskva"), and only
// what has none becomes '?', as does a byte that is not UTF-8. ASCII text is copied as it is.
std::string utf8ToCp1252(std::string_view text);
std::string cp1252ToUtf8(std::string_view bytes);

// A board file line for a terminal: the bytes of the frame (grid::isFrameAt) as Unicode box
// drawing, the rest, letters of the same values included, as Windows-1252, all in UTF-8.
std::string boardLineToUtf8(std::string_view bytes);

// UTF-8 as code points and back; a byte that starts no valid sequence reads as U+FFFD.
std::u32string decodeUtf8(std::string_view text);
std::string encodeUtf8(std::u32string_view codePoints);

}  // namespace planora::board
