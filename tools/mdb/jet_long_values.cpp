#include "tools/mdb/jet_long_values.h"

#include "tools/mdb/jet_format.h"

namespace planora::jet {

namespace {

std::string longValueField(std::uint32_t lengthAndKind, std::uint32_t pointer) {
    std::string field;
    appendLittleEndian(field, lengthAndKind, 4);
    appendLittleEndian(field, pointer, 4);
    appendLittleEndian(field, 0, 4);
    return field;
}

}  // namespace

std::string LongValueStore::field(std::string_view stored) {
    const auto length = static_cast<std::uint32_t>(stored.size());
    if (stored.size() <= kMostInlineLongValue) {
        return longValueField(length | kLongValueInline, 0) + std::string(stored);
    }
    if (stored.size() <= kMostRowBytes) {
        return longValueField(length | kLongValueOneRow, rows_.add(stored));
    }
    return longValueField(length, chain(stored));
}

std::size_t LongValueStore::fieldBytes(std::size_t storedBytes) {
    return kLongValueField + (storedBytes <= kMostInlineLongValue ? storedBytes : 0);
}

// The pieces are written last to first, so that each knows where the next one is.
std::uint32_t LongValueStore::chain(std::string_view stored) {
    const std::size_t pieces = (stored.size() + kLongValueChunk - 1) / kLongValueChunk;
    std::uint32_t next = 0;
    for (std::size_t piece = pieces; piece-- > 0;) {
        std::string row;
        appendLittleEndian(row, next, 4);
        row += stored.substr(piece * kLongValueChunk, kLongValueChunk);
        next = rows_.add(row);
    }
    return next;
}

}  // namespace planora::jet
