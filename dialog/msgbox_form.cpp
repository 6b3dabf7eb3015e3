#include "dialog/msgbox_form.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <climits>
#include <cmath>

#include "dialog/fonts.h"
#include "dialog/msgbox_rules.h"
#include "dialog/twips.h"

namespace planora::dialog {

namespace {

constexpr double kFontPoints = 9.75;
const QColor kTitleBackground(0xC0, 0xC0, 0xFF);
const QColor kFrameColour(0x40, 0x40, 0x80);

QRect toPixels(const TwipsRect& r) {
    return QRect(twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width),
                 twipsToPixels(r.height));
}

// The message as the text box shows it: one line per CR or CR LF.
QString displayText(const QString& message) {
    QStringList lines;
    for (const std::string& line : messageLines(message.toStdString())) {
        lines << QString::fromStdString(line);
    }
    return lines.join('\n');
}

// The lines a text takes in the font when lines wider than `width` pixels wrap as the message
// box wraps them.
int wrappedLines(const QString& text, const QFont& font, int width) {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    int count = 0;
    for (const QString& paragraph : text.split('\n')) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        int lines = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            ++lines;
        }
        layout.endLayout();
        count += std::max(lines, 1);
    }
    return count;
}

// What of the screen a dialog may take, in twips: its available area less the window frame.
TwipsSize screenLimit(const QWidget& dialog) {
    const QScreen* screen = dialog.screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return {INT_MAX / 2, INT_MAX / 2};
    }
    constexpr int kFrameWidth = 16;
    constexpr int kFrameHeight = 48;  // the title bar and the borders
    const QSize available = screen->availableGeometry().size();
    return {(available.width() - kFrameWidth) * kTwipsPerPixel,
            (available.height() - kFrameHeight) * kTwipsPerPixel};
}

}  // namespace

MsgBox_Form::MsgBox_Form(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint),
      title_(new QLabel(this)),
      text_(new QPlainTextEdit(this)) {
    setModal(true);

    title_->setFont(corbelFont(kFontPoints, true));
    title_->setAutoFillBackground(true);
    QPalette strip = title_->palette();
    strip.setColor(QPalette::Window, kTitleBackground);
    title_->setPalette(strip);
    title_->setIndent(twipsToPixels(120));

    text_->setFont(corbelFont(kFontPoints));
    text_->setReadOnly(true);
    text_->setFocusPolicy(Qt::NoFocus);
    // Sized for its message, the box wraps only what the screen cannot hold: long words too
    // (a path), and scrolls a message taller than the screen.
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    const ButtonSet designed = buttonSetFor(-1);
    for (int i = 0; i < 3; ++i) {
        auto* button = new QPushButton(QString::fromStdString(designed[i].caption), this);
        button->setFont(corbelFont(kFontPoints));
        connect(button, &QPushButton::clicked, this, [this, i] { pressed(i); });
        buttons_[static_cast<std::size_t>(i)] = button;
    }
}

void MsgBox_Form::fill(const QString& message, std::int16_t buttons, const QString& title) {
    message_ = message;
    title_->setText(title);
    setWindowTitle(title);
    text_->setPlainText(displayText(message));
    const ButtonSet set = buttonSetFor(buttons);
    for (std::size_t i = 0; i < set.size(); ++i) {
        buttons_[i]->setText(QString::fromStdString(set[i].caption));
        buttons_[i]->setVisible(set[i].visible);
    }
}

void MsgBox_Form::pressed(int index) {
    // A handler must not throw into Qt's event loop; the dialog closes whatever happens, and
    // without an answer the previous one stays.
    try {
        const auto caption = buttons_[static_cast<std::size_t>(index)]->text().toStdString();
        if (const auto code = answerFor(index, caption)) {
            answer_ = code;
        }
    } catch (...) {
        answer_.reset();
    }
    accept();
}

void MsgBox_Form::showEvent(QShowEvent* event) {
    applyLayout();
    QDialog::showEvent(event);
    for (QPushButton* button : buttons_) {
        if (button->isVisibleTo(this)) {
            button->setFocus();
            break;
        }
    }
}

void MsgBox_Form::applyLayout() {
    const std::string message = message_.toStdString();
    const int columns = CalcolaColonne(message);

    // The average character sets the width, but never so narrow that the longest line of
    // this face would not fit in the columns counted for it.
    const QFontMetrics metrics = text_->fontMetrics();
    int longestLine = 0;
    for (const std::string& line : messageLines(message)) {
        longestLine =
            std::max(longestLine, metrics.horizontalAdvance(QString::fromStdString(line)));
    }
    const int charPixels = std::max(metrics.averageCharWidth(),
                                    static_cast<int>(std::ceil(double(longestLine) / columns)));
    const int paddingPixels = 2 * text_->frameWidth() +
                              2 * static_cast<int>(std::ceil(text_->document()->documentMargin())) +
                              4;
    const TextMetrics textMetrics{charPixels * kTwipsPerPixel,
                                  metrics.lineSpacing() * kTwipsPerPixel,
                                  paddingPixels * kTwipsPerPixel};

    std::array<bool, 3> visible{};
    for (std::size_t i = 0; i < visible.size(); ++i) {
        visible[i] = buttons_[i]->isVisibleTo(this);
    }
    // The rows at the width the screen allows: one more than the lines, as CalcolaRighe counts
    // them, once long lines are wrapped.
    const TwipsSize limit = screenLimit(*this);
    const int boxPixels = twipsToPixels(messageBoxWidth(columns, textMetrics, limit));
    const int rows = std::max<int>(
        CalcolaRighe(message),
        wrappedLines(text_->toPlainText(), text_->font(), boxPixels - paddingPixels) + 1);
    const DialogLayout layout = layoutDialog(rows, columns, textMetrics, visible, limit);

    setFixedSize(toPixels(layout.client).size());
    title_->setGeometry(toPixels(layout.title));
    text_->setGeometry(toPixels(layout.text));
    for (std::size_t i = 0; i < visible.size(); ++i) {
        if (layout.buttons[i]) {
            buttons_[i]->setGeometry(toPixels(*layout.buttons[i]));
        }
    }
}

void MsgBox_Form::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(kFrameColour, 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace planora::dialog
