#pragma once

#include <QRect>
#include <QString>
#include <QTimer>
#include <array>
#include <deque>
#include <functional>
#include <vector>

namespace planora::dialog {
class MsgBox_Form;
}

namespace planora::testing {

// What a message dialog showed when it came up.
struct ShownDialog {
    QString title;
    QString text;  // as the message box shows it, lines joined by '\n'
    std::array<QString, 3> captions;
    std::array<bool, 3> visible{};
};

// Answers the message dialogs of a test as they come up: each press is the index of the
// button T to press, or kCloseWindow to close the dialog without a button. With no press left
// it presses T 0. A guard closes any modal dialog still open after a few seconds and fails
// the test, so that a failed check cannot hang the run.
class DialogDriver {
  public:
    static constexpr int kCloseWindow = -1;

    explicit DialogDriver(std::deque<int> presses = {});
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Called with each dialog once it is up, before it is answered.
    void inspectWith(std::function<void(dialog::MsgBox_Form&)> inspect) {
        inspect_ = std::move(inspect);
    }

    const std::vector<ShownDialog>& shown() const { return shown_; }
    // Titles of the dialogs shown so far, in order.
    std::vector<QString> titles() const;

  private:
    void answer(dialog::MsgBox_Form& form);

    std::deque<int> presses_;
    std::vector<ShownDialog> shown_;
    std::function<void(dialog::MsgBox_Form&)> inspect_;
    QTimer guard_;
};

}  // namespace planora::testing
