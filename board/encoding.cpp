#include "board/encoding.h"

#include <array>
#include <cstdint>
#include <optional>

#include "board/board_file.h"
#include "board/latin_form.h"

namespace planora::board {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80 to 0x9F; the five bytes the code page leaves undefined keep their
// C1 control code point so that they survive a round trip.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t cp1252ToCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

// The byte of a code point in Windows-1252; none when the code page lacks it.
std::optional<char> cp1252Byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp) {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

bool inCp1252(char32_t cp) {
    return cp1252Byte(cp).has_value();
}

bool isAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// Below U+0300 (the combining accents) every text is already in normalisation form C.
bool mayNeedComposing(std::u32string_view text) {
    for (const char32_t c : text) {
        if (c >= 0x300) {
            return true;
        }
    }
    return false;
}

// A run of characters the code page lacks, in their nearest Latin form, then '?' for each
// character that still has no byte.
void appendLatinForm(std::string& out, std::u32string_view run) {
    for (const char32_t c : latinForm(run, inCp1252)) {
        out += cp1252Byte(c).value_or('?');
    }
}

// Code page 437 single-line frame bytes as Unicode box drawing; 0 for any other byte.
char32_t frameCodePoint(unsigned char byte) {
    switch (byte) {
        case 179:
            return U'\u2502';
        case 180:
            return U'\u2524';
        case 191:
            return U'\u2510';
        case 192:
            return U'\u2514';
        case 193:
            return U'\u2534';
        case 194:
            return U'\u252C';
        case 195:
            return U'\u251C';
        case 196:
            return U'\u2500';
        case 197:
            return U'\u253C';
        case 217:
            return U'\u2518';
        case 218:
            return U'\u250C';
        default:
            return 0;
    }
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

struct Decoded {
    char32_t codePoint;
    std::size_t length;
};

// One code point at the start of text (not empty). Overlong forms, surrogates and values
// beyond U+10FFFF are invalid and read as one replaced byte.
Decoded decodeOne(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return {kReplacement, 1};
    }
    if (text.size() < length) {
        return {kReplacement, 1};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) {
            return {kReplacement, 1};
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return {kReplacement, 1};
    }
    return {cp, length};
}

}  // namespace

std::u32string decodeUtf8(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const Decoded d = decodeOne(text);
        out += d.codePoint;
        text.remove_prefix(d.length);
    }
    return out;
}

std::string encodeUtf8(std::u32string_view codePoints) {
    std::string out;
    out.reserve(codePoints.size());
    for (char32_t cp : codePoints) {
        appendUtf8(out, cp);
    }
    return out;
}

std::string utf8ToCp1252(std::string_view text) {
    if (isAscii(text)) {
        return std::string(text);
    }
    std::u32string chars = decodeUtf8(text);
    if (mayNeedComposing(chars)) {
        chars = composed(chars);
    }
    std::string out;
    out.reserve(chars.size());
    const std::u32string_view view(chars);
    for (std::size_t i = 0; i < view.size();) {
        if (view[i] == kReplacement) {  // not UTF-8 at all
            out += '?';
            ++i;
        } else if (const auto byte = cp1252Byte(view[i])) {
            out += *byte;
            ++i;
        } else {
            // Transliteration reads a whole run, as a word's letters depend on each other.
            std::size_t end = i + 1;
            while (end < view.size() && view[end] != kReplacement && !inCp1252(view[end])) {
                ++end;
            }
            appendLatinForm(out, view.substr(i, end - i));
            i = end;
        }
    }
    return out;
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        appendUtf8(out, cp1252ToCodePoint(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string boardLineToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        // The same bytes are letters outside the frame: "CITTÀ" ends in a corner's byte.
        const char32_t frame = grid::isFrameAt(bytes, i) ? frameCodePoint(byte) : 0;
        appendUtf8(out, frame != 0 ? frame : cp1252ToCodePoint(byte));
    }
    return out;
}

}  // namespace planora::board
