#include "db/access_text.h"

#include <cstdint>

namespace planora::db::access {

namespace {

// Writes the UTF-8 of a code point at `out`, returning the end.
char* putUtf8(char* out, std::uint32_t c) {
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Turns code units into UTF-8 as they come, pairing surrogates. A code unit takes at most
// three bytes (a pair, two units, four).
class Utf8Out {
  public:
    explicit Utf8Out(std::size_t units) : out_(3 * units + 1, '\0'), end_(out_.data()) {}

    // False at U+0000, where the text ends.
    bool put(char16_t unit) {
        if (pendingHigh_ != 0) {
            const char16_t high = pendingHigh_;
            pendingHigh_ = 0;
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                end_ = putUtf8(end_, 0x10000 + ((high - 0xD800u) << 10) + (unit - 0xDC00u));
                return true;
            }
            *end_++ = '?';
        }
        if (unit == 0) {
            return false;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            pendingHigh_ = unit;
        } else {
            end_ = unit >= 0xDC00 && unit <= 0xDFFF ? (*end_ = '?', end_ + 1) : putUtf8(end_, unit);
        }
        return true;
    }

    std::string take() {
        if (pendingHigh_ != 0) {
            *end_++ = '?';
        }
        out_.resize(static_cast<std::size_t>(end_ - out_.data()));
        return std::move(out_);
    }

  private:
    std::string out_;
    char* end_;
    char16_t pendingHigh_ = 0;
};

// Bytes 1 to 127 only: no mode switch (0) and no Latin-1 letter.
bool isPlainAscii(std::string_view bytes) {
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0 || b >= 0x80) {
            return false;
        }
    }
    return true;
}

// A compressed text opens with FF FE.
bool isCompressed(std::string_view stored) {
    return stored.size() >= 2 && static_cast<std::uint8_t>(stored[0]) == 0xFF &&
           static_cast<std::uint8_t>(stored[1]) == 0xFE;
}

}  // namespace

std::optional<std::string_view> plainAsciiJet4Text(std::string_view stored) {
    if (isCompressed(stored) && isPlainAscii(stored.substr(2))) {
        return stored.substr(2);  // one byte a character, each its own UTF-8
    }
    return std::nullopt;
}

std::string utf8FromJet4Text(std::string_view stored) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(stored[i]); };
    const auto unitAt = [&](std::size_t i) {
        return static_cast<char16_t>(byte(i) | (byte(i + 1) << 8));
    };
    if (const auto ascii = plainAsciiJet4Text(stored)) {
        return std::string(*ascii);
    }
    Utf8Out out(stored.size());
    if (isCompressed(stored)) {
        bool oneByte = true;
        for (std::size_t i = 2; i < stored.size();) {
            if (byte(i) == 0) {
                oneByte = !oneByte;
                ++i;
            } else if (oneByte) {
                if (!out.put(byte(i++))) {
                    break;
                }
            } else if (i + 1 < stored.size()) {
                if (!out.put(unitAt(i))) {
                    break;
                }
                i += 2;
            } else {
                break;  // half a character at the end
            }
        }
        return out.take();
    }
    for (std::size_t i = 0; i + 1 < stored.size(); i += 2) {
        if (!out.put(unitAt(i))) {
            break;
        }
    }
    return out.take();
}

}  // namespace planora::db::access
