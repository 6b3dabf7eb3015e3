#include "db/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace planora::db {

namespace {

// Appends the code point U+0000..U+00FF as UTF-8.
void appendLatin1(std::string& out, unsigned char byte) {
    if (byte < 0x80) {
        out += static_cast<char>(byte);
        return;
    }
    out += static_cast<char>(0xC0 | (byte >> 6));
    out += static_cast<char>(0x80 | (byte & 0x3F));
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

}  // namespace

bool isUtf8BeyondAscii(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong form
            high = lead == 0xED ? 0x9F : 0xBF;  // no surrogate
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing beyond U+10FFFF
        } else {
            return false;
        }
        if (size - i < length || bytes[i + 1] < low || bytes[i + 1] > high) {
            return false;
        }
        for (std::size_t k = 2; k < length; ++k) {
            if (!isContinuation(bytes[i + k])) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

namespace {

void* const kNotOpened = nullptr;
void* const kUnavailable = reinterpret_cast<void*>(-1);  // iconv_open's failure

}  // namespace

Windows1252Decoder::Windows1252Decoder() : converter_(kNotOpened) {}

Windows1252Decoder::~Windows1252Decoder() {
    if (converter_ != kNotOpened && converter_ != kUnavailable) {
        iconv_close(static_cast<iconv_t>(converter_));
    }
}

std::string Windows1252Decoder::toUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    if (converter_ == kNotOpened) {  // opened on first use: most tables never need it
        converter_ = iconv_open("UTF-8", "WINDOWS-1252");
    }
    if (converter_ == kUnavailable) {
        // No converter in this C library: Latin-1, which Windows-1252 extends, is still right
        // for every letter the hotel's texts hold.
        for (const char c : bytes) {
            appendLatin1(out, static_cast<unsigned char>(c));
        }
        return out;
    }
    auto cd = static_cast<iconv_t>(converter_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPointer = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t done = iconv(cd, &in, &inLeft, &outPointer, &outLeft);
        out.append(buffer, sizeof buffer - outLeft);
        if (done == static_cast<std::size_t>(-1) && errno == EILSEQ) {
            appendLatin1(out, static_cast<unsigned char>(*in));  // an undefined byte
            ++in;
            --inLeft;
        } else if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            break;  // a single-byte code page has no partial sequence; nothing else is expected
        }
    }
    return out;
}

std::string asUtf8(std::string_view text, Windows1252Decoder& decoder) {
    return isUtf8(text) ? std::string(text) : decoder.toUtf8(text);
}

}  // namespace planora::db
