#pragma once

#include <string>
#include <string_view>
#include <vector>

// The board as the preview shows it: UTF-8 text whose frame is drawn with '|' and '-'.
namespace planora::preview {

// One board line (Windows-1252 bytes, code page 437 frame) for the screen. Only the bytes that
// draw the frame go through ConvertiGrafici; the same values elsewhere are letters ("CITTÀ")
// and are decoded as such.
std::string lineForScreen(std::string_view boardLine);

// The lines of a board file: ended by CR LF, LF or CR; a last line without an end counts too.
std::vector<std::string> splitBoardLines(std::string_view bytes);

// The lines of a text typed in the preview (ended by '\n', a '\r' before it is dropped). A
// text that ends with a line end has no empty line after it.
std::vector<std::string> splitScreenLines(std::string_view text);

// Lines joined by `separator`, optionally with one after the last line too.
std::string joinLines(const std::vector<std::string>& lines, std::string_view separator,
                      bool endLast);

}  // namespace planora::preview
