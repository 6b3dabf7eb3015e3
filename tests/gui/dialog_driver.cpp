#include "dialog_driver.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "dialog/msgbox_form.h"
#include "dialog/msgbox_routine.h"

namespace planora::testing {

namespace {
constexpr int kGuardMilliseconds = 5000;
}

DialogDriver::DialogDriver(std::deque<int> presses) : presses_(std::move(presses)) {
    dialog::setShownHook([this](dialog::MsgBox_Form& form) { answer(form); });
    guard_.setInterval(kGuardMilliseconds);
    QObject::connect(&guard_, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a modal dialog was left open: " << modal->windowTitle().toStdString();
            modal->close();
        }
    });
    guard_.start();
}

DialogDriver::~DialogDriver() {
    dialog::setShownHook({});
}

std::vector<QString> DialogDriver::titles() const {
    std::vector<QString> titles;
    for (const ShownDialog& dialog : shown_) {
        titles.push_back(dialog.title);
    }
    return titles;
}

void DialogDriver::answer(dialog::MsgBox_Form& form) {
    ShownDialog seen{form.titleStrip()->text(), form.messageBox()->toPlainText(), {}, {}};
    for (int i = 0; i < 3; ++i) {
        seen.captions[i] = form.button(i)->text();
        seen.visible[i] = form.button(i)->isVisible();
    }
    shown_.push_back(seen);
    if (inspect_) {
        inspect_(form);
    }

    int press = 0;
    if (!presses_.empty()) {
        press = presses_.front();
        presses_.pop_front();
    }
    if (press == kCloseWindow || !seen.visible.at(static_cast<std::size_t>(press))) {
        if (press != kCloseWindow) {
            ADD_FAILURE() << "button T " << press << " is hidden and cannot be pressed";
        }
        form.close();
        return;
    }
    form.button(press)->click();
}

}  // namespace planora::testing
