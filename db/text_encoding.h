#pragma once

#include <string>
#include <string_view>

// Texts as other programs leave them in the hotel's databases: mostly UTF-8, but a program of
// the hotel's own code page, Windows-1252, may have written its bytes unchanged.
namespace planora::db {

// The check of isUtf8 for a text that holds a byte beyond ASCII.
bool isUtf8BeyondAscii(std::string_view text);

// True when the bytes are well-formed UTF-8: no stray continuation byte, no overlong form, no
// surrogate, nothing beyond U+10FFFF. Inline, as it runs on every text a table loads, and most
// are plain ASCII.
inline bool isUtf8(std::string_view text) {
    unsigned char any = 0;  // an OR of every byte: a loop without a branch, which vectorises
    for (const char c : text) {
        any |= static_cast<unsigned char>(c);
    }
    return any < 0x80 || isUtf8BeyondAscii(text);
}

// Reads Windows-1252 bytes into UTF-8. One converter serves many texts (a table's worth); not
// to be shared between threads.
class Windows1252Decoder {
  public:
    Windows1252Decoder();
    ~Windows1252Decoder();
    Windows1252Decoder(const Windows1252Decoder&) = delete;
    Windows1252Decoder& operator=(const Windows1252Decoder&) = delete;

    // The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the
    // control characters of the same number, as Windows reads them.
    std::string toUtf8(std::string_view bytes);

  private:
    void* converter_;  // iconv_t, opened on first use
};

// The text itself when it is UTF-8, else its bytes read as Windows-1252.
std::string asUtf8(std::string_view text, Windows1252Decoder& decoder);

}  // namespace planora::db
