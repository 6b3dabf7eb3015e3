#pragma once

#include <string>

namespace planora::print {

// The conversion of a board line (Windows-1252 bytes) for a system printer: the acute accent
// and the frame bytes that are also accented capitals become "'", "à", "è", "é", "ì", "ù" and
// "ò"; the other frame bytes "-" and "|". In place; returns the text.
std::string& Converti2(std::string& frase);

}  // namespace planora::print
