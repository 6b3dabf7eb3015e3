#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace planora::print {

// The marks of SeparatoreXLS.txt, UTF-8: its first three lines, taken as they are; a missing
// line (or file) keeps its default.
struct CsvMarks {
    std::string separator = ",";
    std::string decimalMark = ".";
    std::string currency = "€";  // only its first character is used; empty: none
};
CsvMarks readCsvMarks(const std::filesystem::path& folder);

// One board line (Windows-1252 bytes) as a CSV line in UTF-8, without its line end: the rules
// of the frame become separators, horizontal rules blanks, amounts "1.234,50" become
// "€1234.50" with the configured marks. A frame byte is a rule only where the board draws
// rules; elsewhere it is the letter it is.
std::string csvLine(std::string_view boardLine, const CsvMarks& marks);

// The CSV file of a whole board: a UTF-8 byte-order mark, then one line per board line, each
// ended by CR LF.
std::string csvContent(std::string_view boardBytes, const CsvMarks& marks);

// "fd" + station code + ".csv" in the data folder.
std::string csvFileName(std::string_view stationCode);

// Converts the board file into the CSV file through the safe writer; returns the CSV file.
// Throws planora::Error naming the file that could not be read or written.
std::filesystem::path ConvertiXLS(const std::filesystem::path& boardFile,
                                  const std::filesystem::path& csvFile, const CsvMarks& marks);

// The CSV export of the print menu: the board file of the station, the marks of the data
// folder, the CSV file of the station. Returns the CSV file.
std::filesystem::path exportCsv(const std::filesystem::path& dataFolder,
                                std::string_view stationCode);

}  // namespace planora::print
