#include "print/csv_export.h"

#include "board/board_file.h"
#include "board/encoding.h"
#include "files/no_case.h"
#include "files/safe_writer.h"
#include "files/station.h"
#include "print/board_lines.h"
#include "print/settings_text.h"

namespace planora::print {

namespace {

constexpr unsigned char kVerticalRule = 179;
constexpr unsigned char kRightTee = 180;
constexpr unsigned char kHorizontalRule = 196;

bool isDigitAt(std::string_view line, std::ptrdiff_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < line.size() &&
           line[static_cast<std::size_t>(index)] >= '0' &&
           line[static_cast<std::size_t>(index)] <= '9';
}

// The digit test of "," and ".": a digit before, and two after.
bool joinsDigits(std::string_view line, std::size_t i) {
    const auto at = static_cast<std::ptrdiff_t>(i);
    return isDigitAt(line, at - 1) && isDigitAt(line, at + 1) && isDigitAt(line, at + 2);
}

// The first character of a UTF-8 text.
std::string firstCharacter(std::string_view text) {
    const std::u32string points = board::decodeUtf8(text);
    return points.empty() ? std::string() : board::encodeUtf8(points.substr(0, 1));
}

class CsvLine {
  public:
    CsvLine(std::string_view line, const CsvMarks& marks)
        : line_(line), marks_(marks), currency_(firstCharacter(marks.currency)) {}

    std::string build() {
        for (std::size_t i = 0; i < line_.size(); ++i) {
            take(i);
        }
        return std::move(out_);
    }

  private:
    void take(std::size_t i) {
        const char c = line_[i];
        const auto byte = static_cast<unsigned char>(c);
        if (board::grid::isFrameAt(line_, i)) {
            frame(byte, i);
        } else if (c == '|' || c == '+') {
            separator();
        } else if (c == ',') {
            comma(i);
        } else if (c == '.') {
            out_ += joinsDigits(line_, i) ? "" : ".";
        } else if (c == '-') {
            out_ += isDigitAt(line_, static_cast<std::ptrdiff_t>(i) + 1) ? '-' : ' ';
        } else {
            out_ += board::cp1252ToUtf8(line_.substr(i, 1));
        }
    }

    void frame(unsigned char byte, std::size_t i) {
        if (byte == kHorizontalRule || (byte == kRightTee && i + 1 < line_.size())) {
            out_ += ' ';
        } else {
            separator();
        }
    }

    void separator() {
        out_ += marks_.separator;
        fieldStart_ = out_.size();
    }

    // A decimal comma puts the currency mark on the last blank of the field before it.
    void comma(std::size_t i) {
        if (!joinsDigits(line_, i)) {
            out_ += ' ';
            return;
        }
        const std::size_t blank = out_.rfind(' ');
        if (blank != std::string::npos && blank >= fieldStart_ && !currency_.empty()) {
            out_.replace(blank, 1, currency_);
        }
        out_ += marks_.decimalMark;
    }

    std::string_view line_;
    const CsvMarks& marks_;
    std::string currency_;
    std::string out_;
    std::size_t fieldStart_ = 0;
};

}  // namespace

CsvMarks readCsvMarks(const std::filesystem::path& folder) {
    CsvMarks marks;
    const auto lines = readSettingsLines(folder, "SeparatoreXLS.txt");
    if (!lines) {
        return marks;
    }
    std::string* const slots[] = {&marks.separator, &marks.decimalMark, &marks.currency};
    for (std::size_t i = 0; i < std::size(slots) && i < lines->size(); ++i) {
        *slots[i] = (*lines)[i];
    }
    return marks;
}

std::string csvLine(std::string_view boardLine, const CsvMarks& marks) {
    return CsvLine(boardLine, marks).build();
}

std::string csvContent(std::string_view boardBytes, const CsvMarks& marks) {
    std::string content = "\xEF\xBB\xBF";
    for (const std::string& line : splitLines(boardBytes)) {
        content += csvLine(line, marks);
        content += "\r\n";
    }
    return content;
}

std::string csvFileName(std::string_view stationCode) {
    return "fd" + std::string(stationCode) + ".csv";
}

std::filesystem::path ConvertiXLS(const std::filesystem::path& boardFile,
                                  const std::filesystem::path& csvFile, const CsvMarks& marks) {
    files::writeFileSafely(csvFile, csvContent(files::readFile(boardFile), marks));
    return csvFile;
}

std::filesystem::path exportCsv(const std::filesystem::path& dataFolder,
                                std::string_view stationCode) {
    const std::filesystem::path board = files::existingBoardFile(dataFolder, stationCode);
    const std::filesystem::path csv = files::fileNoCase(dataFolder, csvFileName(stationCode));
    return ConvertiXLS(board, csv, readCsvMarks(dataFolder));
}

}  // namespace planora::print
