#pragma once

#include <array>

// Where the controls of the preview window stand, computed from the window's size (twips).
namespace planora::preview {

struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The window as designed: 9525 by 7380 twips.
inline constexpr int kDesignWidth = 9525;
inline constexpr int kDesignHeight = 7380;
inline constexpr int kButtonCount = 7;

struct AnteprimaLayout {
    TwipRect text;
    std::array<TwipRect, kButtonCount> buttons;  // by index: 0 "&Esci", 1 "&Riduci", ...
};

// The text box fills the width less 200 twips and the height above the button row; the
// buttons stand in one row at the bottom, 1 to 6 and then 0, which takes the width left.
AnteprimaLayout layoutFor(int width, int height);

// The text box's face as designed, in points.
inline constexpr double kDesignFontSize = 11.25;
// "&Riduci": one point smaller, but never below 1 point (11.25 goes down to 1.25 and then 1).
double reducedFontSize(double points);
// "E&spandi": one point larger.
double expandedFontSize(double points);

}  // namespace planora::preview
