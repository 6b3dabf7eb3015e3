#include "board/board_file.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "board/encoding.h"
#include "board/room_line_fields.h"
#include "db/error.h"
#include "files/safe_writer.h"
#include "files/station.h"

namespace planora::board {

namespace grid {

namespace {

constexpr std::array<std::size_t, 11> kFrameColumns{1, 8, 15, 41, 67, 74, 78, 84, 90, 101, 132};
constexpr char kBar = static_cast<char>(179);
constexpr char kDash = static_cast<char>(196);

std::string framed(char filler, char left, char junction, char right) {
    std::string line(kWidth, filler);
    for (std::size_t column : kFrameColumns) {
        line[column - 1] = junction;
    }
    line.front() = left;
    line.back() = right;
    return line;
}

// A title line: the bars of the grid and the field texts between them, in order.
std::string titleRow(const std::array<std::string_view, 10>& fields) {
    std::string line(1, kBar);
    for (std::string_view field : fields) {
        line += field;
        line += kBar;
    }
    return line;
}

}  // namespace

std::string blankRow() {
    return framed(' ', kBar, kBar, kBar);
}

std::string topRule() {
    return framed(kDash, static_cast<char>(218), static_cast<char>(194), static_cast<char>(191));
}

std::string middleRule() {
    return framed(kDash, static_cast<char>(195), static_cast<char>(197), static_cast<char>(180));
}

std::string bottomRule() {
    return framed(kDash, static_cast<char>(192), static_cast<char>(193), static_cast<char>(217));
}

std::string firstTitleLine() {
    const std::string blanks25(25, ' ');
    return titleRow({"  N.  ", " TIPO ", blanks25, blanks25, "      ", "   ", "     ", "     ",
                     "  STATO   ", std::string(30, ' ')});
}

std::string secondTitleLine() {
    return titleRow({"CAMERA", "CAMERA", " NOME CLIENTE            ", " NOME DITTA              ",
                     "ARRAN.", "PAX", " ARR ", " PAR ", "  CAMERA  ",
                     " NOTE" + std::string(25, ' ')});
}

namespace {

bool isControlByte(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

// The control characters of a UTF-8 text as blanks: C0, DEL and the C1 block (U+0080 to
// U+009F, "\xC2\x80" to "\xC2\x9F"), which a terminal or a printer may take for commands.
std::string controlsAsBlanks(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const bool c1 = byte == 0xC2 && i + 1 < utf8.size() &&
                        static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
        if (c1) {
            ++i;
        }
        out += c1 || isControlByte(byte) ? ' ' : utf8[i];
    }
    return out;
}

}  // namespace

std::string boardText(std::string_view utf8) {
    std::string bytes = utf8ToCp1252(controlsAsBlanks(utf8));
    // A transliteration never makes one, but the grid must not depend on it.
    std::replace_if(
        bytes.begin(), bytes.end(),
        [](char c) { return isControlByte(static_cast<unsigned char>(c)); }, ' ');
    return bytes;
}

std::string cutTrim(std::string_view utf8, std::size_t length) {
    const std::string bytes = boardText(utf8);
    return trimBlanks(std::string_view(bytes).substr(0, length));
}

void putLeft(std::string& line, Field field, std::string_view text) {
    line.replace(field.column - 1, text.size(), text);
}

void putRight(std::string& line, Field field, std::string_view text) {
    line.replace(field.column - 1 + field.width - text.size(), text.size(), text);
}

bool isBlank(const std::string& line, Field field) {
    return line.find_first_not_of(' ', field.column - 1) >= field.column - 1 + field.width;
}

bool isFrameByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value == 179 || value == 180 || (value >= 191 && value <= 197) || value == 217 ||
           value == 218;
}

bool isFrameAt(std::string_view line, std::size_t index) {
    if (index >= line.size() || !isFrameByte(line[index])) {
        return false;
    }
    if (line.size() == kWidth &&
        std::ranges::find(kFrameColumns, index + 1) != kFrameColumns.end()) {
        return true;
    }
    return std::ranges::all_of(line, isFrameByte);
}

}  // namespace grid

namespace {

constexpr std::size_t kTitleTextWidth = 117;

std::string twoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string padded(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

}  // namespace

std::string titleLine(const TitleParts& parts, const LocalDateTime& now) {
    std::string text = " Hotel : ";
    if (parts.hotelFound) {
        text += padded(grid::boardText(parts.hotelName).substr(0, 45), 45);
        text += " Tableau : ";
        if (parts.tableauFound) {
            text += grid::cutTrim(parts.tableauName, std::string::npos);
            text += " del ";
            text += grid::boardText(parts.referenceDate);
        }
    }
    if (text.size() > kTitleTextWidth) {
        throw Error(msg::titleTooLong(kTitleTextWidth, cp1252ToUtf8(text)));
    }
    text = padded(std::move(text), kTitleTextWidth);
    text += twoDigits(now.day) + "/" + twoDigits(now.month) + "/" + std::to_string(now.year);
    text += " " + twoDigits(now.hour) + ":" + twoDigits(now.minute);
    return text;
}

namespace {

constexpr long long kMostCount = 999;

// Blanks for 4 minus the width the number has with its sign place.
std::string paddedCount(long long count) {
    std::string digits = std::to_string(count);
    const std::size_t signed_width = digits.size() + (count >= 0 ? 1 : 0);
    return std::string(4 - std::min<std::size_t>(signed_width, 4), ' ') + digits;
}

}  // namespace

std::string countText(long long count, msg::Counter counter) {
    if (count > kMostCount) {
        throw Error(msg::counterDoesNotFit(counter, count));
    }
    return paddedCount(count);
}

std::string personsText(long long count, std::string_view room) {
    if (count > kMostCount) {
        throw Error(msg::personsDoNotFit(room, count));
    }
    return paddedCount(count);
}

std::vector<std::string> totalsLines(const Totals& t) {
    using msg::Counter;
    auto line = [](const char* first, int count, Counter countName, const char* second, int rooms,
                   Counter roomsName, const char* third, int arrangement) {
        return first + countText(count, countName) + second + countText(rooms, roomsName) + third +
               std::to_string(arrangement);
    };
    return {
        line("Totale Arrivi   : ", t.arrivi, Counter::Arrivi, "    Tot.Cam. Arrivate   : ",
             t.camArrivate, Counter::CamArrivate, "    Totale PN       : ", t.pn),
        line("Totale Partenze : ", t.partenze, Counter::Partenze, "    Tot.Cam. Partenza   : ",
             t.camPartenza, Counter::CamPartenza, "    Totale B&B      : ", t.bb),
        line("Totale Fermate  : ", t.fermate, Counter::Fermate, "    Tot.Cam. Fermata    : ",
             t.camFermata, Counter::CamFermata, "    Totale HB       : ", t.hb),
        line("Totale Presenze : ", t.presenze, Counter::Presenze, "    Tot.Cam. Presenti   : ",
             t.camPresenti, Counter::CamPresenti, "    Totale FB       : ", t.fb),
        std::string(29, ' ') +
            "                         Totale Generale : " + std::to_string(t.generale),
    };
}

void BoardFile::add(std::string line) {
    content_ += line;
    content_ += "\r\n";
}

std::filesystem::path BoardFile::write(const std::filesystem::path& folder,
                                       const std::string& stationCode) const {
    const std::filesystem::path target = files::boardFilePath(folder, stationCode);
    files::writeFileSafely(target, content_);
    return target;
}

}  // namespace planora::board
