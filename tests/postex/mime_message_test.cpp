#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "postex/mime_message.h"

namespace planora::postex {
namespace {

// The lines of a CR LF text; fails the test on a bare LF.
std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "text does not end with CR LF";
        if (end == std::string::npos) {
            break;
        }
        lines.push_back(text.substr(start, end - start));
        EXPECT_EQ(lines.back().find('\n'), std::string::npos) << lines.back();
        start = end + 2;
    }
    return lines;
}

TEST(MimeHeader, DateInTheMailFormatWithTheLocalOffset) {
    setenv("TZ", "Europe/Rome", 1);
    tzset();
    EXPECT_EQ(dateHeader(1796749820), "Tue, 08 Dec 2026 18:10:20 +0100");
    EXPECT_EQ(dateHeader(1782925200), "Wed, 01 Jul 2026 19:00:00 +0200");
    unsetenv("TZ");
    tzset();
}

TEST(MimeHeader, PlainShortSubjectStaysAsItIs) {
    EXPECT_EQ(encodedHeaderText("Tableau del 08/12/2026"), "Tableau del 08/12/2026");
}

TEST(MimeHeader, AccentedOrLongSubjectBecomesEncodedWordsOfWholeCharacters) {
    EXPECT_EQ(encodedHeaderText("Città"), "=?UTF-8?B?Q2l0dMOg?=");
    const std::string longSubject =
        "Hotel : " + std::string(40, 'x') + " à " + std::string(40, 'y');
    const std::vector<std::string> lines = crlfLines(encodedHeaderText(longSubject) + "\r\n");
    ASSERT_GT(lines.size(), 1u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), 77u);
        EXPECT_EQ(lines[i].rfind(i == 0 ? "=?UTF-8?B?" : " =?UTF-8?B?", 0), 0u) << lines[i];
    }
}

TEST(MimeBody, QuotedPrintableKeepsLinesShortAndMarksWhatCouldBeLost) {
    const std::string line132 = std::string(131, 'a') + "=";
    const std::string text = line132 + "\n.punto\nfine  \nè\n";
    const std::vector<std::string> lines = crlfLines(quotedPrintable(text));
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), 76u) << line;
        EXPECT_FALSE(line.ends_with(" ")) << line;
        EXPECT_FALSE(line.starts_with(".")) << line;
    }
    // A 132-character line goes as one soft-broken line, not as two lines.
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], std::string(75, 'a') + "=");
    EXPECT_EQ(lines[1], std::string(56, 'a') + "=3D");
    EXPECT_EQ(lines[2], "=2Epunto");
    EXPECT_EQ(lines[3], "fine =20");
    EXPECT_EQ(lines[4], "=C3=A8");
}

TEST(MimeBody, Base64OfAllByteValues) {
    EXPECT_EQ(base64Lines("M"), "TQ==\r\n");
    EXPECT_EQ(base64Lines("Ma"), "TWE=\r\n");
    EXPECT_EQ(base64Lines("Man"), "TWFu\r\n");
    const std::vector<std::string> lines = crlfLines(base64Lines(std::string(100, '\xFF')));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(76, '/'));
    EXPECT_EQ(lines[1], std::string(57, '/') + "w==");
}

TEST(MimeMessage, HeadersAndPartsInOrder) {
    const HandOff handOff{"Tableau", "riga uno\nriga due\n"};
    Envelope envelope = newEnvelope("ricevimento@belvedere.test", {"a@x.test", "b@y.test"});
    envelope.boundary = "CONFINE";
    const std::string message = buildMessage(handOff, envelope);
    const std::vector<std::string> lines = crlfLines(message);
    EXPECT_EQ(lines[1], "From: ricevimento@belvedere.test");
    EXPECT_EQ(lines[2], "To: a@x.test, b@y.test");
    EXPECT_EQ(lines[3], "Subject: Tableau");
    EXPECT_EQ(lines[4], "Message-ID: <" + envelope.messageId + ">");
    EXPECT_TRUE(envelope.messageId.ends_with("@belvedere.test")) << envelope.messageId;
    EXPECT_NE(message.find("Content-Type: multipart/mixed; boundary=\"CONFINE\"\r\n"),
              std::string::npos);
    EXPECT_NE(message.find("\r\n\r\nriga uno\r\nriga due\r\n\r\n--CONFINE\r\n"), std::string::npos);
    EXPECT_NE(message.find("filename=\"tableau.txt\"\r\nContent-Transfer-Encoding: "
                           "base64\r\n\r\ncmlnYSB1bm8NCnJpZ2EgZHVlDQo=\r\n--CONFINE--\r\n"),
              std::string::npos)
        << message;
}

TEST(MimeMessage, EveryEnvelopeIsNew) {
    const Envelope a = newEnvelope("x@y.z", {"a@b.c"});
    const Envelope b = newEnvelope("x@y.z", {"a@b.c"});
    EXPECT_NE(a.messageId, b.messageId);
    EXPECT_NE(a.boundary, b.boundary);
}

}  // namespace
}  // namespace planora::postex
