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

std::string cutTrim(std::string_view utf8, std::size_t length) {
    const std::string bytes = utf8ToCp1252(utf8);
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
        text += padded(utf8ToCp1252(parts.hotelName).substr(0, 45), 45);
        text += " Tableau : ";
        if (parts.tableauFound) {
            text += grid::cutTrim(parts.tableauName, std::string::npos);
            text += " del ";
            text += utf8ToCp1252(parts.referenceDate);
        }
    }
    if (text.size() > kTitleTextWidth) {
        throw Error("The board title is longer than " + std::to_string(kTitleTextWidth) +
                    " characters and does not fit its line: \"" + cp1252ToUtf8(text) + "\"");
    }
    text = padded(std::move(text), kTitleTextWidth);
    text += twoDigits(now.day) + "/" + twoDigits(now.month) + "/" + std::to_string(now.year);
    text += " " + twoDigits(now.hour) + ":" + twoDigits(now.minute);
    return text;
}

std::string countText(long long count, std::string_view what) {
    if (count >= 1000) {
        throw Error("The count of " + std::string(what) + " (" + std::to_string(count) +
                    ") does not fit the three characters of the board");
    }
    std::string digits = std::to_string(count);
    // Blanks for 4 minus the width the number has with its sign place.
    const std::size_t signed_width = digits.size() + (count >= 0 ? 1 : 0);
    return std::string(4 - std::min<std::size_t>(signed_width, 4), ' ') + digits;
}

std::vector<std::string> totalsLines(const Totals& t) {
    auto line = [](const char* first, int count, std::string_view countName, const char* second,
                   int rooms, std::string_view roomsName, const char* third, int arrangement) {
        return first + countText(count, countName) + second + countText(rooms, roomsName) + third +
               std::to_string(arrangement);
    };
    return {
        line("Totale Arrivi   : ", t.arrivi, "arrivals", "    Tot.Cam. Arrivate   : ",
             t.camArrivate, "rooms with arrivals", "    Totale PN       : ", t.pn),
        line("Totale Partenze : ", t.partenze, "departures", "    Tot.Cam. Partenza   : ",
             t.camPartenza, "rooms with departures", "    Totale B&B      : ", t.bb),
        line("Totale Fermate  : ", t.fermate, "stays", "    Tot.Cam. Fermata    : ", t.camFermata,
             "rooms with stays", "    Totale HB       : ", t.hb),
        line("Totale Presenze : ", t.presenze, "guests present", "    Tot.Cam. Presenti   : ",
             t.camPresenti, "rooms occupied", "    Totale FB       : ", t.fb),
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
