#include "preview/window/anteprima.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
#include <exception>

#include "db/error.h"
#include "dialog/fonts.h"
#include "dialog/msgbox_routine.h"
#include "dialog/twips.h"
#include "messages/preview_messages.h"
#include "preview/anteprima_layout.h"

namespace planora::preview {

namespace {

constexpr std::int16_t kNotice = 48;
constexpr std::array<const char*, kButtonCount> kCaptions = {
    "&Esci", "&Riduci", "E&spandi", "&Avanti", "&Inizio", "E-&mail", "Sa&lva"};

QRect pixels(const TwipRect& twips) {
    using dialog::twipsToPixels;
    return {twipsToPixels(twips.left), twipsToPixels(twips.top), twipsToPixels(twips.width),
            twipsToPixels(twips.height)};
}

QFont boardFont() {
    QFont font;
    // Liberation Mono has the metrics of Courier New, so the 132 columns line up the same.
    font.setFamilies({"Courier New", "Liberation Mono"});
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(kDesignFontSize);
    return font;
}

}  // namespace

Anteprima::Anteprima(PreviewContext context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      context_(std::move(context)),
      board_(context_.dataFolder, context_.stationCode) {
    setWindowTitle(QString::fromStdString(msg::previewTitle()));
    setFixedSize(dialog::twipsToPixels(kDesignWidth), dialog::twipsToPixels(kDesignHeight));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xFF));
    setPalette(colours);
    setAutoFillBackground(true);
    buildControls();
    placeControls();
    board_.firstPage();
    showPage();
}

QPushButton* Anteprima::tasto(int index) const {
    return tasti_.at(static_cast<std::size_t>(index));
}

void Anteprima::buildControls() {
    text_ = new QPlainTextEdit(this);
    text_->setObjectName("Text1");
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setFont(boardFont());
    QPalette paper = text_->palette();
    paper.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xC0));
    paper.setColor(QPalette::Text, Qt::black);
    text_->setPalette(paper);
    for (int i = 0; i < kButtonCount; ++i) {
        auto* button =
            new QPushButton(QString::fromUtf8(kCaptions[static_cast<std::size_t>(i)]), this);
        button->setObjectName(QStringLiteral("Tasto%1").arg(i));
        button->setFont(dialog::corbelFont(12, i == 0));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { onTasto(i); });
        tasti_[static_cast<std::size_t>(i)] = button;
    }
    // "&Esci" is the white button with a picture.
    QPushButton* esci = tasti_[0];
    esci->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    esci->setIconSize(QSize(32, 32));
    esci->setStyleSheet("QPushButton { background-color: white; }");
}

void Anteprima::placeControls() {
    const AnteprimaLayout layout =
        layoutFor(width() * dialog::kTwipsPerPixel, height() * dialog::kTwipsPerPixel);
    text_->setGeometry(pixels(layout.text));
    for (int i = 0; i < kButtonCount; ++i) {
        tasti_[static_cast<std::size_t>(i)]->setGeometry(
            pixels(layout.buttons[static_cast<std::size_t>(i)]));
    }
}

void Anteprima::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placeControls();
}

void Anteprima::showPage() {
    text_->setPlainText(QString::fromStdString(board_.pageForScreen()));
}

void Anteprima::setFontSize(double points) {
    QFont font = text_->font();
    font.setPointSizeF(points);
    text_->setFont(font);
}

void Anteprima::guarded(const std::string& title, const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        dialog::MostraMessaggio(e.what(), kNotice, title);
    }
}

void Anteprima::onTasto(int index) {
    switch (index) {
        case 0:
            accept();
            return;
        case 1:
            setFontSize(reducedFontSize(text_->font().pointSizeF()));
            return;
        case 2:
            setFontSize(expandedFontSize(text_->font().pointSizeF()));
            return;
        case 3:
            if (board_.nextPage()) {
                showPage();
            }
            break;
        case 4:
            guarded(msg::previewTitle(), [this] {
                board_.restart();
                showPage();
            });
            break;
        case 5:
            guarded(msg::mailTitle(), [this] {
                InviaEMail(context_.dataFolder, context_.stationCode,
                           text_->toPlainText().toStdString(), context_.startMail);
            });
            return;
        case 6:
            guarded(msg::previewTitle(),
                    [this] { board_.save(text_->toPlainText().toStdString()); });
            return;
        default:
            return;
    }
    text_->setFocus();
}

void showAnteprima(const PreviewContext& context, QWidget* parent) {
    std::unique_ptr<Anteprima> window;
    try {
        window = std::make_unique<Anteprima>(context, parent);
    } catch (const std::exception& e) {
        dialog::MostraMessaggio(e.what(), kNotice, msg::previewTitle());
        return;
    }
    window->exec();
}

}  // namespace planora::preview
