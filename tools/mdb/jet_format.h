#pragma once

// Layout facts of Jet 4 files (Access 2000 to 2003) that the writer relies on, from the
// public notes on the format. Numbers are little-endian; offsets are within a page.

#include <cstddef>
#include <cstdint>
#include <string>

namespace planora::jet {

inline constexpr std::size_t kPageSize = 4096;
// Files of Jet 4 are limited to 2 GB.
inline constexpr std::uint32_t kMostPages = std::uint32_t{1} << 19;

// The first byte of a page.
enum class PageType : std::uint8_t {
    Header = 0x00,
    Data = 0x01,  // rows of a table, long values ("LVAL") or usage maps
    TableDefinition = 0x02,
    UsageMap = 0x05,  // one bit per page, referred to by a usage map of the second kind
};

// Fixed pages of every file.
inline constexpr std::uint32_t kHeaderPage = 0;
inline constexpr std::uint32_t kFreePagesMapPage = 1;
inline constexpr std::uint32_t kCatalogDefinitionPage = 2;  // the table MSysObjects

// Pages of rows (data, long values, usage maps): a header, then the offsets of the rows, which
// are stored from the end of the page downwards.
inline constexpr std::size_t kRowPageFreeSpace = 2;  // 16 bits
inline constexpr std::size_t kRowPageOwner = 4;      // table definition page, or "LVAL"
inline constexpr std::size_t kRowPageRowCount = 12;  // 16 bits
inline constexpr std::size_t kRowPageOffsets = 14;   // 16 bits per row
inline constexpr std::size_t kMostRowsPerPage = 255;
inline constexpr std::size_t kMostRowBytes = kPageSize - kRowPageOffsets - 2;

// A row is found by a 32-bit pointer: page number times 256 plus the row's number on the page.
inline std::uint32_t rowPointer(std::uint32_t page, std::size_t row) {
    return (page << 8) | static_cast<std::uint32_t>(row);
}

// Usage maps: the first kind holds the bitmap inline after a start page; the second kind
// lists pages of type UsageMap, each of which maps a fixed stretch of pages.
inline constexpr std::size_t kInlineMapBytes = 64;
inline constexpr std::size_t kInlineMapHeader = 5;
inline constexpr std::uint32_t kInlineMapPages = (kInlineMapBytes - kInlineMapHeader) * 8;
inline constexpr std::size_t kMapPageHeader = 4;
inline constexpr std::uint32_t kPagesPerMapPage = (kPageSize - kMapPageHeader) * 8;

// Long values (memo and OLE fields): a 12-byte field in the row, then the value inline or in
// rows of "LVAL" pages.
inline constexpr std::size_t kLongValueField = 12;
inline constexpr std::uint32_t kLongValueInline = 0x80000000;
inline constexpr std::uint32_t kLongValueOneRow = 0x40000000;
inline constexpr std::size_t kMostInlineLongValue = 64;
inline constexpr std::size_t kLongValueChunk = kMostRowBytes - 4;  // after the next pointer
// libmdb takes a length with any of the top eight bits set for a flag.
inline constexpr std::size_t kMostLongValueBytes = (std::size_t{1} << 24) - 1;

// Little-endian numbers into a byte string.
inline void putLittleEndian(std::string& bytes, std::size_t at, std::uint64_t value,
                            std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

inline void appendLittleEndian(std::string& bytes, std::uint64_t value, std::size_t width) {
    bytes.resize(bytes.size() + width);
    putLittleEndian(bytes, bytes.size() - width, value, width);
}

}  // namespace planora::jet
