// How texts are stored: UTF-16 from UTF-8, and the "compressed" form when it is shorter.

#include <gtest/gtest.h>

#include "tools/mdb/jet_text.h"
#include "tools/mdb/jet_values.h"

namespace planora::jet {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (const int v : values) {
        out += static_cast<char>(v);
    }
    return out;
}

TEST(JetText, Utf8BecomesUtf16AndStopsBeyondTheBasicPlane) {
    EXPECT_EQ(utf16Of("Città €"), u"Città €");
    EXPECT_EQ(utf16Of(""), u"");
    EXPECT_EQ(utf16Of("中文Ѐ"), u"中文Ѐ");
    EXPECT_THROW(utf16Of("🏨"), ValueRejected);
}

TEST(JetText, LatinTextIsCompressedToOneByteACharacter) {
    EXPECT_EQ(storedText(u"Hotel", true), bytes({0xFF, 0xFE, 'H', 'o', 't', 'e', 'l'}));
    EXPECT_EQ(storedText(u"Città", true), bytes({0xFF, 0xFE, 'C', 'i', 't', 't', 0xE0}));
}

TEST(JetText, OtherScriptsSwitchModesWithAZeroByte) {
    EXPECT_EQ(storedText(u"Hotel Ωmega", true), bytes({0xFF, 0xFE, 'H', 'o', 't', 'e', 'l', ' ', 0,
                                                       0xA9, 0x03, 0, 'm', 'e', 'g', 'a'}));
}

TEST(JetText, CompressionOnlyWhenShorterAndPossible) {
    EXPECT_EQ(storedText(u"ab", true), bytes({'a', 0, 'b', 0}));  // 4 bytes either way
    EXPECT_EQ(storedText(u"ЖЖЖЖ", true), bytes({0x16, 0x04, 0x16, 0x04, 0x16, 0x04, 0x16, 0x04}));
    // A character whose low byte is 0 would read as a switch.
    EXPECT_EQ(storedText(u"aaaaĀ", true), bytes({'a', 0, 'a', 0, 'a', 0, 'a', 0, 0x00, 0x01}));
    EXPECT_EQ(storedText(u"Hotel", false), bytes({'H', 0, 'o', 0, 't', 0, 'e', 0, 'l', 0}));
    EXPECT_EQ(storedText(u"", true), "");
}

}  // namespace
}  // namespace planora::jet
