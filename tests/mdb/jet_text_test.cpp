// How texts are stored: UTF-16 from UTF-8, and the "compressed" form when it is shorter.

#include <gtest/gtest.h>

#include "tools/mdb/jet_text.h"
#include "tools/mdb/jet_values.h"

namespace planora::jet {
namespace {

// Stored bytes, written as a literal that may hold zero bytes.
template <std::size_t N>
std::string stored(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

TEST(JetText, Utf8BecomesUtf16AndStopsBeyondTheBasicPlane) {
    EXPECT_EQ(utf16Of("Città €"), u"Città €");
    EXPECT_EQ(utf16Of(""), u"");
    EXPECT_EQ(utf16Of("中文Ѐ"), u"中文Ѐ");
    EXPECT_THROW(utf16Of("🏨"), ValueRejected);
}

TEST(JetText, LatinTextIsCompressedToOneByteACharacter) {
    EXPECT_EQ(storedText(u"Hotel", true), stored("\xFF\xFEHotel"));
    EXPECT_EQ(storedText(u"Città", true), stored("\xFF\xFE"
                                                 "Citt\xE0"));
}

TEST(JetText, OtherScriptsSwitchModesWithAZeroByte) {
    EXPECT_EQ(storedText(u"Hotel Ωmega", true), stored("\xFF\xFEHotel \0\xA9\x03\0mega"));
}

TEST(JetText, CompressionOnlyWhenShorterAndPossible) {
    EXPECT_EQ(storedText(u"ab", true), stored("a\0b\0"));  // 4 bytes either way
    EXPECT_EQ(storedText(u"ЖЖЖЖ", true), stored("\x16\x04\x16\x04\x16\x04\x16\x04"));
    // A character whose low byte is 0 would read as a switch.
    EXPECT_EQ(storedText(u"aaaaĀ", true), stored("a\0a\0a\0a\0\0\x01"));
    EXPECT_EQ(storedText(u"Hotel", false), stored("H\0o\0t\0e\0l\0"));
    EXPECT_EQ(storedText(u"", true), "");
}

}  // namespace
}  // namespace planora::jet
