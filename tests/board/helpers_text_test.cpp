#include <gtest/gtest.h>

#include <string>

#include "board/board_file.h"
#include "board/encoding.h"
#include "board/helpers.h"

namespace planora::board {
namespace {

TEST(NumericValue, ReadsTheLeadingNumber) {
    EXPECT_EQ(numericValue("12"), 12);
    EXPECT_EQ(numericValue("  7abc"), 7);
    EXPECT_EQ(numericValue("-3"), -3);
    EXPECT_DOUBLE_EQ(numericValue("2.5x"), 2.5);
    EXPECT_EQ(numericValue("1/2"), 1);
    EXPECT_EQ(numericValue("abc"), 0);
    EXPECT_EQ(numericValue(""), 0);
    EXPECT_EQ(numericValue("/2"), 0);
}

TEST(PulisciTesto, ModeZeroUpperCasesAndDropsApostrophes) {
    EXPECT_EQ(PulisciTesto("l'hotel", 0), "LHOTEL");
    EXPECT_EQ(PulisciTesto("101b", 0), "101B");
    EXPECT_EQ(PulisciTesto("a b", 0), "A B");
}

TEST(PulisciTesto, UpperCasesLatinOneLetters) {
    EXPECT_EQ(PulisciTesto("caffè già però", 0), "CAFFÈ GIÀ PERÒ");
    EXPECT_EQ(PulisciTesto("ñçüÿ", 0), "ÑÇÜŸ");
    // Not letters with an upper case: left as they are.
    EXPECT_EQ(PulisciTesto("÷ß€", 0), "÷ß€");
}

TEST(PulisciTesto, ModeOneKeepsDigitsCommasAndMinus) {
    EXPECT_EQ(PulisciTesto("12a,3-", 1), "12,3-");
    EXPECT_EQ(PulisciTesto("€ 1.234,50", 1), "1234,50");
}

TEST(PulisciTesto, EmptyResultIsBlankOrZero) {
    EXPECT_EQ(PulisciTesto("", 0), " ");
    EXPECT_EQ(PulisciTesto("'", 0), " ");
    EXPECT_EQ(PulisciTesto("", 1), "0");
    EXPECT_EQ(PulisciTesto("'", 1), "0");
    EXPECT_EQ(PulisciTesto("abc", 2), "0");
}

// A board text byte by byte: each code, then what ConvertiGrafici makes of it.
std::string converted(unsigned char code) {
    std::string text(1, static_cast<char>(code));
    ConvertiGrafici(text);
    return text;
}

TEST(ConvertiGrafici, FrameBytesBecomeBarsAndDashes) {
    for (unsigned char code : {179, 180, 183, 186, 195, 204}) {
        EXPECT_EQ(converted(code), "|") << int(code);
    }
    for (unsigned char code :
         {187, 188, 191, 192, 193, 194, 196, 197, 200, 201, 202, 203, 206, 217, 218}) {
        EXPECT_EQ(converted(code), "-") << int(code);
    }
}

TEST(ConvertiGrafici, OtherBytesStay) {
    for (int code :
         {181, 182, 184, 185, 189, 190, 198, 199, 205, 207, 208, 216, 219, 178, 65, 124, 45, 32}) {
        EXPECT_EQ(converted(static_cast<unsigned char>(code)),
                  std::string(1, static_cast<char>(code)))
            << code;
    }
}

TEST(ConvertiGrafici, ConvertsWesternLettersWithFrameCodes) {
    // In Windows-1252 these capitals and signs share their codes with frame pieces.
    std::string dashes = utf8ToCp1252("ÀÁÂÄÅÈÉÊËÎÙÚ");
    std::string bars = utf8ToCp1252("ÃÌ³´·º");
    ConvertiGrafici(dashes);
    ConvertiGrafici(bars);
    EXPECT_EQ(dashes, std::string(12, '-'));
    EXPECT_EQ(bars, std::string(6, '|'));
    std::string kept = utf8ToCp1252("ÒÓÕÆ");
    const std::string before = kept;
    EXPECT_EQ(ConvertiGrafici(kept), before);
}

TEST(ConvertiGrafici, KeepsLengthAndConvertsInPlace) {
    std::string line = "\xDA\xC4\xC2\xC4\xBF x \xB3";
    std::string& result = ConvertiGrafici(line);
    EXPECT_EQ(&result, &line);
    EXPECT_EQ(line, "----- x |");
}

TEST(Encoding, WindowsCodePageRoundTrip) {
    const std::string text = "Caffè € «Müller» – Œuvre";
    const std::string bytes = utf8ToCp1252(text);
    EXPECT_EQ(bytes.size(), 24u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 0xE8);
    EXPECT_EQ(static_cast<unsigned char>(bytes[6]), 0x80);
    EXPECT_EQ(cp1252ToUtf8(bytes), text);
}

TEST(Encoding, WhatHasNoLatinFormBecomesAQuestionMark) {
    EXPECT_EQ(utf8ToCp1252("a\u2502b\U0001F600c"), "a?b?c");  // a frame line, an emoji
    EXPECT_EQ(utf8ToCp1252("x\xFFy"), "x?y");                 // not UTF-8 at all
    EXPECT_EQ(utf8ToCp1252("\xC0\xAF"), "??");                // overlong form
    EXPECT_EQ(utf8ToCp1252("\xE2\x82"), "??");                // cut short
}

TEST(Encoding, ComposedFirstSoThatAccentsStayLetters) {
    // "e" + combining acute, "A" + combining grave: one Windows-1252 letter each.
    EXPECT_EQ(utf8ToCp1252("Caffe\u0301 A\u0300"), "Caff\xE9 \xC0");
    // A mark with no composed letter keeps its base letter only.
    EXPECT_EQ(utf8ToCp1252("q\u0303"), "q");
}

TEST(Encoding, LettersBeyondTheCodePageTakeTheirNearestLatinForm) {
    // Letters that Windows-1252 has stay as they are ("ó"); the others lose their marks.
    EXPECT_EQ(utf8ToCp1252("\u0141ukasz \u017B\u00F3\u0142\u0107"), "Lukasz Z\xF3lc");
    EXPECT_EQ(utf8ToCp1252("Dvo\u0159\u00E1k \u0150rs"), "Dvor\xE1k Ors");
    EXPECT_EQ(utf8ToCp1252("\u041C\u043E\u0441\u043A\u0432\u0430"), "Moskva");
    EXPECT_EQ(utf8ToCp1252("\u0391\u03B8\u03AE\u03BD\u03B1"), "Athena");
    EXPECT_EQ(utf8ToCp1252("\u5317\u4EAC"), "bei jing");
    // Windows-1252's own letters beyond Latin-1 are kept: Š, Ž, Œ.
    EXPECT_EQ(utf8ToCp1252("\u0160\u017D\u0152"), "\x8A\x8E\x8C");
}

TEST(Encoding, AsciiIsCopiedAsItIs) {
    const std::string ascii = "ROSSI MARIO 123 \t\x01";
    EXPECT_EQ(utf8ToCp1252(ascii), ascii);
}

TEST(Encoding, BoardLineShowsTheFrameAsBoxDrawing) {
    const std::string line = "\xDA\xC4\xC2\xBF\xC3\xC5\xB4\xC0\xC1\xD9\xB3";
    EXPECT_EQ(boardLineToUtf8(line), "┌─┬┐├┼┤└┴┘│");
    EXPECT_EQ(boardLineToUtf8(utf8ToCp1252("Città € è")), "Città € è");
}

TEST(Encoding, BoardLineDrawsTheFrameOnlyWhereTheGridHasIt) {
    // A room row: bars at the frame columns, "CITTÀ" and "ÃÄ" (bytes 195 and 196, a tee and
    // a dash of the frame elsewhere) in the name and the notes.
    std::string row = grid::blankRow();
    grid::putLeft(row, grid::kNome, utf8ToCp1252("CITTÀ"));
    grid::putLeft(row, grid::kNote, utf8ToCp1252("ÃÄ"));
    const std::string shown = boardLineToUtf8(row);
    EXPECT_EQ(shown.rfind("│      │      │CITTÀ ", 0), 0u) << shown;
    EXPECT_NE(shown.find("│ÃÄ "), std::string::npos) << shown;
    EXPECT_EQ(shown.find("└"), std::string::npos) << shown;
    // The title line is not framed: its letters stay letters.
    EXPECT_EQ(boardLineToUtf8(utf8ToCp1252(" Hotel : CITTÀ ÚÄ")), " Hotel : CITTÀ ÚÄ");
}

TEST(Encoding, CodePointsRoundTrip) {
    const std::string text = "a è € 𝄞";
    const std::u32string points = decodeUtf8(text);
    ASSERT_EQ(points.size(), 7u);
    EXPECT_EQ(points[2], U'è');
    EXPECT_EQ(points[6], U'\U0001D11E');
    EXPECT_EQ(encodeUtf8(points), text);
}

}  // namespace
}  // namespace planora::board
