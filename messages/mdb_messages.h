#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The texts of the Access (Jet 4) writer and of planora-mdbwrite, in Italian.
namespace planora::msg {

// --- Names of tables and fields ---
// what: "tabella" or "campo".
std::string mdbBadName(std::string_view what, std::string_view name, std::string_view reason);
std::string mdbNameEmpty();
std::string mdbNameTooLong(std::size_t characters);
std::string mdbNameStartsWithSpace();
std::string mdbNameForbiddenCharacter(std::string_view character);
std::string mdbNameReserved();
std::string mdbDuplicateTable(const std::filesystem::path& file, std::string_view table);
std::string mdbDuplicateColumn(std::string_view table, std::string_view column);
std::string mdbColumnCount(const std::filesystem::path& file, std::string_view table,
                           std::size_t columns);
std::string mdbBadTextLength(std::string_view table, std::string_view column, int length);

// --- Values ---
// A value as the messages show it: texts in quotes, cut after 40 characters.
std::string mdbShownText(std::string_view text);
std::string mdbBadValue(const std::filesystem::path& file, std::string_view table,
                        std::string_view column, std::uint64_t row, std::string_view shownValue,
                        std::string_view typeName, std::string_view reason);
std::string mdbOutOfRange(std::string_view lowest, std::string_view highest);
std::string mdbYesNoNull();
std::string mdbWrongKind(std::string_view kind);  // "testo", "numero", "data", ...
std::string mdbTextTooLong(std::size_t characters, std::size_t most);
std::string mdbBytesTooMany(std::size_t bytes, std::size_t most);
std::string mdbBeyondUcs2(std::uint32_t codePoint);
std::string mdbNotUtf8();
std::string mdbDateOutOfRange();
std::string mdbInexactDouble();
std::string mdbRowTooLarge(const std::filesystem::path& file, std::string_view table,
                           std::uint64_t row, std::size_t bytes, std::size_t most);
std::string mdbRowWidth(const std::filesystem::path& file, std::string_view table,
                        std::uint64_t row, std::size_t values, std::size_t columns);
std::string mdbFileTooLarge(const std::filesystem::path& file);

// --- planora-mdbwrite ---
std::string mdbwriteArguments(std::size_t given);
std::string mdbwriteNoFolder(const std::filesystem::path& folder);
std::string mdbwriteSameFolder(const std::filesystem::path& folder);
std::string mdbwriteCannotList(const std::filesystem::path& folder, std::string_view reason);
std::string mdbwriteWrote(const std::filesystem::path& source, const std::filesystem::path& target,
                          std::size_t tables, std::uint64_t rows);
std::string mdbwriteCopied(const std::filesystem::path& file);
std::string mdbwriteNotCopied(const std::filesystem::path& file,
                              const std::filesystem::path& writtenFrom);
std::string mdbwriteFolderSkipped(const std::filesystem::path& folder);
std::string mdbwriteMemoInstead(std::string_view table, std::string_view column);
std::string mdbwriteDoubleInstead(std::string_view table, std::string_view column);
std::string mdbwriteIntegerInstead(std::string_view table, std::string_view column);
extern const char* const kMdbwriteUsage;

// --- planora demo --format ---
std::string demoUnknownFormat(std::string_view format);

}  // namespace planora::msg
