#include <gtest/gtest.h>

#include "preview/anteprima_layout.h"

namespace planora::preview {
namespace {

TEST(AnteprimaLayout, DesignSizeGivesTheDesignedRowOfButtons) {
    const AnteprimaLayout layout = layoutFor(kDesignWidth, kDesignHeight);
    EXPECT_EQ(layout.text.width, 9325);
    EXPECT_EQ(layout.text.height, 7380 - 1687 - 150);
    const int lefts[] = {6795, 84, 1200, 2400, 3480, 4560, 5640};
    for (int i = 0; i < kButtonCount; ++i) {
        const TwipRect& button = layout.buttons[static_cast<std::size_t>(i)];
        EXPECT_EQ(button.left, lefts[i]) << i;
        EXPECT_EQ(button.top, 7380 - 1697) << i;
        EXPECT_EQ(button.height, 1125) << i;
        EXPECT_GT(button.top, layout.text.top + layout.text.height) << i;
    }
    // Left to right 1 .. 6 then 0, without overlapping; "&Esci" takes the rest less 150.
    for (int i = 1; i < kButtonCount; ++i) {
        const TwipRect& button = layout.buttons[static_cast<std::size_t>(i)];
        const TwipRect& next =
            layout.buttons[i + 1 < kButtonCount ? static_cast<std::size_t>(i) + 1 : 0];
        EXPECT_LT(button.left + button.width, next.left) << i;
    }
    EXPECT_EQ(layout.buttons[0].width, 9525 - 6795 - 150);
}

TEST(AnteprimaLayout, FollowsTheWindowsSize) {
    const AnteprimaLayout layout = layoutFor(15000, 9000);
    EXPECT_EQ(layout.text.width, 14800);
    EXPECT_EQ(layout.text.height, 9000 - 1837);
    EXPECT_EQ(layout.buttons[3].top, 9000 - 1697);
    EXPECT_EQ(layout.buttons[0].width, 15000 - 6795 - 150);
}

TEST(AnteprimaFontSize, ReducedDownToOnePointAndNoFurther) {
    double size = kDesignFontSize;
    for (int i = 0; i < 10; ++i) {
        size = reducedFontSize(size);
    }
    EXPECT_DOUBLE_EQ(size, 1.25);
    EXPECT_DOUBLE_EQ(reducedFontSize(size), 1.0);
    EXPECT_DOUBLE_EQ(reducedFontSize(1.0), 1.0);
    EXPECT_DOUBLE_EQ(reducedFontSize(0.5), 0.5);
}

TEST(AnteprimaFontSize, ExpandedWithoutLimit) {
    EXPECT_DOUBLE_EQ(expandedFontSize(kDesignFontSize), 12.25);
    EXPECT_DOUBLE_EQ(expandedFontSize(1.0), 2.0);
    EXPECT_DOUBLE_EQ(expandedFontSize(200.0), 201.0);
}

}  // namespace
}  // namespace planora::preview
