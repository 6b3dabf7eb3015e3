#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace planora::dialog {

// The message window: a title strip, the message and up to three buttons T 0, 1, 2. It is
// sized for its message each time it is shown; a button press sets the answer and closes it.
class MsgBox_Form : public QDialog {
    Q_OBJECT

  public:
    explicit MsgBox_Form(QWidget* parent = nullptr);

    // Message (UTF-8 lines broken by CR or CR LF), button-set code and title of one call.
    void fill(const QString& message, std::int16_t buttons, const QString& title);

    // The answer set by the last button press of this window; none before a press.
    std::optional<std::int16_t> answer() const { return answer_; }

    QPushButton* button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }
    QLabel* titleStrip() const { return title_; }
    QPlainTextEdit* messageBox() const { return text_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void pressed(int index);
    void applyLayout();

    QLabel* title_;
    QPlainTextEdit* text_;
    std::array<QPushButton*, 3> buttons_{};
    QString message_;
    std::optional<std::int16_t> answer_;
};

}  // namespace planora::dialog
