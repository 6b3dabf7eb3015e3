#include "tools/mdb/jet_text.h"

#include <cstdint>

#include "messages/mdb_messages.h"
#include "tools/mdb/jet_values.h"

namespace planora::jet {

namespace {

// The code point that starts at `at`, which is moved past it; throws on a malformed sequence.
std::uint32_t nextCodePoint(std::string_view utf8, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(utf8[i]); };
    const std::uint8_t lead = byte(at);
    std::size_t length = 1;
    std::uint32_t point = lead;
    std::uint32_t lowest = 0;
    if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, point = lead & 0x07u, lowest = 0x10000;
    } else if (lead >= 0xE0) {
        length = 3, point = lead & 0x0Fu, lowest = 0x800;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, point = lead & 0x1Fu, lowest = 0x80;
    } else if (lead >= 0x80) {
        throw ValueRejected(msg::mdbNotUtf8());
    }
    if (lead > 0xF4 || at + length > utf8.size()) {
        throw ValueRejected(msg::mdbNotUtf8());
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            throw ValueRejected(msg::mdbNotUtf8());
        }
        point = (point << 6) | (byte(at + i) & 0x3Fu);
    }
    if (point < lowest || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        throw ValueRejected(msg::mdbNotUtf8());
    }
    at += length;
    return point;
}

void appendUnit(std::string& out, char16_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

std::string utf16le(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        appendUnit(out, unit);
    }
    return out;
}

bool compressible(std::u16string_view text) {
    for (const char16_t unit : text) {
        if ((unit & 0xFF) == 0) {
            return false;
        }
    }
    return !text.empty();
}

}  // namespace

std::u16string utf16Of(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::uint32_t point = nextCodePoint(utf8, at);
        if (point > 0xFFFF) {
            throw ValueRejected(msg::mdbBeyondUcs2(point));
        }
        out += static_cast<char16_t>(point);
    }
    return out;
}

std::string storedText(std::u16string_view text, bool compress) {
    if (!compress || !compressible(text)) {
        return utf16le(text);
    }
    std::string out = "\xFF\xFE";
    bool compressed = true;  // the compressed form starts in one-byte mode
    for (const char16_t unit : text) {
        const bool oneByte = unit < 0x100;
        if (oneByte != compressed) {
            out += '\0';
            compressed = oneByte;
        }
        if (oneByte) {
            out += static_cast<char>(unit);
        } else {
            appendUnit(out, unit);
        }
    }
    return out.size() < text.size() * 2 ? out : utf16le(text);
}

}  // namespace planora::jet
