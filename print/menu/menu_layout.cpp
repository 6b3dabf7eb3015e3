// The controls of the print menu: captions, fonts and places.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "dialog/fonts.h"
#include "print/menu/menu_icons.h"
#include "print/menu/menu_stampa.h"

namespace planora::print::menu {

namespace {

constexpr double kTextPoints = 9.75;
constexpr int kButtonSide = 64;
constexpr int kIconSide = 48;

QComboBox* list(QWidget* parent, const QString& name) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setFont(dialog::arialFont(kTextPoints));
    combo->setMinimumWidth(260);
    return combo;
}

QCheckBox* option(QWidget* parent, const QString& name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setFont(dialog::corbelFont(kTextPoints));
    return box;
}

QLabel* heading(QWidget* parent, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setFont(dialog::corbelFont(kTextPoints, true));
    return label;
}

}  // namespace

void MenuStampa::buildControls() {
    setWindowTitle("Stampe non modificabili");
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);

    label1_ = {heading(this, "SELEZIONE"), heading(this, "Virtuale "), heading(this, "Stampante ")};
    combo1_ = list(this, "Combo1");
    combo2_ = list(this, "Combo2");
    chk_ = option(this, "Chk", "Stampa Compressa");
    chk2_ = option(this, "Chk2", "Stampa orizzontale");
    chk3_ = option(this, "Chk3", "Stampa fronte / retro");

    auto* grid = new QGridLayout(this);
    grid->addWidget(label1_[0], 0, 0, 1, 2);
    grid->addWidget(label1_[1], 1, 0);
    grid->addWidget(combo1_, 1, 1);
    grid->addWidget(label1_[2], 2, 0);
    grid->addWidget(combo2_, 2, 1);
    grid->addWidget(chk_, 3, 1);
    grid->addWidget(chk2_, 4, 1);
    grid->addWidget(chk3_, 5, 1);

    auto* buttons = new QHBoxLayout();
    for (std::size_t i = 0; i < tst_.size(); ++i) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString("Tst%1").arg(i));
        button->setIcon(commandIcon(static_cast<int>(i)));
        button->setIconSize(QSize(kIconSide, kIconSide));
        button->setFixedSize(kButtonSide, kButtonSide);
        button->setToolTip(commandToolTip(static_cast<int>(i)));
        button->setAutoDefault(false);
        const auto command = static_cast<Command>(i);
        connect(button, &QPushButton::clicked, this, [this, command] { runCommand(command); });
        buttons->addWidget(button);
        tst_[i] = button;
    }
    grid->addLayout(buttons, 6, 0, 1, 2);
}

}  // namespace planora::print::menu
