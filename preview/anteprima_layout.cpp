#include "preview/anteprima_layout.h"

#include <algorithm>

namespace planora::preview {

namespace {

constexpr int kButtonHeight = 1125;
// Left edges of "&Esci" (0) and of the buttons 1 to 6, left to right: 1, 2, 3, 4, 5, 6, 0.
constexpr std::array<int, kButtonCount> kLefts = {6795, 84, 1200, 2400, 3480, 4560, 5640};
constexpr int kGap = 45;

}  // namespace

AnteprimaLayout layoutFor(int width, int height) {
    AnteprimaLayout layout;
    // One and a half button heights stay below the text box for the row of buttons.
    const int belowText = kButtonHeight * 3 / 2;
    layout.text = {100, 0, std::max(0, width - 200), std::max(0, height - (belowText + 150))};
    const int buttonTop = height - (belowText + 10);
    for (int i = 1; i < kButtonCount; ++i) {
        const int nextLeft =
            i + 1 < kButtonCount ? kLefts[static_cast<std::size_t>(i) + 1] : kLefts[0];
        layout.buttons[static_cast<std::size_t>(i)] = {
            kLefts[static_cast<std::size_t>(i)], buttonTop,
            nextLeft - kLefts[static_cast<std::size_t>(i)] - kGap, kButtonHeight};
    }
    layout.buttons[0] = {kLefts[0], buttonTop, std::max(0, width - kLefts[0] - 150), kButtonHeight};
    return layout;
}

double reducedFontSize(double points) {
    return points > 1 ? std::max(1.0, points - 1) : points;
}

double expandedFontSize(double points) {
    return points + 1;
}

}  // namespace planora::preview
