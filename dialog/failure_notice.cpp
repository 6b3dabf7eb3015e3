#include "dialog/failure_notice.h"

#include <exception>

#include "dialog/msgbox_routine.h"
#include "messages/board_messages.h"
#include "messages/cli_messages.h"

namespace planora::dialog {

namespace {

constexpr std::int16_t kNotice = 48;

}  // namespace

void showCurrentFailure() {
    try {
        MostraMessaggio(msg::failureText(std::current_exception()), kNotice, msg::errorTitle());
    } catch (...) {
        // No dialog can be shown (no memory left): the handler still returns normally.
    }
}

bool showingFailures(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (...) {
        showCurrentFailure();
        return false;
    }
}

}  // namespace planora::dialog
