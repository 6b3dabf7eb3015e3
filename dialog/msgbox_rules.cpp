#include "dialog/msgbox_rules.h"

#include <algorithm>

namespace planora::dialog {

namespace {

constexpr char kCarriageReturn = '\r';

// Places of the designed window, in twips.
constexpr int kMargin = 120;       // left and right of the message box, below the buttons
constexpr int kTitleHeight = 375;  // the title strip
constexpr int kTextTop = 480;      // the message box below the title strip
constexpr int kButtonGap = 225;    // between the message box and the buttons
constexpr int kButtonWidth = 975;
constexpr int kButtonHeight = 615;
constexpr int kButtonSpacing = 70;  // between two visible buttons
constexpr int kDesignWidth = 4695;  // the designed client width, the narrowest the dialog gets

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

ButtonSet designedButtons() {
    return {ButtonSpec{"Ok", true}, ButtonSpec{"Ok", true}, ButtonSpec{"Annulla", true}};
}

}  // namespace

std::int16_t CalcolaRighe(std::string_view text) {
    const auto returns = std::count(text.begin(), text.end(), kCarriageReturn);
    return static_cast<std::int16_t>(1 + returns + 1);
}

std::int16_t CalcolaColonne(std::string_view text) {
    std::int64_t longest = 50;
    std::int64_t run = 0;
    for (char c : text) {
        if (c == kCarriageReturn) {
            run = 0;
        } else if (!isContinuationByte(c)) {
            longest = std::max(longest, ++run);
        }
    }
    return static_cast<std::int16_t>(longest + 1);
}

std::vector<std::string> messageLines(std::string_view text) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kCarriageReturn) {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

ButtonSet buttonSetFor(std::int16_t buttons) {
    ButtonSet set = designedButtons();
    const bool yesNo = buttons == 4 || buttons == 36 || (buttons >= 200 && buttons <= 400);
    if (buttons == 0 || buttons == 48) {
        set[1].visible = false;
        set[2].visible = false;
    } else if (yesNo || buttons == 35 || buttons == 51) {
        set[0].caption = "Si";
        set[1].caption = "No";
        set[2].visible = !yesNo;
    }
    return set;
}

std::optional<std::int16_t> answerFor(int index, std::string_view caption) {
    switch (index) {
        case 0:
            if (caption == "Ok") {
                return 0;
            }
            if (caption == "Si") {
                return 6;
            }
            return std::nullopt;
        case 1:
            return 7;
        case 2:
            return 2;
        default:
            return std::nullopt;
    }
}

int messageBoxWidth(int columns, const TextMetrics& metrics,
                    const std::optional<TwipsSize>& limit) {
    const int natural = columns * metrics.charWidth + metrics.padding;
    if (!limit) {
        return natural;
    }
    return std::max(std::min(natural, limit->width - 2 * kMargin), kButtonWidth);
}

DialogLayout layoutDialog(int rows, int columns, const TextMetrics& metrics,
                          const std::array<bool, 3>& visible,
                          const std::optional<TwipsSize>& limit) {
    DialogLayout layout;
    const int shown = static_cast<int>(std::count(visible.begin(), visible.end(), true));
    const int groupWidth = shown * kButtonWidth + std::max(shown - 1, 0) * kButtonSpacing;

    layout.text = {kMargin, kTextTop, messageBoxWidth(columns, metrics, limit),
                   rows * metrics.lineHeight + metrics.padding};
    int width = std::max({kDesignWidth, layout.text.right() + kMargin, groupWidth + 2 * kMargin});
    if (limit) {
        width = std::min(width, std::max(limit->width, groupWidth + 2 * kMargin));
        // Title strip, gaps and buttons keep their height; the message box takes the rest.
        const int fixedHeight = kTextTop + kButtonGap + kButtonHeight + kMargin;
        const int lowest = metrics.lineHeight + metrics.padding;
        const int highest = std::max(limit->height - fixedHeight, lowest);
        if (layout.text.height > highest) {
            layout.text.height = highest;
            layout.scrolls = true;
        }
    }
    layout.text.width = width - 2 * kMargin;

    const int buttonTop = layout.text.bottom() + kButtonGap;
    int left = (width - groupWidth) / 2;
    for (std::size_t i = 0; i < visible.size(); ++i) {
        if (visible[i]) {
            layout.buttons[i] = TwipsRect{left, buttonTop, kButtonWidth, kButtonHeight};
            left += kButtonWidth + kButtonSpacing;
        }
    }
    layout.client = {0, 0, width, buttonTop + kButtonHeight + kMargin};
    layout.title = {0, 0, width, kTitleHeight};
    return layout;
}

}  // namespace planora::dialog
