#include "board/helpers.h"

#include <cmath>
#include <cstdlib>

#include "board/encoding.h"

namespace planora::board {

namespace {

bool isDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

// Upper case of ASCII and Latin-1 letters; other characters are left alone.
char32_t upperCase(char32_t c) {
    if (c >= U'a' && c <= U'z') {
        return c - 0x20;
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return c - 0x20;
    }
    if (c == 0xFF) {
        return 0x178;  // ÿ -> Ÿ
    }
    return c;
}

std::u32string_view trimBlanks(std::u32string_view text) {
    while (!text.empty() && text.front() == U' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == U' ') {
        text.remove_suffix(1);
    }
    return text;
}

// Characters first to first + count - 1 (1-based), as UTF-8.
std::string mid(std::u32string_view text, std::size_t first, std::size_t count) {
    return encodeUtf8(text.substr(first - 1, count));
}

bool isVerticalFrame(unsigned char code) {
    switch (code) {
        case 179:
        case 180:
        case 183:
        case 186:
        case 195:
        case 204:
            return true;
        default:
            return false;
    }
}

bool isHorizontalFrame(unsigned char code) {
    switch (code) {
        case 187:
        case 188:
        case 191:
        case 192:
        case 193:
        case 194:
        case 196:
        case 197:
        case 200:
        case 201:
        case 202:
        case 203:
        case 206:
        case 217:
        case 218:
            return true;
        default:
            return false;
    }
}

// The century of a two-digit year: the window reaches 20 years past the current year.
std::string centuryFor(double twoDigitYear, const Clock& clock) {
    const int pivot = clock.now().year % 100 + 20;
    return twoDigitYear <= pivot ? "20" : "19";
}

}  // namespace

double numericValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    double sign = 1;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        sign = text[i] == '-' ? -1 : 1;
        ++i;
    }
    double value = 0;
    for (; i < text.size() && isDigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
    }
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && isDigit(static_cast<unsigned char>(text[i])); ++i) {
            value += (text[i] - '0') * scale;
            scale /= 10;
        }
    }
    return sign * value;
}

std::string& ConvertiGrafici(std::string& text) {
    for (char& c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (isVerticalFrame(code)) {
            c = '|';
        } else if (isHorizontalFrame(code)) {
            c = '-';
        }
    }
    return text;
}

std::string& FormattaData(std::string& text, const Clock& clock) {
    const std::u32string chars = decodeUtf8(text);
    if (chars.size() == 6) {
        const std::string year = mid(chars, 5, 2);
        text = mid(chars, 1, 2) + "/" + mid(chars, 3, 2) + "/" +
               centuryFor(numericValue(year), clock) + year;
    } else if (chars.size() == 8) {
        text = mid(chars, 1, 2) + "/" + mid(chars, 3, 2) + "/" + mid(chars, 5, 4);
    }
    return text;
}

std::string PulisciTesto(std::string_view text, std::int16_t mode) {
    std::u32string result;
    for (char32_t c : decodeUtf8(text)) {
        c = upperCase(c);
        if (mode == 0) {
            if (c != U'\'') {
                result += c;
            }
        } else if (mode == 1) {
            if (isDigit(c) || c == U',' || c == U'-') {
                result += c;
            }
        }
    }
    if (result.empty()) {
        return mode == 0 ? " " : "0";
    }
    return encodeUtf8(result);
}

bool Bisestile(std::int16_t year) {
    return year % 4 == 0;
}

bool DataValida(std::string& text, GiorniMese& giorniMese) {
    const std::u32string chars = decodeUtf8(text);
    const std::u32string_view trimmed = trimBlanks(chars);
    if (trimmed.size() != 10) {
        return false;
    }
    text = encodeUtf8(trimmed);
    const double day = numericValue(mid(trimmed, 1, 2));
    const double month = numericValue(mid(trimmed, 4, 2));
    // Four characters hold at most 9999, so the year fits the 16-bit Bisestile.
    const double year = std::nearbyint(numericValue(mid(trimmed, 7, 4)));
    if (year < 1900 || month < 1 || month > 12) {
        return false;
    }
    giorniMese[2] = Bisestile(static_cast<std::int16_t>(year)) ? 29 : 28;
    const int wholeMonth = static_cast<int>(std::nearbyint(month));
    return day >= 1 && day <= giorniMese[wholeMonth];
}

}  // namespace planora::board
