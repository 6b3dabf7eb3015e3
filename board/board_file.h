#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "board/builder.h"
#include "board/clock.h"
#include "messages/board_messages.h"

namespace planora::board {

// The fixed-width board: lines of single Windows-1252 bytes, frame bytes of code page 437.
namespace grid {

inline constexpr std::size_t kWidth = 132;

// A field of a framed line: its first column (from 1) and its width.
struct Field {
    std::size_t column;
    std::size_t width;
};
inline constexpr Field kCamera{2, 6};
inline constexpr Field kTipo{9, 6};
inline constexpr Field kNome{16, 25};
inline constexpr Field kDitta{42, 25};
inline constexpr Field kArrangiamento{68, 6};
inline constexpr Field kPax{75, 3};
inline constexpr Field kArrivo{79, 5};
inline constexpr Field kPartenza{85, 5};
inline constexpr Field kStato{91, 10};
inline constexpr Field kNote{102, 30};

// 132 blanks with the column bars.
std::string blankRow();
std::string topRule();
std::string middleRule();
std::string bottomRule();
std::string firstTitleLine();
std::string secondTitleLine();

// Board text of a database or typed (UTF-8) value: Windows-1252 (utf8ToCp1252), with every
// control character and DEL as one blank, so that nothing breaks the grid.
std::string boardText(std::string_view utf8);
// The board text, cut to `length` characters, trimmed.
std::string cutTrim(std::string_view utf8, std::size_t length);
// Writes board text into a field, left-aligned; the text must fit.
void putLeft(std::string& line, Field field, std::string_view text);
void putRight(std::string& line, Field field, std::string_view text);
// True when the field holds only blanks.
bool isBlank(const std::string& line, Field field);

// The bytes the frame is drawn with: 179, 180, 191 to 197, 217 and 218.
bool isFrameByte(char byte);
// Whether the byte at `index` (from 0) of a board line is part of the frame: a frame byte at a
// frame column of a framed line (132 characters), or any byte of a line made only of frame
// bytes (a rule). Elsewhere the same values are Windows-1252 letters: "CITTÀ" ends in the byte
// of the bottom-left corner.
bool isFrameAt(std::string_view line, std::size_t index);

}  // namespace grid

// What the title line shows; a part that was not found is absent.
struct TitleParts {
    bool hotelFound = false;
    std::string hotelName;  // RagioneSociale, UTF-8
    bool tableauFound = false;
    std::string tableauName;    // Descrizione, UTF-8
    std::string referenceDate;  // as typed
};

// The unframed first line, 133 characters. Throws planora::Error when the text before the
// date and time is longer than 117 characters.
std::string titleLine(const TitleParts& parts, const LocalDateTime& now);

// The four totals lines and the grand-total line. Throws planora::Error for a count that does
// not fit its three characters.
std::vector<std::string> totalsLines(const Totals& totals);

// A count of the totals right-aligned in three characters; throws planora::Error naming the
// counter when it does not fit.
std::string countText(long long count, msg::Counter counter);
// The persons of a room (PAX) the same way; the error names the room.
std::string personsText(long long count, std::string_view room);

// The board file in the making: lines kept in memory, then written all at once so that a run
// that fails leaves the previous board as it was.
class BoardFile {
  public:
    void add(std::string line);
    // The file content: every line ended by CR LF.
    const std::string& content() const { return content_; }
    // Replaces the board file of the station (an existing one found without regard to case)
    // through the safe file writer. Returns the board file.
    std::filesystem::path write(const std::filesystem::path& folder,
                                const std::string& stationCode) const;

  private:
    std::string content_;
};

}  // namespace planora::board
