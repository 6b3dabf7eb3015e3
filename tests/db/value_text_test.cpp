#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "db/value.h"

namespace planora::db {
namespace {

// Switches the C locale to one with a decimal comma when the machine has one.
class CommaLocale {
  public:
    CommaLocale() {
        for (const char* name : {"it_IT.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "it_IT"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                active_ = true;
                return;
            }
        }
    }
    ~CommaLocale() { std::setlocale(LC_ALL, "C"); }
    bool active() const { return active_; }

  private:
    bool active_ = false;
};

void expectTextForms() {
    EXPECT_EQ(Value().toText(), "");
    EXPECT_EQ(Value::integer(-42).toText(), "-42");
    EXPECT_EQ(Value::real(12.5).toText(), "12.5");
    EXPECT_EQ(Value::currency(Currency{125000}).toText(), "12.5000");
    EXPECT_EQ(Value::currency(Currency{-5000}).toText(), "-0.5000");
    EXPECT_EQ(Value::currency(Currency{7}).toText(), "0.0007");
    EXPECT_EQ(Value::currency(Currency{std::numeric_limits<std::int64_t>::min()}).toText(),
              "-922337203685477.5808");
    EXPECT_EQ(Value::dateTime(DateTime{2024, 2, 9, 7, 5, 3}).toText(), "2024-02-09 07:05:03");
    EXPECT_EQ(Value::boolean(true).toText(), "1");
    EXPECT_EQ(Value::boolean(false).toText(), "0");
    EXPECT_EQ(Value::text("L'ALBA").toText(), "L'ALBA");
}

void expectNumberForms() {
    EXPECT_EQ(Value().toNumber(), 0.0);
    EXPECT_EQ(Value::text("12abc").toNumber(), 12.0);
    EXPECT_EQ(Value::text("abc").toNumber(), 0.0);
    EXPECT_EQ(Value::text("  -3.25 kg").toNumber(), -3.25);
    EXPECT_EQ(Value::text("+7").toNumber(), 7.0);
    EXPECT_EQ(Value::text("1e3x").toNumber(), 1000.0);
    EXPECT_EQ(Value::text("2e").toNumber(), 2.0);
    EXPECT_EQ(Value::text(".5").toNumber(), 0.5);
    EXPECT_EQ(Value::text("1,5").toNumber(), 1.0);  // the comma ends the number
    EXPECT_EQ(Value::text("-").toNumber(), 0.0);
    EXPECT_EQ(Value::text("inf").toNumber(), 0.0);
    EXPECT_EQ(Value::text("1e999").toNumber(), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Value::text("1e-999").toNumber(), 0.0);
    EXPECT_EQ(Value::currency(Currency{125000}).toNumber(), 12.5);
    EXPECT_EQ(Value::boolean(true).toNumber(), 1.0);
    // Dates read as days since 30 December 1899, the time as a fraction.
    EXPECT_EQ(Value::dateTime(DateTime{1899, 12, 31, 12, 0, 0}).toNumber(), 1.5);
    EXPECT_EQ(Value::dateTime(DateTime{2000, 1, 1, 0, 0, 0}).toNumber(), 36526.0);
}

TEST(ValueText, TextFormsUseAPointAndFixedLayouts) {
    expectTextForms();
}

TEST(ValueText, NumbersAreReadFromTheLeadingNumberOfATextValue) {
    expectNumberForms();
}

TEST(ValueText, ConversionsDoNotDependOnTheProcessLocale) {
    CommaLocale locale;
    if (!locale.active()) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    expectTextForms();
    expectNumberForms();
}

TEST(ValueText, FoldCaseLowersAsciiAndLatin1LettersOnly) {
    EXPECT_EQ(foldCase("NumeroCamera"), "numerocamera");
    EXPECT_EQ(foldCase("ÀÈÌÒÙ àèìòù"), "àèìòù àèìòù");
    EXPECT_EQ(foldCase("×Þ"), "×þ");
    EXPECT_EQ(foldCase("ĀΩ€1'"), "ĀΩ€1'");  // outside Latin-1 nothing changes
    EXPECT_EQ(compareText("STRASSE", "strasse"), 0);
    EXPECT_LT(compareText("Roma", "ROMANO"), 0);
}

}  // namespace
}  // namespace planora::db
