#include "tools/mdb/jet_definition.h"

#include "tools/mdb/jet_format.h"
#include "tools/mdb/jet_text.h"

namespace planora::jet {

namespace {

constexpr std::size_t kHeaderBytes = 63;
constexpr std::size_t kColumnBytes = 25;
constexpr std::size_t kLongValueMapBytes = 10;
constexpr std::size_t kContinuationHeader = 8;
// A number the writers of the format put in each definition and column block.
constexpr std::uint32_t kTableNumber = 1625;
constexpr std::uint8_t kUserTable = 0x4E;
constexpr std::uint8_t kSystemTable = 0x53;
// Column flags: fixed size, may be Null, may be updated; compressed text.
constexpr std::uint8_t kFixedFlag = 0x01;
constexpr std::uint8_t kColumnFlags = 0x12;
constexpr std::uint8_t kCompressedText = 0x01;
constexpr std::uint16_t kGeneralSortOrder = 0x0409;

std::string utf16leName(const std::string& name) {
    const std::u16string units = utf16Of(name);
    std::string bytes;
    for (const char16_t unit : units) {
        appendLittleEndian(bytes, unit, 2);
    }
    return bytes;
}

std::size_t definitionBytes(const TableLayout& layout) {
    std::size_t bytes = kHeaderBytes + kColumnBytes * layout.columns.size() + 2;
    for (const ColumnLayout& place : layout.columns) {
        bytes += 2 + utf16leName(place.column.name).size();
    }
    return bytes + kLongValueMapBytes * layout.longValueCount;
}

std::string header(const TableDefinition& definition) {
    const TableLayout& layout = *definition.layout;
    std::string bytes(kHeaderBytes, '\0');
    bytes[0] = static_cast<char>(PageType::TableDefinition);
    bytes[1] = 0x01;
    putLittleEndian(bytes, 8, definitionBytes(layout), 4);
    putLittleEndian(bytes, 12, kTableNumber, 4);
    putLittleEndian(bytes, 16, definition.rows, 4);
    bytes[24] = 0x01;  // lets Access number new rows
    bytes[40] = static_cast<char>(definition.system ? kSystemTable : kUserTable);
    putLittleEndian(bytes, 41, layout.columns.size(), 2);  // columns ever, with deleted ones
    putLittleEndian(bytes, 43, layout.variableCount, 2);
    putLittleEndian(bytes, 45, layout.columns.size(), 2);
    putLittleEndian(bytes, 55, definition.usedPages, 4);
    putLittleEndian(bytes, 59, definition.freePages, 4);
    return bytes;
}

std::string columnBlock(const ColumnLayout& place) {
    const ColumnType type = place.column.type;
    const bool text = type == ColumnType::Text || type == ColumnType::Memo;
    std::string block(kColumnBytes, '\0');
    block[0] = static_cast<char>(type);
    putLittleEndian(block, 1, kTableNumber, 4);
    putLittleEndian(block, 5, place.number, 2);
    putLittleEndian(block, 7, place.variableIndex, 2);
    putLittleEndian(block, 9, place.number, 2);
    if (text) {
        putLittleEndian(block, 11, kGeneralSortOrder, 2);
    }
    block[15] = static_cast<char>(kColumnFlags | (place.fixed ? kFixedFlag : 0));
    block[16] = static_cast<char>(text ? kCompressedText : 0);
    putLittleEndian(block, 21, place.fixedOffset, 2);
    putLittleEndian(block, 23, place.length, 2);
    return block;
}

std::string definitionOf(const TableDefinition& definition) {
    std::string bytes = header(definition);
    for (const ColumnLayout& place : definition.layout->columns) {
        bytes += columnBlock(place);
    }
    for (const ColumnLayout& place : definition.layout->columns) {
        const std::string name = utf16leName(place.column.name);
        appendLittleEndian(bytes, name.size(), 2);
        bytes += name;
    }
    for (const LongValueMaps& maps : definition.longValueMaps) {
        appendLittleEndian(bytes, maps.column, 2);
        appendLittleEndian(bytes, maps.usedPages, 4);
        appendLittleEndian(bytes, maps.freePages, 4);
    }
    appendLittleEndian(bytes, 0xFFFF, 2);
    return bytes;
}

}  // namespace

std::uint32_t definitionPageCount(const TableLayout& layout) {
    const std::size_t bytes = definitionBytes(layout);
    if (bytes <= kPageSize) {
        return 1;
    }
    const std::size_t perPage = kPageSize - kContinuationHeader;
    return static_cast<std::uint32_t>(1 + (bytes - kPageSize + perPage - 1) / perPage);
}

std::string definitionPages(const TableDefinition& definition, std::uint32_t firstPage) {
    const std::string bytes = definitionOf(definition);
    const std::uint32_t pages = definitionPageCount(*definition.layout);
    std::string out;
    std::size_t at = 0;
    for (std::uint32_t i = 0; i < pages; ++i) {
        std::string page(kPageSize, '\0');
        std::size_t used = 0;
        if (i == 0) {
            used = std::min(bytes.size(), kPageSize);
            page.replace(0, used, bytes, 0, used);
        } else {
            page[0] = static_cast<char>(PageType::TableDefinition);
            page[1] = 0x01;
            const std::size_t piece = std::min(bytes.size() - at, kPageSize - kContinuationHeader);
            page.replace(kContinuationHeader, piece, bytes, at, piece);
            used = kContinuationHeader + piece;
        }
        at += i == 0 ? used : used - kContinuationHeader;
        // Free space less 8, as the format's writers keep it.
        putLittleEndian(page, 2, used + 8 <= kPageSize ? kPageSize - used - 8 : 0, 2);
        putLittleEndian(page, 4, i + 1 < pages ? firstPage + i + 1 : 0, 4);
        out += page;
    }
    return out;
}

}  // namespace planora::jet
