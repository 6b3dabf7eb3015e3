#include <gtest/gtest.h>

#include "db/backend.h"
#include "db/text_encoding.h"
#include "sqlite_fixture.h"

namespace planora::db {
namespace {

TEST(TextEncoding, Utf8IsToldFromOtherBytes) {
    for (const char* good : {"", "Rossi", "Forlì", "Città €", "日本", "\xF0\x9F\x8F\xA8",
                             "\xED\x9F\xBF", "\xF4\x8F\xBF\xBF"}) {
        EXPECT_TRUE(isUtf8(good)) << good;
    }
    const char* bad[] = {
        "Forl\xEC",          // Windows-1252 ì
        "\x80",              // a continuation byte alone
        "\xC3",              // a sequence cut short
        "\xC0\xAF",          // an overlong "/"
        "\xE0\x80\xAF",      // another overlong form
        "\xED\xA0\x80",      // a surrogate
        "\xF4\x90\x80\x80",  // beyond U+10FFFF
        "\xF5\x80\x80\x80",  // no such lead byte
        "\xE2\x82",          // a three-byte sequence cut short
        "ab\xE2\x28\xA1",    // a lead byte followed by an ASCII byte
    };
    for (const char* text : bad) {
        EXPECT_FALSE(isUtf8(text)) << ::testing::PrintToString(std::string(text));
    }
}

TEST(TextEncoding, Windows1252BytesBecomeTheirLetters) {
    Windows1252Decoder decoder;
    EXPECT_EQ(decoder.toUtf8("Citt\xE0 di Forl\xEC"), "Città di Forlì");
    EXPECT_EQ(decoder.toUtf8("\x80 12 \x96 \x93sole\x94 \x8A\x9E"), "€ 12 – “sole” Šž");
    // The bytes the code page leaves undefined come out as the control characters of their
    // number, and what follows them is still read.
    EXPECT_EQ(decoder.toUtf8("a\x81\x8D\x8F\x90\x9Dz"),
              "a\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9Dz");
    // One decoder serves many texts, long ones included.
    const std::string longText(5000, '\xE8');
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        expected += "è";
    }
    EXPECT_EQ(decoder.toUtf8(longText), expected);
    EXPECT_EQ(asUtf8("Forlì", decoder), "Forlì");  // UTF-8 stays as it is
    EXPECT_EQ(asUtf8("Forl\xEC", decoder), "Forlì");
}

TEST(TextEncoding, SqliteTextsInTheHotelsCodePageAreReadAsUtf8) {
    testing::TempFolder folder;
    const auto file = folder.path() / "Scheda_Cliente.sqlite";
    testing::writeTable(
        file, "Scheda_Cliente", {{"NomeCliente", "TEXT"}, {"Commento", ""}, {"Arrivo", "DATETIME"}},
        {{testing::txt("Citt\xE0"), testing::txt("caff\xE8 \x80 2"), testing::txt("2024-03-14")},
         {testing::txt("Città"), testing::txt("già"), testing::txt("d\xE9j\xE0")}});
    const TablePtr table = openSqliteBackend(file)->loadTable("Scheda_Cliente");
    EXPECT_EQ(table->value(0, 0), testing::txt("Città"));
    EXPECT_EQ(table->value(0, 1), testing::txt("caffè € 2"));
    EXPECT_EQ(table->value(0, 2), Value::dateTime(DateTime{2024, 3, 14, 0, 0, 0}));
    EXPECT_EQ(table->value(1, 0), testing::txt("Città"));
    EXPECT_EQ(table->value(1, 1), testing::txt("già"));
    // A date column holding a text that is no date keeps it, readable.
    EXPECT_EQ(table->value(1, 2), testing::txt("déjà"));
}

}  // namespace
}  // namespace planora::db
