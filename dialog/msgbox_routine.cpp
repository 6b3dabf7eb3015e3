#include "dialog/msgbox_routine.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include "dialog/msgbox_form.h"

namespace planora::dialog {

namespace {

constexpr std::int16_t kNotice = 48;

// The answer of the last button press; it stays when a dialog is closed without one.
std::int16_t answer = 0;

ShownHook& shownHook() {
    static ShownHook hook;
    return hook;
}

}  // namespace

std::int16_t MostraMessaggio(const QString& message, std::int16_t buttons, const QString& title) {
    const QPointer<QWidget> over = QApplication::activeWindow();
    MsgBox_Form form(over.data());
    form.fill(message, buttons, title);
    if (shownHook()) {
        QTimer::singleShot(0, &form, [&form] { shownHook()(form); });
    }
    form.exec();
    // Back to the window the dialog was over; not every window system does it by itself.
    if (over && over->isVisible()) {
        over->activateWindow();
    }
    if (form.answer()) {
        answer = *form.answer();
    }
    return answer;
}

std::int16_t MostraMessaggio(const std::string& message, std::int16_t buttons,
                             const std::string& title) {
    return MostraMessaggio(QString::fromStdString(message), buttons, QString::fromStdString(title));
}

std::int16_t MostraMessaggio(const board::Message& notice) {
    return MostraMessaggio(notice.text, kNotice, notice.title);
}

void setShownHook(ShownHook hook) {
    shownHook() = std::move(hook);
}

}  // namespace planora::dialog
