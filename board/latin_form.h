#pragma once

#include <string>
#include <string_view>

namespace planora::board {

// Text in normalisation form C (a letter and its combining accents as one character where
// Unicode has one).
std::u32string composed(std::u32string_view text);

// The nearest Latin form of characters that the target character set lacks, as the
// transliterations of the Unicode library give it: "Ł" -> "L", "Москва" -> "Moskva",
// "北京" -> "bei jing". Characters the set has (`inSet`) are kept as the transliteration gives
// them; characters that keep no visible form (combining marks, format characters) are dropped;
// what has no Latin form at all comes back as it was, for the caller to replace.
std::u32string latinForm(std::u32string_view text, bool (*inSet)(char32_t));

}  // namespace planora::board
