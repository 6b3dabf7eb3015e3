// The controls of the main window: captions, fonts, colours, places and tab order.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include "desk/entry_box.h"
#include "desk/list_box.h"
#include "desk/plx_desk.h"
#include "dialog/fonts.h"
#include "dialog/twips.h"

namespace planora::desk {

namespace {

using dialog::arialFont;
using dialog::corbelFont;
using dialog::twipsToPixels;

constexpr int kClientWidth = 3885;  // twips
constexpr int kClientHeight = 5745;
const QColor kBackground(0xC0, 0xC0, 0xFF);
const QColor kListBackground(0xFF, 0xE0, 0xC0);
const QColor kShapeColour(0x40, 0x40, 0x90);
const QColor kLineColour(0xE0, 0xE0, 0xE0);

constexpr double kSmallPoints = 8.25;
constexpr double kTextPoints = 9.75;
constexpr double kButtonPoints = 12;

struct Twips {
    int left, top, width, height;
};

QRect toPixels(const Twips& t) {
    return QRect(twipsToPixels(t.left), twipsToPixels(t.top), twipsToPixels(t.width),
                 twipsToPixels(t.height));
}

struct LabelSpec {
    const char* caption;
    Twips place;
};

// Label1 by index.
const std::array<LabelSpec, 6> kLabels{{
    {"N. Tableau ", {120, 510, 1095, 255}},
    {"Dalla Camera", {120, 1080, 1095, 255}},
    {"Alla Camera ", {120, 1680, 1095, 255}},
    {"Data riferim. ", {120, 2280, 1095, 255}},
    {"N. Hotel ", {120, 150, 1095, 255}},
    {"Data ", {1680, 4080, 615, 255}},
}};

struct FieldSpec {
    int maxLength;
    Qt::Alignment alignment;
    Twips place;
};

// Text1 by index.
const std::array<FieldSpec, 5> kFields{{
    {6, Qt::AlignCenter, {1560, 1080, 972, 288}},
    {6, Qt::AlignCenter, {1560, 1680, 972, 288}},
    {10, Qt::AlignCenter, {1560, 2280, 1335, 288}},
    {40, Qt::AlignLeft | Qt::AlignVCenter, {1560, 3360, 2052, 288}},
    {40, Qt::AlignCenter, {2400, 4080, 1212, 288}},
}};

const std::array<Twips, 2> kCombos{{{1440, 120, 2295, 330}, {1440, 510, 2295, 330}}};

// Shape1 0 to 4 group the controls; Line1 0 and 1 part them within a group.
const std::array<Twips, 5> kShapes{{
    {60, 60, 3765, 840},
    {60, 960, 3765, 1680},
    {60, 2700, 3765, 1080},
    {60, 3840, 3765, 660},
    {60, 4500, 3765, 1200},
}};
const std::array<std::pair<QPoint, QPoint>, 2> kLines{{
    {{120, 3180}, {3765, 3180}},
    {{1500, 3900}, {1500, 4440}},
}};

void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

template <typename Widget>
Widget* place(Widget* widget, const QFont& font, const Twips& where) {
    widget->setFont(font);
    widget->setGeometry(toPixels(where));
    return widget;
}

}  // namespace

void PlxDesk::buildControls() {
    setWindowTitle("Planora");
    // Not on top of other programs: the clerk brings the booking program in front of it. Only
    // the print menu, the preview and the message dialog stay on top.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));
    setAutoFillBackground(true);
    setColour(this, QPalette::Window, kBackground);

    for (std::size_t i = 0; i < label_.size(); ++i) {
        label_[i] =
            place(new QLabel(kLabels[i].caption, this), corbelFont(kTextPoints), kLabels[i].place);
    }
    for (std::size_t i = 0; i < combo_.size(); ++i) {
        combo_[i] = place(new ListBox(this), arialFont(kSmallPoints, true), kCombos[i]);
        setColour(combo_[i], QPalette::Button, kListBackground);
        setColour(combo_[i], QPalette::Base, kListBackground);
    }
    for (std::size_t i = 0; i < text_.size(); ++i) {
        text_[i] = place(new EntryBox(this), arialFont(kTextPoints), kFields[i].place);
        text_[i]->setMaxLength(kFields[i].maxLength);
        text_[i]->setAlignment(kFields[i].alignment);
    }
    chk_ = place(new QCheckBox("Aggiungere arrangiamento", this), corbelFont(kTextPoints),
                 Twips{120, 2760, 3135, 255});
    chk1_ = place(new QCheckBox("per Ditta", this), corbelFont(kTextPoints),
                  Twips{120, 3360, 1095, 255});
    opt_[0] = place(new QRadioButton("Arrivi", this), corbelFont(kTextPoints),
                    Twips{120, 3960, 735, 255});
    opt_[1] = place(new QRadioButton("Partenze", this), corbelFont(kTextPoints),
                    Twips{120, 4200, 1215, 255});
    opt_[0]->setChecked(true);

    tasto_[0] = place(new QPushButton("&Stampa", this), corbelFont(kButtonPoints),
                      Twips{120, 4560, 1572, 1095});
    tasto_[1] = place(new QPushButton("&Esci", this), corbelFont(kButtonPoints, true),
                      Twips{2160, 4560, 1572, 1095});
    tasto_[1]->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    tasto_[1]->setIconSize(QSize(24, 24));
    setColour(tasto_[1], QPalette::Button, Qt::white);
    for (QPushButton* button : tasto_) {
        button->setAutoDefault(true);  // Enter presses the button that has the focus
    }

    QWidget* tabOrder[] = {text_[0], text_[1], text_[2], tasto_[0], tasto_[1], text_[4], text_[3],
                           chk_,     chk1_,    opt_[0],  opt_[1],   combo_[0], combo_[1]};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
}

void PlxDesk::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kShapeColour, 1));
    const qreal radius = twipsToPixels(120);
    for (const Twips& shape : kShapes) {
        painter.drawRoundedRect(QRectF(toPixels(shape)).adjusted(0.5, 0.5, -0.5, -0.5), radius,
                                radius);
    }
    painter.setPen(QPen(kLineColour, 1));
    for (const auto& [from, to] : kLines) {
        painter.drawLine(twipsToPixels(from.x()), twipsToPixels(from.y()), twipsToPixels(to.x()),
                         twipsToPixels(to.y()));
    }
}

}  // namespace planora::desk
