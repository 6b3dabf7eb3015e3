#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The rules of the message dialog that need no window: line and column counts of a message,
// the button sets, the answer of a pressed button and the dialog's geometry in twips.
namespace planora::dialog {

// 1 plus the carriage returns of the text, plus 1 more.
std::int16_t CalcolaRighe(std::string_view text);
// The longest run of characters between carriage returns, at least 50, plus 1. A line feed
// counts as an ordinary character. The text is UTF-8; characters, not bytes, are counted.
std::int16_t CalcolaColonne(std::string_view text);

// The lines of a message: carriage return, or carriage return and line feed, break them.
std::vector<std::string> messageLines(std::string_view text);

struct ButtonSpec {
    std::string caption;
    bool visible = true;
};

using ButtonSet = std::array<ButtonSpec, 3>;

// Captions and visibility of the buttons T 0, 1 and 2 for a button-set code.
ButtonSet buttonSetFor(std::int16_t buttons);

// The answer of a press of button T index with that caption; none when the press sets no
// answer (T 0 with a caption other than "Ok" or "Si").
std::optional<std::int16_t> answerFor(int index, std::string_view caption);

struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
};

struct DialogLayout {
    TwipsRect client;                                 // the whole client area; the frame follows it
    TwipsRect title;                                  // the title strip across the top
    TwipsRect text;                                   // the message box
    std::array<std::optional<TwipsRect>, 3> buttons;  // none for a hidden button
    bool scrolls = false;  // the message box is lower than its rows: it scrolls
};

struct TwipsSize {
    int width = 0;
    int height = 0;
};

// The text font's measures in twips: the width of an average character and the line height.
// padding is what the message box needs around its text (frame and margins).
struct TextMetrics {
    int charWidth = 0;
    int lineHeight = 0;
    int padding = 0;
};

// The width of the message box for a message of `columns` (CalcolaColonne): wide enough for
// them, but never so wide that the dialog would leave `limit` (the screen's available area),
// where the message is to wrap.
int messageBoxWidth(int columns, const TextMetrics& metrics,
                    const std::optional<TwipsSize>& limit = std::nullopt);

// The geometry of the dialog for a message of rows x columns (CalcolaRighe, or the rows the
// message takes once wrapped at messageBoxWidth; CalcolaColonne): the message box large enough
// for them, the visible buttons in one row below it, centred, 70 twips apart, in the order
// T 0, 1, 2. Within a limit the dialog never grows beyond it: a message too tall for it
// scrolls in a lower box, and the buttons stay inside.
DialogLayout layoutDialog(int rows, int columns, const TextMetrics& metrics,
                          const std::array<bool, 3>& visible,
                          const std::optional<TwipsSize>& limit = std::nullopt);

}  // namespace planora::dialog
