#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <locale>

#include "db/value.h"

namespace planora::db {
namespace {

// A decimal comma and a thousands point, as the hotel's Italian settings have.
class CommaPunctuation : public std::numpunct<char> {
  protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

// Puts the process under a decimal comma: the C++ global locale always, the C locale too when
// the machine has such a locale installed.
class CommaLocale {
  public:
    CommaLocale()
        : previous_(
              std::locale::global(std::locale(std::locale::classic(), new CommaPunctuation))) {
        for (const char* name : {"it_IT.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "it_IT"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                return;
            }
        }
    }
    ~CommaLocale() {
        std::setlocale(LC_ALL, "C");
        std::locale::global(previous_);
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

  private:
    std::locale previous_;
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
    const CommaLocale locale;
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
