// The message dialog's rules that need no window.
#include <gtest/gtest.h>

#include <algorithm>

#include "dialog/msgbox_rules.h"

namespace planora::dialog {
namespace {

TEST(CalcolaRighe, OneMoreThanTheLinesOfTheMessage) {
    EXPECT_EQ(CalcolaRighe(""), 2);
    EXPECT_EQ(CalcolaRighe("una riga"), 2);
    EXPECT_EQ(CalcolaRighe("uno\rdue\rtre"), 4);
    EXPECT_EQ(CalcolaRighe("uno\r\ndue\r\ntre"), 4);
    EXPECT_EQ(CalcolaRighe("uno\ndue"), 2);  // a line feed alone does not break lines
}

TEST(CalcolaColonne, LongestLinePlusOneButNeverBelow51) {
    EXPECT_EQ(CalcolaColonne(""), 51);
    EXPECT_EQ(CalcolaColonne(std::string(10, 'x')), 51);
    EXPECT_EQ(CalcolaColonne(std::string(50, 'x')), 51);
    EXPECT_EQ(CalcolaColonne(std::string(80, 'x')), 81);
    EXPECT_EQ(CalcolaColonne("corta\r" + std::string(70, 'y') + "\rcorta"), 71);
}

TEST(CalcolaColonne, LineFeedCountsAndCharactersAreNotBytes) {
    EXPECT_EQ(CalcolaColonne(std::string(60, 'x') + "\r\n" + std::string(60, 'z')), 62);
    std::string accented;
    for (int i = 0; i < 60; ++i) {
        accented += "\xC3\xA8";  // è: two bytes, one character
    }
    EXPECT_EQ(CalcolaColonne(accented), 61);
}

TEST(MessageLines, CarriageReturnOrCarriageReturnLineFeedBreakLines) {
    EXPECT_EQ(messageLines("a\rb\r\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(messageLines(""), (std::vector<std::string>{""}));
    EXPECT_EQ(messageLines("a\r"), (std::vector<std::string>{"a", ""}));
}

struct ButtonSetCase {
    std::int16_t code;
    std::array<const char*, 3> captions;
    std::array<bool, 3> visible;
};

void PrintTo(const ButtonSetCase& c, std::ostream* out) {
    *out << "button set " << c.code;
}

class ButtonSetTable : public ::testing::TestWithParam<ButtonSetCase> {};

TEST_P(ButtonSetTable, CaptionsAndVisibility) {
    const ButtonSetCase& c = GetParam();
    const ButtonSet set = buttonSetFor(c.code);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(set[i].visible, c.visible[i]) << "code " << c.code << " T " << i;
        if (c.visible[i]) {
            EXPECT_EQ(set[i].caption, c.captions[i]) << "code " << c.code << " T " << i;
        }
    }
}

constexpr std::array<bool, 3> kOkOnly{true, false, false};
constexpr std::array<bool, 3> kYesNo{true, true, false};
constexpr std::array<bool, 3> kAll{true, true, true};

INSTANTIATE_TEST_SUITE_P(Codes, ButtonSetTable,
                         ::testing::Values(ButtonSetCase{0, {"Ok", "", ""}, kOkOnly},
                                           ButtonSetCase{48, {"Ok", "", ""}, kOkOnly},
                                           ButtonSetCase{4, {"Si", "No", ""}, kYesNo},
                                           ButtonSetCase{36, {"Si", "No", ""}, kYesNo},
                                           ButtonSetCase{200, {"Si", "No", ""}, kYesNo},
                                           ButtonSetCase{333, {"Si", "No", ""}, kYesNo},
                                           ButtonSetCase{400, {"Si", "No", ""}, kYesNo},
                                           ButtonSetCase{35, {"Si", "No", "Annulla"}, kAll},
                                           ButtonSetCase{51, {"Si", "No", "Annulla"}, kAll},
                                           ButtonSetCase{1, {"Ok", "Ok", "Annulla"}, kAll},
                                           ButtonSetCase{199, {"Ok", "Ok", "Annulla"}, kAll},
                                           ButtonSetCase{401, {"Ok", "Ok", "Annulla"}, kAll},
                                           ButtonSetCase{-1, {"Ok", "Ok", "Annulla"}, kAll}),
                         [](const ::testing::TestParamInfo<ButtonSetCase>& info) {
                             const int code = info.param.code;
                             return (code < 0 ? "minus" : "code") + std::to_string(std::abs(code));
                         });

TEST(AnswerFor, ByIndexAndTheCaptionOfTheFirstButton) {
    EXPECT_EQ(answerFor(0, "Ok"), 0);
    EXPECT_EQ(answerFor(0, "Si"), 6);
    EXPECT_EQ(answerFor(0, "Annulla"), std::nullopt);
    EXPECT_EQ(answerFor(1, "No"), 7);
    EXPECT_EQ(answerFor(1, "Ok"), 7);
    EXPECT_EQ(answerFor(2, "Annulla"), 2);
}

const TextMetrics kMetrics{90, 240, 150};

TEST(LayoutDialog, MessageBoxHoldsTheRowsAndColumns) {
    const DialogLayout layout = layoutDialog(4, 81, kMetrics, {true, true, true});
    EXPECT_GE(layout.text.width, 81 * kMetrics.charWidth + kMetrics.padding);
    EXPECT_GE(layout.text.height, 4 * kMetrics.lineHeight + kMetrics.padding);
    EXPECT_LE(layout.text.right(), layout.client.width);
    EXPECT_GE(layout.text.top, layout.title.bottom());
    EXPECT_EQ(layout.title.width, layout.client.width);
}

TEST(LayoutDialog, VisibleButtonsInOneRowBelowTheTextCentredAndSeventyApart) {
    for (const auto& visible :
         {std::array<bool, 3>{true, false, false}, std::array<bool, 3>{true, true, false},
          std::array<bool, 3>{true, true, true}, std::array<bool, 3>{false, true, true}}) {
        const DialogLayout layout = layoutDialog(3, 51, kMetrics, visible);
        std::vector<TwipsRect> shown;
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(layout.buttons[i].has_value(), visible[i]);
            if (layout.buttons[i]) {
                shown.push_back(*layout.buttons[i]);
            }
        }
        ASSERT_FALSE(shown.empty());
        for (std::size_t i = 0; i < shown.size(); ++i) {
            EXPECT_GT(shown[i].top, layout.text.bottom());
            EXPECT_EQ(shown[i].top, shown[0].top);
            EXPECT_LE(shown[i].bottom(), layout.client.bottom());
            if (i > 0) {
                EXPECT_EQ(shown[i].left - shown[i - 1].right(), 70);
            }
        }
        const int leftMargin = shown.front().left;
        const int rightMargin = layout.client.width - shown.back().right();
        EXPECT_LE(std::abs(leftMargin - rightMargin), 1);
    }
}

TEST(LayoutDialog, GrowsWithLongMessagesButNotBelowTheDesignedSize) {
    const DialogLayout small = layoutDialog(2, 51, TextMetrics{30, 100, 0}, {true, false, false});
    EXPECT_EQ(small.client.width, 4695);
    const DialogLayout wide = layoutDialog(2, 201, kMetrics, {true, false, false});
    const DialogLayout tall = layoutDialog(12, 51, kMetrics, {true, false, false});
    const DialogLayout base = layoutDialog(2, 51, kMetrics, {true, false, false});
    EXPECT_GT(wide.client.width, base.client.width);
    EXPECT_GT(tall.client.height, base.client.height);
}

}  // namespace
}  // namespace planora::dialog
