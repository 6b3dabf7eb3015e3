// Jet 4 texts as the Access reader turns them into UTF-8.

#include <gtest/gtest.h>

#include "db/access_text.h"

namespace planora::db::access {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (const int v : values) {
        out += static_cast<char>(v);
    }
    return out;
}

TEST(AccessText, Utf16InEveryPlane) {
    EXPECT_EQ(utf8FromJet4Text(bytes({'C', 0, 0xE0, 0, 0xAC, 0x20})), "Cà€");
    EXPECT_EQ(utf8FromJet4Text(bytes({0x2D, 0x4E, 0x87, 0x65})), "中文");
    EXPECT_EQ(utf8FromJet4Text(bytes({0x3C, 0xD8, 0xE8, 0xDF})), "🏨");  // a surrogate pair
    EXPECT_EQ(utf8FromJet4Text(""), "");
}

TEST(AccessText, CompressedTextSwitchesModesAtZeroBytes) {
    EXPECT_EQ(utf8FromJet4Text(bytes({0xFF, 0xFE, 'H', 'o', 't', 'e', 'l'})), "Hotel");
    EXPECT_EQ(
        utf8FromJet4Text(bytes({0xFF, 0xFE, 'C', 'i', 't', 't', 0xE0, ' ', 0, 0xA9, 0x03, 0, '!'})),
        "Città Ω!");
    EXPECT_EQ(utf8FromJet4Text(bytes({0xFF, 0xFE})), "");
}

TEST(AccessText, DamagedTextsEndCleanly) {
    // Half a character at the end, in either form, is dropped.
    EXPECT_EQ(utf8FromJet4Text(bytes({'a', 0, 'b'})), "a");
    EXPECT_EQ(utf8FromJet4Text(bytes({0xFF, 0xFE, 'a', 0, 0xA9})), "a");
    // Surrogates without their other half read as '?'.
    EXPECT_EQ(utf8FromJet4Text(bytes({0x3C, 0xD8, 'x', 0})), "?x");
    EXPECT_EQ(utf8FromJet4Text(bytes({0xE8, 0xDF, 'x', 0, 0x3C, 0xD8})), "?x?");
    // U+0000 ends the text, as libmdb's C strings do.
    EXPECT_EQ(utf8FromJet4Text(bytes({'a', 0, 0, 0, 'b', 0})), "a");
}

TEST(AccessText, OnlyCompressedPlainAsciiIsTakenAsItLies) {
    const std::string code = bytes({0xFF, 0xFE, '2', '0', '2', '5', '1', '1', '0', '3'});
    ASSERT_TRUE(plainAsciiJet4Text(code));
    EXPECT_EQ(*plainAsciiJet4Text(code), "20251103");
    EXPECT_EQ(std::string(*plainAsciiJet4Text(code)), utf8FromJet4Text(code));
    EXPECT_FALSE(plainAsciiJet4Text(bytes({0xFF, 0xFE, 'C', 'i', 't', 't', 0xE0})));  // Latin-1
    EXPECT_FALSE(plainAsciiJet4Text(bytes({0xFF, 0xFE, 'A', 0, 0xA9, 0x03})));  // a mode switch
    EXPECT_FALSE(plainAsciiJet4Text(bytes({'2', 0, '0', 0})));                  // UTF-16
    EXPECT_FALSE(plainAsciiJet4Text(bytes({0xFF})));
    EXPECT_EQ(plainAsciiJet4Text(bytes({0xFF, 0xFE})), std::string_view());
}

}  // namespace
}  // namespace planora::db::access
